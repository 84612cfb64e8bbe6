#include "platform/gui/win32/dialog_template_bytes.h"

#include "platform/gui/accessible_names.h"
#include "platform/gui/win32/win32_text.h"
#include "platform/gui/window_styles.h"

#include <cstring>
#include <set>

namespace cuentas::gui {
namespace {

// The predefined window classes, by their atoms.
constexpr std::uint16_t kButtonAtom = 0x0080;
constexpr std::uint16_t kEditAtom = 0x0081;
constexpr std::uint16_t kStaticAtom = 0x0082;

std::uint16_t atomOf(ControlClass controlClass) {
    switch (controlClass) {
    case ControlClass::Edit:
        return kEditAtom;
    case ControlClass::Button:
        return kButtonAtom;
    case ControlClass::Static:
        return kStaticAtom;
    }
    return kStaticAtom;
}

class Writer {
public:
    void word(std::uint16_t value) {
        bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void dword(std::uint32_t value) {
        word(static_cast<std::uint16_t>(value & 0xFFFF));
        word(static_cast<std::uint16_t>(value >> 16));
    }
    void coordinate(int value) {
        word(static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
    }
    void byte(std::uint8_t value) { bytes.push_back(value); }
    // A zero-terminated UTF-16 text.
    void text(const std::string& windows1252) {
        for (wchar_t c : wideFromWindows1252(windows1252)) {
            word(static_cast<std::uint16_t>(c));
        }
        word(0);
    }
    void alignToDword() {
        while (bytes.size() % 4 != 0) {
            bytes.push_back(0);
        }
    }
    std::vector<std::uint8_t> bytes;
};

} // namespace

std::vector<const ControlTemplate*> windowOrder(const DialogTemplate& dialogTemplate) {
    std::map<int, int> labels = namingFixedTexts(dialogTemplate);
    std::set<int> movedLabels;
    for (const auto& [id, label] : labels) {
        if (dialogTemplate.control(id)->controlClass == ControlClass::Edit) {
            movedLabels.insert(label);
        }
    }
    std::vector<const ControlTemplate*> order;
    std::set<int> placed;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        if (movedLabels.contains(control.id)) {
            continue;
        }
        auto label = labels.find(control.id);
        if (control.controlClass == ControlClass::Edit && label != labels.end() &&
            placed.insert(label->second).second) {
            order.push_back(dialogTemplate.control(label->second));
        }
        order.push_back(&control);
    }
    // A label whose edits all found another one before them keeps its place at the end.
    for (int label : movedLabels) {
        if (!placed.contains(label)) {
            order.push_back(dialogTemplate.control(label));
        }
    }
    return order;
}

std::vector<std::uint32_t> dialogTemplateBytes(const DialogTemplate& dialogTemplate) {
    const std::vector<const ControlTemplate*> controls = windowOrder(dialogTemplate);
    Writer out;
    out.word(1);      // version
    out.word(0xFFFF); // the extended template's signature
    out.dword(0);     // help context
    out.dword(dialogTemplate.extendedStyle);
    out.dword(dialogTemplate.style);
    out.word(static_cast<std::uint16_t>(controls.size()));
    out.coordinate(dialogTemplate.rect.x);
    out.coordinate(dialogTemplate.rect.y);
    out.coordinate(dialogTemplate.rect.width);
    out.coordinate(dialogTemplate.rect.height);
    out.word(0); // no menu
    out.word(0); // the dialog class
    out.text(dialogTemplate.caption);
    if (dialogTemplate.style & style::kDsSetFont) {
        const FontDefinition& font = dialogTemplate.font;
        out.word(static_cast<std::uint16_t>(font.pointSize));
        out.word(static_cast<std::uint16_t>(font.weight));
        out.byte(font.italic ? 1 : 0);
        out.byte(font.charset);
        out.text(font.faceName);
    }
    for (const ControlTemplate* control : controls) {
        out.alignToDword();
        out.dword(0); // help context
        out.dword(control->extendedStyle);
        out.dword(control->style);
        out.coordinate(control->rect.x);
        out.coordinate(control->rect.y);
        out.coordinate(control->rect.width);
        out.coordinate(control->rect.height);
        out.dword(static_cast<std::uint32_t>(control->id));
        out.word(0xFFFF);
        out.word(atomOf(control->controlClass));
        out.text(control->text);
        out.word(0); // no creation data
    }
    std::vector<std::uint32_t> storage((out.bytes.size() + 3) / 4);
    std::memcpy(storage.data(), out.bytes.data(), out.bytes.size());
    return storage;
}

} // namespace cuentas::gui
