#include "platform/gui/dialog_window.h"

#include "platform/gui/control.h"
#include "platform/gui/focus_event.h"
#include "platform/gui/gui_errors.h"
#include "platform/gui/hyper_label.h"
#include "platform/gui/resource_id.h"
#include "platform/runtime/codepage.h"
#include "platform/runtime/raise.h"

#include <QApplication>

namespace cuentas::gui {
namespace {

DialogWindow* dialog(Object& self) {
    return dynamic_cast<DialogWindow*>(&self);
}
const DialogWindow* dialog(const Object& self) {
    return dynamic_cast<const DialogWindow*>(&self);
}

} // namespace

DialogWindow::DialogWindow(const ClassInfo& classInfo) : Object(classInfo) {}

// The window goes first, while the controls it reports about still exist.
DialogWindow::~DialogWindow() {
    m_dialog.reset();
}

void DialogWindow::init(const Value& owner, const Value& resourceId, bool modal) {
    static const Symbol kInit = Symbol::intern("INIT");
    m_modal = modal;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        raiseGuiError(gencode::kInternal, "No GUI application to show the dialog in", kInit);
        return;
    }
    const DialogTemplate* dialogTemplate = findDialogTemplate(resourceIdOf(resourceId));
    if (!dialogTemplate) {
        raiseGuiError(gencode::kArgument, "Dialog template not found", kInit, resourceId);
        return;
    }
    const auto* ownerDialog = objectAs<DialogWindow>(owner);
    m_dialog = std::make_unique<TemplateDialog>(*dialogTemplate,
                                                ownerDialog ? ownerDialog->widget() : nullptr);
    m_dialog->setModal(modal);
    QObject::connect(m_dialog.get(), &TemplateDialog::editFocusChanged, m_dialog.get(),
                     [this](int id, bool got) { editFocusChanged(id, got); });
    QObject::connect(m_dialog.get(), &TemplateDialog::buttonClicked, m_dialog.get(),
                     [this](int id) { buttonClicked(id); });
    QObject::connect(m_dialog.get(), &QDialog::finished, m_dialog.get(),
                     [this](int result) { m_result = result; });
    m_dialog->setRefusedPasteHandler(
        [this](int id, const QString& text) { return editPasteRefused(id, text); });
}

Value DialogWindow::show() {
    if (!m_dialog) {
        return Value();
    }
    if (!m_modal) {
        m_dialog->show();
        return Value();
    }
    // The dialog stays alive while it runs, even if its caller lets go of it.
    ObjectRef keep = reference();
    return Value::integer(m_dialog->exec());
}

void DialogWindow::endDialog(int result) {
    m_result = result;
    if (m_dialog) {
        m_dialog->done(result);
    }
}

std::string DialogWindow::caption() const {
    return m_dialog ? toWindows1252(m_dialog->windowTitle()) : std::string();
}

void DialogWindow::setCaption(const std::string& caption) {
    if (m_dialog) {
        m_dialog->setWindowTitle(fromWindows1252(caption));
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
    static const Symbol kEditFocusChange = Symbol::intern("EDITFOCUSCHANGE");
    ObjectRef self = weak_from_this().lock();
    Control* control = controlById(id);
    // Only edits the program has bound to a control object are reported.
    if (!self || !control) {
        return;
    }
    Value event = makeEditFocusChangeEvent(Value(control->reference()), gotFocus);
    Send(Value(self), kEditFocusChange, Arguments(&event, 1));
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

bool DialogWindow::editPasteRefused(int id, const QString& text) {
    static const Symbol kEditPasteRefused = Symbol::intern("EDITPASTEREFUSED");
    ObjectRef self = weak_from_this().lock();
    Control* control = controlById(id);
    if (!self || !control) {
        return false;
    }
    std::array<Value, 2> args{Value(control->reference()), Value(toWindows1252(text))};
    return Send(Value(self), kEditPasteRefused, args).asLogic();
}

void declareDialogWindowClass() {
    auto nothing = [](Object&, Arguments) { return Value(); };
    DeclareClass("DIALOGWINDOW", {},
                 [](const ClassInfo& info) { return std::make_shared<DialogWindow>(info); })
        .method("INIT",
                [](Object& self, Arguments args) {
                    if (DialogWindow* d = dialog(self)) {
                        Value modal = argumentAt(args, 2);
                        d->init(argumentAt(args, 0), argumentAt(args, 1),
                                !modal.isLogic() || modal.asLogic());
                    }
                    return Value(self.reference());
                })
        .method("PREINIT", nothing)
        .method("POSTINIT", nothing)
        .method("EDITFOCUSCHANGE", nothing)
        .method("EDITPASTEREFUSED", [](Object&, Arguments) { return Value::logic(false); })
        .method("SHOW",
                [](Object& self, Arguments) {
                    DialogWindow* d = dialog(self);
                    return d ? d->show() : Value();
                })
        .method("ENDDIALOG",
                [](Object& self, Arguments args) {
                    if (DialogWindow* d = dialog(self)) {
                        d->endDialog(argumentAt(args, 0).asInteger());
                    }
                    return Value();
                })
        .property(
            "CAPTION",
            [](const Object& self) {
                const DialogWindow* d = dialog(self);
                return Value(d ? d->caption() : std::string());
            },
            [](Object& self, const Value& value) {
                DialogWindow* d = dialog(self);
                if (!d) {
                    return Value("");
                }
                d->setCaption(value.asString());
                return Value(d->caption());
            })
        .property(
            "HYPERLABEL",
            [](const Object& self) {
                const DialogWindow* d = dialog(self);
                return d ? d->hyperLabel() : Value();
            },
            [](Object& self, const Value& value) {
                DialogWindow* d = dialog(self);
                if (!d) {
                    return Value();
                }
                if (value.isNil() || objectAs<HyperLabel>(value)) {
                    d->setHyperLabel(value);
                }
                return d->hyperLabel();
            })
        .property("NAMESYM",
                  [](const Object& self) {
                      const DialogWindow* d = dialog(self);
                      return Value(d ? nameSymbolOf(d->hyperLabel()) : Symbol());
                  })
        .property(
            "CLASSICKEYS",
            [](const Object& self) {
                const DialogWindow* d = dialog(self);
                return Value::logic(d && d->classicKeys());
            },
            [](Object& self, const Value& value) {
                DialogWindow* d = dialog(self);
                if (d && value.isLogic()) {
                    d->setClassicKeys(value.asLogic());
                }
                return Value::logic(d && d->classicKeys());
            })
        .property("RESULT", [](const Object& self) {
            const DialogWindow* d = dialog(self);
            return Value::integer(d ? d->result() : 0);
        });
}

} // namespace cuentas::gui
