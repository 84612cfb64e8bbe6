#pragma once
// Search of an array by test or by value, forwards or backwards over a stretch of it.

#include "platform/runtime/value.h"

#include <cstdint>

namespace cuentas {

// The 1-based position of the first element that satisfies `search` (a code block evaluated
// with the element) or equals it (the element on the left; exact or ordinary equality as the
// exact-comparison setting says), or 0. `start` defaults to 1, or to the last position when
// `count` is negative; `count` defaults to the length, and a negative count searches
// backwards over its absolute value. A start beyond the length, a count of 0, an empty array
// or a target that is not an array give 0.
std::int32_t ArrayScan(const Value& target, const Value& search, const Value& start = Value(),
                       const Value& count = Value());

} // namespace cuentas
