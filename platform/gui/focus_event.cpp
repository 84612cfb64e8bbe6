#include "platform/gui/focus_event.h"

namespace cuentas::gui {

Value makeEditFocusChangeEvent(const Value& control, bool gotFocus) {
    std::vector<Value> args{control, Value::logic(gotFocus)};
    return Value(CreateInstance(Symbol::intern("EDITFOCUSCHANGEEVENT"), args));
}

void declareFocusEventClass() {
    DeclareClass("EDITFOCUSCHANGEEVENT", {},
                 [](const ClassInfo& info) { return std::make_shared<EditFocusChangeEvent>(info); })
        .method("INIT",
                [](Object& self, Arguments args) {
                    if (auto* event = dynamic_cast<EditFocusChangeEvent*>(&self)) {
                        event->control = args.empty() ? Value() : args[0];
                        event->gotFocus = args.size() > 1 && args[1].asLogic();
                    }
                    return Value(self.reference());
                })
        .property("CONTROL",
                  [](const Object& self) {
                      const auto* event = dynamic_cast<const EditFocusChangeEvent*>(&self);
                      return event ? event->control : Value();
                  })
        .property("GOTFOCUS", [](const Object& self) {
            const auto* event = dynamic_cast<const EditFocusChangeEvent*>(&self);
            return Value::logic(event && event->gotFocus);
        });
}

} // namespace cuentas::gui
