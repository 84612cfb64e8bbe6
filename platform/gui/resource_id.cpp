#include "platform/gui/resource_id.h"

namespace cuentas::gui {

ResourceId resourceIdOf(const Value& value) {
    if (const auto* object = objectAs<ResourceIdObject>(value)) {
        return object->id();
    }
    if (value.isString()) {
        return value.asString();
    }
    if (value.isSymbol()) {
        return value.asSymbol().name();
    }
    if (value.isNumeric()) {
        return value.asUnsigned();
    }
    return std::uint32_t{0};
}

Value makeResourceId(ResourceId id) {
    Value object(CreateInstance(Symbol::intern("RESOURCEID")));
    if (auto* resource = objectAs<ResourceIdObject>(object)) {
        resource->setId(std::move(id));
    }
    return object;
}

void declareResourceIdClass() {
    DeclareClass("RESOURCEID", {},
                 [](const ClassInfo& info) { return std::make_shared<ResourceIdObject>(info); })
        .method("INIT",
                [](Object& self, Arguments args) {
                    static_cast<ResourceIdObject&>(self).setId(
                        resourceIdOf(args.empty() ? Value() : args[0]));
                    return Value(self.reference());
                })
        .property("ID", [](const Object& self) {
            const ResourceId& id = static_cast<const ResourceIdObject&>(self).id();
            if (const auto* number = std::get_if<std::uint32_t>(&id)) {
                return Value::unsignedNumber(*number);
            }
            return Value(std::get<std::string>(id));
        });
}

} // namespace cuentas::gui
