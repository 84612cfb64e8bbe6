#pragma once
// The names of DBSERVER that programs send, interned once while the program starts.

#include "platform/runtime/symbol.h"

namespace cuentas::symbols {

inline const Symbol kDbServer = Symbol::intern("DBSERVER");
inline const Symbol kRecCount = Symbol::intern("RECCOUNT");
inline const Symbol kEof = Symbol::intern("EOF");
inline const Symbol kFieldGet = Symbol::intern("FIELDGET");
inline const Symbol kSkip = Symbol::intern("SKIP");
inline const Symbol kClose = Symbol::intern("CLOSE");

} // namespace cuentas::symbols
