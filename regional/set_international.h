#pragma once
// SETINTERNATIONAL: all regional settings of the runtime at once, from the user's locale
// (WINDOWS) or fixed (CLASSIC, BINARY).

#include "platform/runtime/symbol.h"
#include "platform/runtime/value.h"

namespace cuentas {

// The mode symbols and the mode codes that internationalMode keeps for them.
Symbol windowsModeSymbol(); // WINDOWS, code 1
Symbol binaryModeSymbol();  // BINARY, code 2
Symbol classicModeSymbol(); // CLASSIC, code 0 (and any code but 1 and 2 when read back)

// Without an argument, returns the current mode and changes nothing. With WINDOWS, CLASSIC or
// BINARY (a symbol, or its name as text in any letter case), applies that mode and returns
// the mode that was current before. Any other mode raises the "International" error through
// the current error block, changes nothing and returns the current mode.
//
// While the settings are applied a temporary error block is installed: a runtime error
// abandons the remaining settings silently, and the previous block is always put back.
// The program calls SETINTERNATIONAL(windowsModeSymbol()) once at start-up, after the
// default error block is installed.
Symbol SETINTERNATIONAL(const Value& mode = Value());

} // namespace cuentas
