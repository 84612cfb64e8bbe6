#pragma once
// DEFERROR, the default error handler, and the error block that calls it.

#include "platform/runtime/value.h"

namespace cuentas {

// Decides the fate of a failed operation. A value that is not an Error object becomes one
// with general code 28 (wrong class). A sharing or lock violation under general code 21 that
// accepts the default answer sets the network-error flag and answers FALSE, quietly.
// Anything else is shown in the error message box with its call stack, after three tones
// (when sounds are on) and a record in the error log (when logging is on); the answer is
// FALSE (default), the empty value of SUBSTITUTETYPE (substitute), TRUE (retry), a jump to
// the nearest recovery point, or the end of the process with GENCODE as exit code after all
// tables are closed.
Value DEFERROR(const Value& error);

// The error block installed at start-up: one argument, handed to DEFERROR.
Value defaultErrorBlock();

// Installs the default error block only when no error block is installed yet, and tells
// whether it did; the program's start-up applies the regional settings only then.
bool installDefaultErrorBlock();

} // namespace cuentas
