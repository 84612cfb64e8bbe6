#pragma once
// RESOURCEID: names a dialog template, or by number a control of one. All templates live in
// the program's one module, so the module argument of the original call is not needed.

#include "platform/gui/dialog_template.h"
#include "platform/runtime/object.h"

namespace cuentas::gui {

class ResourceIdObject : public Object {
public:
    using Object::Object;
    const ResourceId& id() const { return m_id; }
    void setId(ResourceId id) { m_id = std::move(id); }

private:
    ResourceId m_id = std::uint32_t{0};
};

// A new RESOURCEID object.
Value makeResourceId(ResourceId id);
// The identifier a value stands for: a RESOURCEID object, a text (a name) or a number.
// Anything else gives the number 0, which no control has.
ResourceId resourceIdOf(const Value& value);

void declareResourceIdClass();

} // namespace cuentas::gui
