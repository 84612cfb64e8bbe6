#pragma once
// The class LOGFILE: a plain-text diagnostic log named after the running executable or a
// given name, kept and appended to or backed up and started anew, to which error dumps and
// debug lines are written; debug lines go to the debugger output instead when LOG2FILE is
// FALSE. No file is held open between calls.

#include "platform/runtime/object.h"

#include <string>

namespace cuentas {

// Declares LOGFILE (no superclass) with its five typed properties and the methods INIT,
// DUMPERROR and DEBUGMSG. Safe to call again.
//
// Properties: FNAME and BACKUPNAME (texts), SERVERPATH (text, read only), LOG2FILE and
// APPEND (logics). An assignment of a value of another type is ignored without an error;
// every assignment answers the property's value after it.
//
// INIT(name, use-log-directory, append), each argument optional:
// - name: a non-empty text is the log's base name, taken as it is when it holds a
//   backslash, else placed in SERVERPATH (the executable's directory); otherwise the base
//   name is the executable's full path;
// - use-log-directory: TRUE puts the log in LOGDIRECTORY(); anything else counts as FALSE;
// - append: FALSE starts an existing log anew after copying it to BACKUPNAME (derived from
//   FNAME, with "bak" for the extension, when empty); anything else counts as TRUE.
// FNAME is the base name with the extension of its file name replaced by "log" (or ".log"
// added). INIT creates or opens the log, closes it at once and raises LOG2FILE when that
// worked or when the file was busy in another process; it answers the object.
void declareLogFileClass();

// The class symbol LOGFILE.
Symbol logFileClassSymbol();

} // namespace cuentas
