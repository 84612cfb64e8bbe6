#include "logfile/log_file.h"

#include "errors/hex_text.h"
#include "logfile/file_path.h"
#include "logfile/log_directory.h"
#include "logfile/log_file_object.h"
#include "logfile/open_retry.h"
#include "platform/os/files.h"
#include "platform/runtime/call_stack.h"
#include "platform/runtime/class_declaration.h"
#include "platform/runtime/settings.h"
#include "platform/runtime/text.h"

namespace cuentas {
namespace {

// The base name of the log: a given name (in the executable's directory unless it names
// its own), or the executable's full path.
std::string baseName(const LogFileObject& log, const Value& name) {
    if (name.isString() && SLen(name.asString()) > 0) {
        const std::string given(name.asString());
        return At("\\", given) > 0 ? given : log.serverPath + given;
    }
    return EXEFILENAME(ExePath::FullPath);
}

// Only a "." in the file name counts as the start of an extension: a dot in a directory
// name ("\home\ana\.local\bin\cuentas") must not cut the path short.
std::string logFileName(const std::string& base, bool inLogDirectory) {
    std::uint32_t dot = fileNameDot(base);
    if (inLogDirectory) {
        std::uint32_t slash = RAt("\\", base);
        std::uint32_t start = slash > 0 ? slash : 1;
        std::string name = dot > 0 ? SubStr(base, start, dot - start) : SubStr(base, start);
        return LOGDIRECTORY() + name + ".log";
    }
    return dot > 0 ? Left(base, dot) + "log" : base + ".log";
}

std::string backupNameFor(const std::string& fileName) {
    std::uint32_t dot = fileNameDot(fileName);
    return dot > 0 ? Left(fileName, dot) + "bak" : fileName + ".bak";
}

// A handle on the log as INIT wants it: an existing log kept or backed up and emptied, a
// missing one created.
FileHandle openLog(LogFileObject& log) {
    if (!File(log.fileName)) {
        return FCreate(log.fileName);
    }
    if (!log.append) {
        if (log.backupName.empty()) {
            log.backupName = backupNameFor(log.fileName);
        }
        // An old log whose copy failed is kept and appended to: emptying it would lose it.
        if (FCopy(log.fileName, log.backupName)) {
            return FCreate(log.fileName);
        }
    }
    return FOPENRETRY(log.fileName, openmode::kReadWrite);
}

void initialise(LogFileObject& log, Arguments arguments) {
    RoutineFrame frame("LOGFILE:INIT");
    log.serverPath = FILEPATH(EXEFILENAME(ExePath::FullPath));
    Value inLogDirectory = argumentAt(arguments, 1);
    Value append = argumentAt(arguments, 2);
    log.fileName = logFileName(baseName(log, argumentAt(arguments, 0)),
                               inLogDirectory.isLogic() && inLogDirectory.asLogic());
    log.append = append.isLogic() ? append.asLogic() : true;

    FileHandle handle = openLog(log);
    if (handle != kNoFile) {
        log.toFile = true;
        FClose(handle);
    } else if (NetErr()) {
        // Busy in another process: later writes try again.
        log.toFile = true;
    }
}

} // namespace

Symbol logFileClassSymbol() {
    static const Symbol symbol = Symbol::intern("LOGFILE");
    return symbol;
}

void declareLogFileClass() {
    using L = LogFileObject;
    // Each property keeps its type: a value of another type leaves it as it is.
    ClassDeclaration<L>("LOGFILE")
        .property("FNAME", &L::fileName, &L::fileName)
        .property("BACKUPNAME", &L::backupName, &L::backupName)
        .property("SERVERPATH", &L::serverPath)
        .property("LOG2FILE", &L::toFile, &L::toFile)
        .property("APPEND", &L::append, &L::append)
        .init(initialise)
        .method("DUMPERROR",
                [](L& log, Arguments arguments) {
                    return logFileDumpError(log, argumentAt(arguments, 0));
                })
        .method("DEBUGMSG", [](L& log, Arguments arguments) {
            return logFileDebugMessage(log, argumentAt(arguments, 0));
        });
}

} // namespace cuentas
