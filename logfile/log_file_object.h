#pragma once
// The fields behind the properties of a LOGFILE object, shared by its initialisation and its
// writing methods.

#include "platform/runtime/object.h"

#include <string>

namespace cuentas {

class LogFileObject : public Object {
public:
    using Object::Object;

    std::string fileName;   // FNAME
    std::string backupName; // BACKUPNAME
    std::string serverPath; // SERVERPATH
    bool toFile = false;    // LOG2FILE
    bool append = false;    // APPEND
};

// DUMPERROR(error) and DEBUGMSG(text), as the class declares them.
Value logFileDumpError(LogFileObject& log, const Value& error);
Value logFileDebugMessage(LogFileObject& log, const Value& text);

} // namespace cuentas
