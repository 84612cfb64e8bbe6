#pragma once
// Start-up of the program: the order in which the runtime, the classes, the error handling and
// the regional settings come up, and the application object APP whose START loads the bank
// directory and shows the account dialog. The only place that knows that order.

#include "platform/runtime/value.h"

namespace cuentas {

// The bank table START reads, in the current directory.
inline constexpr const char* kBankTableName = "NomBancos.dbf";

// Declares every class of the runtime and of the program (idempotent).
void declareAllClasses();
// The application class APP and its method START, interned once while the program starts.
inline const Symbol kApplicationClass = Symbol::intern("APP");
inline const Symbol kStart = Symbol::intern("START");

// Declares the application class APP with its method START.
void declareApplicationClass();

// START of APP: base directory, bank directory from NomBancos.dbf, then the dialog, shown
// modally. Returns when the dialog has ended.
Value START(Object& app);

// The whole life of the process after the GUI toolkit is up: runtime start, class
// declarations, default error handling and regional settings, the runtime error conversion,
// then APP:START. Returns the process's exit code. A program or working directory whose
// path holds a backslash in a name is refused first, with a message and exit code 2,
// before anything is read or written.
int runApplication();

} // namespace cuentas
