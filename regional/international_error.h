#pragma once
// The "International" error: a mode that SETINTERNATIONAL does not know.

#include "platform/runtime/value.h"

#include <string>

namespace cuentas {

// A new Error object with SUBSYSTEM "International", GENCODE 30 (illegal argument),
// CANDEFAULT true and ARG the rejected mode's name; its other properties keep their
// defaults. The current error block is evaluated with it once and its answer ignored.
void raiseInternationalError(const std::string& rejectedMode);

} // namespace cuentas
