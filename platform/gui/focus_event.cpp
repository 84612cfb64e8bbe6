#include "platform/gui/focus_event.h"

#include "platform/gui/gui_symbols.h"
#include "platform/runtime/class_declaration.h"

namespace cuentas::gui {

Value makeEditFocusChangeEvent(const Value& control, bool gotFocus) {
    std::vector<Value> args{control, Value::logic(gotFocus)};
    return Value(CreateInstance(symbols::kEditFocusChangeEvent, args));
}

void declareFocusEventClass() {
    using Event = EditFocusChangeEvent;
    ClassDeclaration<Event>("EDITFOCUSCHANGEEVENT")
        .init([](Event& event, Arguments args) {
            event.control = argumentAt(args, 0);
            event.gotFocus = args.size() > 1 && args[1].asLogic();
        })
        .property("CONTROL", &Event::control)
        .property("GOTFOCUS", &Event::gotFocus);
}

} // namespace cuentas::gui
