#pragma once
// The names the runtime itself sends, interned once while the program starts. Each library
// keeps the names it declares in a header like this one; a name is defined in the lowest
// library that declares it, and no hot path interns a literal.

#include "platform/runtime/symbol.h"

namespace cuentas::symbols {

inline const Symbol kInit = Symbol::intern("INIT");

} // namespace cuentas::symbols
