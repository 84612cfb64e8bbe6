#pragma once
// Dialog templates as data, and the program's registry of them. A template describes a dialog
// and its controls in dialog units, the way a resource compiler would have laid them out.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cuentas::gui {

// The window class a template control is created from.
enum class ControlClass { Edit, Button, Static };

// The font a template names; dialog units are measured in it.
struct FontDefinition {
    std::string faceName;
    int pointSize = 8;
    int weight = 400; // 100 to 900; 400 is normal, 700 bold
    bool italic = false;
    std::uint8_t charset = 1; // the default character set
};

// A rectangle in dialog units.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const DialogRect&, const DialogRect&) = default;
};

struct ControlTemplate {
    ControlClass controlClass = ControlClass::Static;
    int id = 0;
    DialogRect rect;
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    std::string text; // Windows-1252
};

// An extended dialog template.
struct DialogTemplate {
    DialogRect rect;
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    std::string caption; // Windows-1252
    FontDefinition font;
    std::vector<ControlTemplate> controls; // in template order, which is also the tab order

    // The control with that id, or nullptr.
    const ControlTemplate* control(int id) const;
};

// A resource identifier: a template's name, or a number (a control id).
using ResourceId = std::variant<std::string, std::uint32_t>;

// Registers a template under a name; a second registration under the same name (in any case)
// replaces the first.
void registerDialogTemplate(std::string_view name, DialogTemplate dialogTemplate);
// The template registered under the name, found without regard to case; nullptr when there
// is none or the identifier is a number.
const DialogTemplate* findDialogTemplate(const ResourceId& id);

} // namespace cuentas::gui
