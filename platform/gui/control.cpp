#include "platform/gui/control.h"

#include "platform/gui/dialog_window.h"
#include "platform/gui/font_object.h"
#include "platform/gui/gui_errors.h"
#include "platform/gui/hyper_label.h"
#include "platform/gui/resource_id.h"
#include "platform/gui/template_dialog.h"
#include "platform/runtime/codepage.h"
#include "platform/runtime/raise.h"

namespace cuentas::gui {
namespace {

const Symbol& initSymbol() {
    static const Symbol symbol = Symbol::intern("INIT");
    return symbol;
}

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

// Declared subclasses without a factory of their own make plain objects; they have no widget.
Control* control(Object& self) {
    return dynamic_cast<Control*>(&self);
}
const Control* control(const Object& self) {
    return dynamic_cast<const Control*>(&self);
}

} // namespace

void Control::init(const Value& ownerValue, const Value& resourceId) {
    auto* dialog = objectAs<DialogWindow>(ownerValue);
    if (!dialog || !dialog->widget()) {
        raiseGuiError(gencode::kArgument, "Control owner is not a dialog window", initSymbol(),
                      ownerValue);
        return;
    }
    const ResourceId id = resourceIdOf(resourceId);
    const auto* number = std::get_if<std::uint32_t>(&id);
    const ControlTemplate* control =
        number ? dialog->widget()->dialogTemplate().control(static_cast<int>(*number)) : nullptr;
    if (!control) {
        raiseGuiError(gencode::kArgument, "Control id not in the dialog template", initSymbol(),
                      resourceId);
        return;
    }
    if (control->controlClass != controlClass()) {
        raiseGuiError(gencode::kWrongClass,
                      std::string("Control id is not ") + className(controlClass()) +
                          " in the dialog template",
                      initSymbol(), resourceId);
        return;
    }
    m_id = control->id;
    m_widget = dialog->widget()->control(m_id);
    m_owner = dialog->weak_from_this();
    dialog->attach(reference());
}

DialogWindow* Control::owner() const {
    return dynamic_cast<DialogWindow*>(m_owner.lock().get());
}

Value Control::ownerValue() const {
    ObjectRef owner = m_owner.lock();
    return owner ? Value(owner) : Value();
}

Symbol Control::nameSymbol() const {
    return nameSymbolOf(m_hyperLabel);
}

std::string Control::accessibleName() const {
    return m_widget ? toWindows1252(m_widget->accessibleName()) : std::string();
}

void Control::setAccessibleName(const std::string& name) {
    if (m_widget) {
        m_widget->setAccessibleName(fromWindows1252(name));
    }
}

void Control::setFont(const Value& font, bool redraw) {
    const auto* fontObject = objectAs<FontObject>(font);
    if (!fontObject) {
        return;
    }
    m_font = font;
    if (!m_widget) {
        return;
    }
    // Qt widgets outside layouts keep their geometry on a new font; keep it explicitly so the
    // template's rectangle holds whatever a style would make of the font.
    const QRect rect = m_widget->geometry();
    m_widget->setFont(fontObject->qfont());
    m_widget->setGeometry(rect);
    if (redraw) {
        m_widget->repaint();
    } else {
        m_widget->update();
    }
}

void declareControlClass() {
    DeclareClass("CONTROL")
        .method("INIT",
                [](Object& self, Arguments args) {
                    if (Control* c = control(self)) {
                        c->init(args.size() > 0 ? args[0] : Value(),
                                args.size() > 1 ? args[1] : Value());
                    }
                    return Value(self.reference());
                })
        .method("FONT",
                [](Object& self, Arguments args) {
                    Control* c = control(self);
                    if (!c) {
                        return Value();
                    }
                    // Without a font the call reads the current one.
                    if (!args.empty()) {
                        bool redraw = args.size() < 2 || !args[1].isLogic() || args[1].asLogic();
                        c->setFont(args[0], redraw);
                    }
                    return c->font();
                })
        .property(
            "HYPERLABEL",
            [](const Object& self) {
                const Control* c = control(self);
                return c ? c->hyperLabel() : Value();
            },
            [](Object& self, const Value& value) {
                Control* c = control(self);
                if (!c) {
                    return Value();
                }
                if (value.isNil() || objectAs<HyperLabel>(value)) {
                    c->setHyperLabel(value);
                }
                return c->hyperLabel();
            })
        .property("NAMESYM",
                  [](const Object& self) {
                      const Control* c = control(self);
                      return Value(c ? c->nameSymbol() : Symbol());
                  })
        .property(
            "FONT",
            [](const Object& self) {
                const Control* c = control(self);
                return c ? c->font() : Value();
            },
            [](Object& self, const Value& value) {
                Control* c = control(self);
                if (!c) {
                    return Value();
                }
                c->setFont(value, true);
                return c->font();
            })
        .property("ID",
                  [](const Object& self) {
                      const Control* c = control(self);
                      return Value::integer(c ? c->id() : 0);
                  })
        .property(
            "ACCESSIBLENAME",
            [](const Object& self) {
                const Control* c = control(self);
                return Value(c ? c->accessibleName() : std::string());
            },
            [](Object& self, const Value& value) {
                Control* c = control(self);
                if (!c) {
                    return Value("");
                }
                c->setAccessibleName(value.isString() ? value.asString() : std::string());
                return Value(c->accessibleName());
            })
        .property("OWNER", [](const Object& self) {
            const Control* c = control(self);
            return c ? c->ownerValue() : Value();
        });
}

} // namespace cuentas::gui
