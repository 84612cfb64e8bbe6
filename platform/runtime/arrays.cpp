#include "platform/runtime/arrays.h"

namespace cuentas {

ArrayRef ArrayCreate(std::uint32_t size) {
    return std::make_shared<ArrayData>(std::vector<Value>(size));
}

ArrayRef ArrayBuild(std::initializer_list<Value> elements) {
    return std::make_shared<ArrayData>(std::vector<Value>(elements));
}

ArrayRef ArrayBuild(std::vector<Value> elements) {
    return std::make_shared<ArrayData>(std::move(elements));
}

std::uint32_t ALen(const Value& array) {
    const ArrayRef& data = array.asArray();
    return data ? static_cast<std::uint32_t>(data->size()) : 0;
}

} // namespace cuentas
