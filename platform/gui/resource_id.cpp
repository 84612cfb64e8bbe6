#include "platform/gui/resource_id.h"

#include "platform/gui/gui_symbols.h"
#include "platform/runtime/class_declaration.h"

namespace cuentas::gui {

ResourceId resourceIdOf(const Value& value) {
    if (const auto* object = objectAs<ResourceIdObject>(value)) {
        return object->id();
    }
    if (value.isString()) {
        return std::string(value.asString());
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
    Value object(CreateInstance(symbols::kResourceId));
    if (auto* resource = objectAs<ResourceIdObject>(object)) {
        resource->setId(std::move(id));
    }
    return object;
}

void declareResourceIdClass() {
    ClassDeclaration<ResourceIdObject>("RESOURCEID")
        .init([](ResourceIdObject& resource, Arguments args) {
            resource.setId(resourceIdOf(argumentAt(args, 0)));
        })
        .property("ID", [](const ResourceIdObject& resource) {
            if (const auto* number = std::get_if<std::uint32_t>(&resource.id())) {
                return Value::unsignedNumber(*number);
            }
            return Value(std::get<std::string>(resource.id()));
        });
}

} // namespace cuentas::gui
