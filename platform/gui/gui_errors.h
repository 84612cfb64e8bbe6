#pragma once
// How the GUI class library reports a misuse (an unknown template, a control id the template
// lacks, a wrong owner) or a window the system would not make: as a runtime error of the
// subsystem "GUI" through the error block.

#include "platform/runtime/source_location.h"
#include "platform/runtime/value.h"

#include <cstdint>
#include <string>

namespace cuentas::gui {

// Raises the error and returns the error block's answer.
Value raiseGuiError(std::uint32_t genCode, std::string description, Symbol function,
                    const Value& argument = Value(), std::uint32_t osCode = 0,
                    SourceLocation where = SourceLocation::current());

} // namespace cuentas::gui
