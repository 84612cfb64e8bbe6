#pragma once
// Array functions of the runtime; elements count from 1.

#include "platform/runtime/value.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace cuentas {

// An array of `size` nil elements, reserved in one step.
ArrayRef ArrayCreate(std::uint32_t size);
// An array of the given elements, in order.
ArrayRef ArrayBuild(std::initializer_list<Value> elements);
// The same, taking the elements over without copying them.
ArrayRef ArrayBuild(std::vector<Value> elements);
// The length of an array; 0 for anything that is not one.
std::uint32_t ALen(const Value& array);

} // namespace cuentas
