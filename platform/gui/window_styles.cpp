#include "platform/gui/window_styles.h"

namespace cuentas::gui {

ControlLook decodeControlStyle(ControlClass controlClass, std::uint32_t windowStyle,
                               std::uint32_t extendedStyle) {
    ControlLook look;
    look.visible = (windowStyle & style::kVisible) != 0;
    look.tabStop = (windowStyle & style::kTabStop) != 0;
    // A sunken client edge wins over the thin border, as it is drawn outside it.
    if (extendedStyle & style::kExClientEdge) {
        look.edge = Edge::Sunken;
    } else if (windowStyle & style::kBorder) {
        look.edge = Edge::Line;
    }
    switch (controlClass) {
    case ControlClass::Edit:
        look.alignment = (windowStyle & style::kEditRight)    ? Alignment::Right
                         : (windowStyle & style::kEditCenter) ? Alignment::Center
                                                              : Alignment::Left;
        look.autoHorizontalScroll = (windowStyle & style::kEditAutoHScroll) != 0;
        break;
    case ControlClass::Static:
        switch (windowStyle & style::kStaticKindMask) {
        case style::kStaticCenter:
            look.alignment = Alignment::Center;
            break;
        case style::kStaticRight:
            look.alignment = Alignment::Right;
            break;
        default:
            look.alignment = Alignment::Left;
            break;
        }
        break;
    case ControlClass::Button:
        look.alignment = Alignment::Center;
        look.defaultButton = (windowStyle & style::kButtonKindMask) == style::kDefPushButton;
        break;
    }
    return look;
}

DialogLook decodeDialogStyle(std::uint32_t windowStyle) {
    DialogLook look;
    look.caption = (windowStyle & style::kCaption) == style::kCaption;
    look.systemMenu = look.caption && (windowStyle & style::kSystemMenu) != 0;
    look.minimizeBox = look.systemMenu && (windowStyle & style::kMinimizeBox) != 0;
    look.maximizeBox = look.systemMenu && (windowStyle & style::kMaximizeBox) != 0;
    look.fixedSize = (windowStyle & style::kThickFrame) == 0;
    // A modal frame has no maximize box, whatever the style bits say.
    if (windowStyle & style::kDsModalFrame) {
        look.maximizeBox = false;
    }
    look.centered = (windowStyle & style::kDsCenter) != 0;
    return look;
}

} // namespace cuentas::gui
