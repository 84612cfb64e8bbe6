#pragma once
// Window style bits of dialog templates, and what they mean for a dialog and its controls.

#include "platform/gui/dialog_template.h"

#include <cstdint>

namespace cuentas::gui {

namespace style {
// Any window.
inline constexpr std::uint32_t kPopup = 0x80000000;
inline constexpr std::uint32_t kChild = 0x40000000;
inline constexpr std::uint32_t kVisible = 0x10000000;
inline constexpr std::uint32_t kCaption = 0x00C00000;
inline constexpr std::uint32_t kBorder = 0x00800000;
inline constexpr std::uint32_t kSystemMenu = 0x00080000;
inline constexpr std::uint32_t kThickFrame = 0x00040000;
inline constexpr std::uint32_t kMinimizeBox = 0x00020000;
inline constexpr std::uint32_t kMaximizeBox = 0x00010000;
inline constexpr std::uint32_t kTabStop = 0x00010000; // on a child the same bit is the tab stop
// Extended styles.
inline constexpr std::uint32_t kExClientEdge = 0x00000200;
// Edits.
inline constexpr std::uint32_t kEditCenter = 0x1;
inline constexpr std::uint32_t kEditRight = 0x2;
inline constexpr std::uint32_t kEditAutoHScroll = 0x80;
// Statics: the low bits are the kind; 0, 1 and 2 are text aligned left, centred, right.
inline constexpr std::uint32_t kStaticKindMask = 0x1F;
inline constexpr std::uint32_t kStaticLeft = 0x0;
inline constexpr std::uint32_t kStaticCenter = 0x1;
inline constexpr std::uint32_t kStaticRight = 0x2;
// Buttons: the low bits are the kind.
inline constexpr std::uint32_t kButtonKindMask = 0xF;
inline constexpr std::uint32_t kPushButton = 0x0;
inline constexpr std::uint32_t kDefPushButton = 0x1;
// Dialogs.
inline constexpr std::uint32_t kDsModalFrame = 0x80;
inline constexpr std::uint32_t kDsSetFont = 0x40;
inline constexpr std::uint32_t kDs3dLook = 0x4;
inline constexpr std::uint32_t kDsCenter = 0x800;
} // namespace style

enum class Alignment { Left, Center, Right };
// The edge drawn around a control: none, a thin line, or a sunken 3D edge.
enum class Edge { None, Line, Sunken };

// What a control's style asks for.
struct ControlLook {
    bool visible = false;
    bool tabStop = false;
    Alignment alignment = Alignment::Left;
    Edge edge = Edge::None;
    bool defaultButton = false;
    bool autoHorizontalScroll = false;
    friend bool operator==(const ControlLook&, const ControlLook&) = default;
};

// What a dialog's style asks for.
struct DialogLook {
    bool caption = false;
    bool systemMenu = false; // and with it the close box
    bool minimizeBox = false;
    bool maximizeBox = false;
    bool fixedSize = false; // only a thick frame can be resized
    bool centered = false;
    friend bool operator==(const DialogLook&, const DialogLook&) = default;
};

ControlLook decodeControlStyle(ControlClass controlClass, std::uint32_t windowStyle,
                               std::uint32_t extendedStyle);
DialogLook decodeDialogStyle(std::uint32_t windowStyle);

} // namespace cuentas::gui
