#include "platform/gui/control.h"

#include "platform/gui/dialog_window.h"
#include "platform/gui/font_object.h"
#include "platform/gui/gui_errors.h"
#include "platform/gui/hyper_label.h"
#include "platform/gui/resource_id.h"
#include "platform/runtime/class_declaration.h"
#include "platform/runtime/raise.h"
#include "platform/runtime/runtime_symbols.h"

namespace cuentas::gui {
namespace {

const char* className(ControlClass controlClass) {
    switch (controlClass) {
    case ControlClass::Edit:
        return "an edit";
    case ControlClass::Button:
        return "a button";
    case ControlClass::Static:
        return "a static text";
    }
    return "a control";
}

} // namespace

void Control::init(const Value& ownerValue, const Value& resourceId) {
    auto* dialog = objectAs<DialogWindow>(ownerValue);
    if (!dialog || !dialog->nativeDialog()) {
        raiseGuiError(gencode::kArgument, "Control owner is not a dialog window", symbols::kInit,
                      ownerValue);
        return;
    }
    const ResourceId id = resourceIdOf(resourceId);
    const auto* number = std::get_if<std::uint32_t>(&id);
    const ControlTemplate* control =
        number ? dialog->dialogTemplate()->control(static_cast<int>(*number)) : nullptr;
    if (!control) {
        raiseGuiError(gencode::kArgument, "Control id not in the dialog template", symbols::kInit,
                      resourceId);
        return;
    }
    if (control->controlClass != controlClass()) {
        raiseGuiError(gencode::kWrongClass,
                      std::string("Control id is not ") + className(controlClass()) +
                          " in the dialog template",
                      symbols::kInit, resourceId);
        return;
    }
    m_id = control->id;
    m_owner = dialog->weak_from_this();
    dialog->attach(reference());
}

DialogWindow* Control::owner() const {
    return dynamic_cast<DialogWindow*>(m_owner.lock().get());
}

NativeDialog* Control::window() const {
    DialogWindow* dialog = m_id != 0 ? owner() : nullptr;
    return dialog ? dialog->nativeDialog() : nullptr;
}

Value Control::ownerValue() const {
    ObjectRef owner = m_owner.lock();
    return owner ? Value(owner) : Value();
}

void Control::setHyperLabel(const Value& hyperLabel) {
    if (hyperLabel.isNil() || objectAs<HyperLabel>(hyperLabel)) {
        m_hyperLabel = hyperLabel;
    }
}

Symbol Control::nameSymbol() const {
    return nameSymbolOf(m_hyperLabel);
}

std::string Control::accessibleName() const {
    NativeDialog* dialog = window();
    return dialog ? dialog->accessibleName(m_id) : std::string();
}

void Control::setAccessibleName(const std::string& name) {
    if (NativeDialog* dialog = window()) {
        dialog->setAccessibleName(m_id, name);
    }
}

void Control::setFont(const Value& font, bool redraw) {
    const auto* fontObject = objectAs<FontObject>(font);
    if (!fontObject) {
        return;
    }
    m_font = font;
    if (NativeDialog* dialog = window()) {
        dialog->setFont(m_id, fontObject->nativeFont(), redraw);
    }
}

void declareControlClass() {
    ClassDeclaration<Control>("CONTROL")
        .init([](Control& control, Arguments args) {
            control.init(argumentAt(args, 0), argumentAt(args, 1));
        })
        .method("FONT",
                [](Control& control, Arguments args) {
                    // Without a font the call reads the current one.
                    if (!args.empty()) {
                        bool redraw = args.size() < 2 || !args[1].isLogic() || args[1].asLogic();
                        control.setFont(args[0], redraw);
                    }
                    return control.font();
                })
        .property("HYPERLABEL", &Control::hyperLabel, &Control::setHyperLabel)
        .property("NAMESYM", &Control::nameSymbol)
        .property("FONT", &Control::font,
                  [](Control& control, const Value& font) { control.setFont(font, true); })
        .property("ID", &Control::id)
        .property("ACCESSIBLENAME", &Control::accessibleName, &Control::setAccessibleName)
        .property("OWNER", &Control::ownerValue);
}

} // namespace cuentas::gui
