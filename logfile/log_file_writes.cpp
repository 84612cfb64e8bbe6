// The two writing methods of LOGFILE: error dumps into the log, debug messages into the log
// or to the debugger output. Each write opens the log, appends and closes it again.
#include "errors/error_log.h"
#include "errors/error_object.h"
#include "logfile/log_file_object.h"
#include "logfile/open_retry.h"
#include "platform/os/files.h"
#include "platform/runtime/call_stack.h"
#include "platform/runtime/process.h"
#include "platform/runtime/text.h"

namespace cuentas {
namespace {

// Appending writes: whatever another process appended since the open, nothing is written
// over, and a record written in one piece never mixes with another writer's lines.
constexpr std::uint32_t kLogMode = openmode::kReadWrite | openmode::kAppend;

} // namespace

Value logFileDumpError(LogFileObject& log, const Value& error) {
    RoutineFrame frame("LOGFILE:DUMPERROR");
    Value self(log.reference());
    // Only an Error object has the properties of a dump; anything else leaves no record.
    if (!IsInstanceOf(error, errorClassSymbol())) {
        return self;
    }
    FileHandle handle = FOPENRETRY(log.fileName, kLogMode);
    if (handle == kNoFile) {
        return self;
    }
    std::vector<std::string> record = errorDumpHeadLines();
    record.emplace_back(" ");
    for (std::string& line : errorDumpObjectLines(error)) {
        record.push_back(std::move(line));
    }
    FSeek(handle, 0, 2);
    FWrite(handle, logLines(record));
    FClose(handle);
    return self;
}

Value logFileDebugMessage(LogFileObject& log, const Value& text) {
    RoutineFrame frame("LOGFILE:DEBUGMSG");
    std::string message = text.isString() ? std::string(text.asString()) : AsString(text);
    std::size_t written = 0;
    if (log.toFile) {
        FileHandle handle = FOPENRETRY(log.fileName, kLogMode);
        if (handle != kNoFile) {
            FSeek(handle, 0, 2);
            written = FPutS(handle, message);
            FClose(handle);
        }
    } else {
        debugOut(message.c_str());
        written = SLen(message);
    }
    return Value::logic(written > 0);
}

} // namespace cuentas
