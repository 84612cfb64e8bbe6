#pragma once
// Whole-number arithmetic that traps: an overflow raises the runtime's numeric overflow error
// instead of wrapping around.

#include "platform/runtime/source_location.h"

#include <cstdint>

namespace cuentas {

// a - b on unsigned 32-bit numbers. Below zero raises the numeric overflow error; the result
// is then the error block's substitute value, or 0.
std::uint32_t subtractUnsigned(std::uint32_t a, std::uint32_t b,
                               SourceLocation where = SourceLocation::current());
// a + b on signed 32-bit numbers, trapping in the same way.
std::int32_t addSigned(std::int32_t a, std::int32_t b,
                       SourceLocation where = SourceLocation::current());

} // namespace cuentas
