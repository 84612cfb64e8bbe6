#include "platform/gui/dialog_template.h"

#include "platform/runtime/text.h"

#include <map>
#include <memory>

namespace cuentas::gui {
namespace {

// Templates are kept by their upper-case name; the pointers handed out stay valid until
// the same name is registered again.
std::map<std::string, std::unique_ptr<DialogTemplate>>& templates() {
    static std::map<std::string, std::unique_ptr<DialogTemplate>> registry;
    return registry;
}

} // namespace

const ControlTemplate* DialogTemplate::control(int id) const {
    for (const ControlTemplate& c : controls) {
        if (c.id == id) {
            return &c;
        }
    }
    return nullptr;
}

void registerDialogTemplate(std::string_view name, DialogTemplate dialogTemplate) {
    templates()[Upper(name)] = std::make_unique<DialogTemplate>(std::move(dialogTemplate));
}

const DialogTemplate* findDialogTemplate(const ResourceId& id) {
    const auto* name = std::get_if<std::string>(&id);
    if (!name) {
        return nullptr;
    }
    auto found = templates().find(Upper(*name));
    return found == templates().end() ? nullptr : found->second.get();
}

} // namespace cuentas::gui
