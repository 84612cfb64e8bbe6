#pragma once
// EDITFOCUSCHANGEEVENT: what a dialog's EDITFOCUSCHANGE receives when one of its edits gains
// or loses the focus: the CONTROL concerned and GOTFOCUS.

#include "platform/runtime/object.h"

namespace cuentas::gui {

class EditFocusChangeEvent : public Object {
public:
    using Object::Object;
    Value control;
    bool gotFocus = false;
};

Value makeEditFocusChangeEvent(const Value& control, bool gotFocus);

void declareFocusEventClass();

} // namespace cuentas::gui
