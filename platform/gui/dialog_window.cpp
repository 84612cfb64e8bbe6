#include "platform/gui/dialog_window.h"

#include "platform/gui/control.h"
#include "platform/gui/focus_event.h"
#include "platform/gui/gui_errors.h"
#include "platform/gui/gui_symbols.h"
#include "platform/gui/hyper_label.h"
#include "platform/gui/resource_id.h"
#include "platform/runtime/class_declaration.h"
#include "platform/runtime/raise.h"
#include "platform/runtime/runtime_symbols.h"

#include <array>

namespace cuentas::gui {
DialogWindow::DialogWindow(const ClassInfo& classInfo) : Object(classInfo) {}

// The window goes first, while the controls it reports about still exist.
DialogWindow::~DialogWindow() {
    m_dialog.reset();
}

void DialogWindow::init(const Value& owner, const Value& resourceId, bool modal) {
    m_modal = modal;
    if (!canCreateNativeDialogs()) {
        raiseGuiError(gencode::kInternal, "No GUI application to show the dialog in",
                      symbols::kInit);
        return;
    }
    const DialogTemplate* dialogTemplate = findDialogTemplate(resourceIdOf(resourceId));
    if (!dialogTemplate) {
        raiseGuiError(gencode::kArgument, "Dialog template not found", symbols::kInit, resourceId);
        return;
    }
    const auto* ownerDialog = objectAs<DialogWindow>(owner);
    NativeDialog::Handlers handlers;
    handlers.editFocusChanged = [this](int id, bool got) { editFocusChanged(id, got); };
    handlers.buttonClicked = [this](int id) { buttonClicked(id); };
    handlers.editPasteRefused = [this](int id, const std::string& text) {
        return editPasteRefused(id, text);
    };
    handlers.finished = [this](int result) { m_result = result; };
    m_template = dialogTemplate;
    m_dialog = createNativeDialog(*dialogTemplate, ownerDialog ? ownerDialog->nativeDialog() : nullptr,
                                  std::move(handlers));
}

Value DialogWindow::show() {
    if (!m_dialog) {
        return Value();
    }
    if (!m_modal) {
        m_dialog->show();
        reportOpenFailure();
        return Value();
    }
    // The dialog stays alive while it runs, even if its caller lets go of it.
    ObjectRef keep = reference();
    const int result = m_dialog->exec();
    if (reportOpenFailure()) {
        return Value();
    }
    return Value::integer(result);
}

// A window the system would not make is an error for the clerk to see, not a dialog that
// silently never appeared.
bool DialogWindow::reportOpenFailure() {
    const std::optional<std::uint32_t> failure = m_dialog->openFailure();
    if (failure) {
        raiseGuiError(gencode::kCreate, "Dialog window could not be created", symbols::kShow,
                      Value(), *failure);
    }
    return failure.has_value();
}

void DialogWindow::endDialog(int result) {
    m_result = result;
    if (m_dialog) {
        m_dialog->done(result);
    }
}

std::string DialogWindow::caption() const {
    return m_dialog ? m_dialog->caption() : std::string();
}

void DialogWindow::setCaption(const std::string& caption) {
    if (m_dialog) {
        m_dialog->setCaption(caption);
    }
}

void DialogWindow::setHyperLabel(const Value& hyperLabel) {
    if (hyperLabel.isNil() || objectAs<HyperLabel>(hyperLabel)) {
        m_hyperLabel = hyperLabel;
    }
}

bool DialogWindow::classicKeys() const {
    return m_dialog && m_dialog->classicKeys();
}

void DialogWindow::setClassicKeys(bool on) {
    if (m_dialog) {
        m_dialog->setClassicKeys(on);
    }
}

void DialogWindow::attach(ObjectRef control) {
    auto* bound = dynamic_cast<Control*>(control.get());
    if (!bound) {
        return;
    }
    m_byId[bound->id()] = bound;
    m_controls.push_back(std::move(control));
}

Control* DialogWindow::controlById(int id) const {
    auto found = m_byId.find(id);
    return found == m_byId.end() ? nullptr : found->second;
}

void DialogWindow::editFocusChanged(int id, bool gotFocus) {
    ObjectRef self = weak_from_this().lock();
    Control* control = controlById(id);
    // Only edits the program has bound to a control object are reported.
    if (!self || !control) {
        return;
    }
    Value event = makeEditFocusChangeEvent(Value(control->reference()), gotFocus);
    Send(Value(self), symbols::kEditFocusChange, Arguments(&event, 1));
}

void DialogWindow::buttonClicked(int id) {
    ObjectRef self = weak_from_this().lock();
    Control* control = controlById(id);
    if (!self || !control) {
        return;
    }
    // A button whose name the dialog has no method for does nothing.
    Symbol command = control->nameSymbol();
    if (!command.isNull() && classInfo().findMethod(command)) {
        Send(Value(self), command);
    }
}

bool DialogWindow::editPasteRefused(int id, const std::string& text) {
    ObjectRef self = weak_from_this().lock();
    Control* control = controlById(id);
    if (!self || !control) {
        return false;
    }
    std::array<Value, 2> args{Value(control->reference()), Value(text)};
    return Send(Value(self), symbols::kEditPasteRefused, args).asLogic();
}

void declareDialogWindowClass() {
    auto nothing = [](Object&, Arguments) { return Value(); };
    ClassDeclaration<DialogWindow>("DIALOGWINDOW")
        .init([](DialogWindow& dialog, Arguments args) {
            Value modal = argumentAt(args, 2);
            dialog.init(argumentAt(args, 0), argumentAt(args, 1),
                        !modal.isLogic() || modal.asLogic());
        })
        .method("PREINIT", nothing)
        .method("POSTINIT", nothing)
        .method("EDITFOCUSCHANGE", nothing)
        .method("EDITPASTEREFUSED", [](Object&, Arguments) { return Value::logic(false); })
        .method("SHOW", [](DialogWindow& dialog, Arguments) { return dialog.show(); })
        .method("ENDDIALOG",
                [](DialogWindow& dialog, Arguments args) {
                    dialog.endDialog(argumentAt(args, 0).asInteger());
                    return Value();
                })
        .property("CAPTION", &DialogWindow::caption,
                  [](DialogWindow& dialog, const Value& text) {
                      dialog.setCaption(std::string(text.asString()));
                  })
        .property("HYPERLABEL", &DialogWindow::hyperLabel, &DialogWindow::setHyperLabel)
        .property("NAMESYM",
                  [](const DialogWindow& dialog) { return nameSymbolOf(dialog.hyperLabel()); })
        .property("CLASSICKEYS", &DialogWindow::classicKeys, &DialogWindow::setClassicKeys)
        .property("RESULT", &DialogWindow::result);
}

} // namespace cuentas::gui
