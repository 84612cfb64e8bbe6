#include "errors/error_log.h"

#include "errors/error_object.h"
#include "errors/hex_text.h"
#include "platform/os/operating_system.h"
#include "platform/os/os_error.h"
#include "platform/os/paths.h"
#include "platform/runtime/datetime.h"
#include "platform/runtime/process.h"
#include "platform/runtime/raise.h"
#include "platform/runtime/text.h"

namespace cuentas {
namespace {

constexpr const char* kBanner = "***********************ERROR********************************";
constexpr const char* kObjectRule = "--------------------";
constexpr const char* kMessageRule = "--------------";
constexpr std::uint32_t kExceptionSubCode = 5333;
// Another process holds the log only for the length of one write; a second of tries
// outlasts any such write, even on a busy machine.
constexpr int kLockTries = 100;
constexpr std::uint32_t kLockPauseMilliseconds = 10;

std::string asText(const Value& error, ErrorProperty property) {
    return AsString(errorGet(error, property));
}

std::string typeName(const Value& error, ErrorProperty property) {
    return TypeString(errorNumber(error, property));
}

std::string hex(const Value& error, ErrorProperty property) {
    return HEXTEXT(errorGet(error, property));
}

void clearDefaultDirectory() {
    std::string message;
    if (std::string directory = GetDefaultDir(); !directory.empty()) {
        message = "SetDefaultDir: " + directory;
        SetDefaultDir("");
    } else {
        message = "SetDefault: " + GetDefault();
        SetDefault("");
    }
    internalError(1, 0, message);
}

// One line on the standard error stream, so that no one believes the error was logged.
// Returns false, for the caller's result.
bool reportNotLogged(std::uint32_t osError, OsCause cause) {
    std::string reason = osError == oserror::kSharingViolation
                             ? "another process held it for more than a second"
                             : osErrorText(osError, cause);
    operatingSystem().debugOutput(EXEFILENAME(ExePath::FileName) +
                                  ": the error was not logged in " +
                                  nativePath(WorkDir() + kErrorLogName) + ": " + reason + "\n");
    return false;
}

// Opens the log alone; another process that holds it is waited for a short while.
FileHandle openAlone(const std::string& name, std::uint32_t mode) {
    FileHandle handle = FOpen(name, mode);
    for (int tries = 1;
         handle == kNoFile && FError() == oserror::kSharingViolation && tries < kLockTries;
         ++tries) {
        operatingSystem().sleep(kLockPauseMilliseconds);
        handle = FOpen(name, mode);
    }
    return handle;
}

// The log open for one record, and whether this call created it.
struct OpenLog {
    FileHandle handle = kNoFile;
    bool created = false;
};

OpenLog openLog() {
    const std::string name = WorkDir() + kErrorLogName;
    constexpr std::uint32_t mode = openmode::kWrite | openmode::kAppend | openmode::kShareExclusive;
    // An existing log first, so that a log made here is known to be ours to take back.
    OpenLog log{openAlone(name, mode), false};
    if (log.handle == kNoFile && FError() == oserror::kFileNotFound) {
        log.handle = openAlone(name, mode | openmode::kCreate);
        log.created = log.handle != kNoFile;
    }
    if (log.handle == kNoFile) {
        if (FError() == oserror::kPathNotFound) {
            clearDefaultDirectory();
        }
        return log;
    }
    FSeek(log.handle, 0, 2);
    return log;
}

// What went wrong in a file call, kept past the calls that follow it.
struct FileFailure {
    std::uint32_t error = oserror::kNone;
    OsCause cause = OsCause::Unknown;
};

// Writes the record at the end of the log in one write. A write that fails part-way (a full
// disk) is cut back to where it began, so that the log holds every record whole.
FileFailure writeRecord(FileHandle handle, const std::string& message, const Value& error) {
    std::string record = errorDumpRecord(message, error);
    // The separating empty line goes out in the same write as the record, so that no other
    // writer's record can come between them.
    const std::int64_t end = FSeek(handle, 0, 2);
    if (end > 0) {
        record.insert(0, "\r\n");
    }
    FWrite(handle, record);
    const FileFailure failure{FError(), FErrorCause()};
    if (failure.error != oserror::kNone && end >= 0) {
        FTruncate(handle, end);
    }
    return failure;
}

} // namespace

std::vector<std::string> errorDumpFieldLines(const Value& error) {
    using P = ErrorProperty;
    std::vector<std::string> lines{
        "SubSystem       :" + asText(error, P::SubSystem),
        "SubCode         :" + asText(error, P::SubCode),
        "GenCode         :" + ErrString(errorNumber(error, P::GenCode)),
    };
    if (errorNumber(error, P::SubCode) == kExceptionSubCode) {
        // An operating-system exception: these properties carry the exception's data.
        lines.push_back("ExceptionCode   :" + hex(error, P::OsCode));
        lines.push_back("ExceptionFlags  :" + hex(error, P::ArgType));
        lines.push_back("ExceptionAddress:" + hex(error, P::FuncPtr));
        lines.push_back("ParamNumber     :" + asText(error, P::ArgNum));
        lines.push_back("ExceptionInfo   :" + hex(error, P::FuncSym));
    } else {
        lines.push_back("OsCode          :" + asText(error, P::OsCode));
        lines.push_back("ArgType         :" + typeName(error, P::ArgType));
        lines.push_back("FuncPtr         :" + asText(error, P::FuncPtr));
        lines.push_back("ArgNum          :" + asText(error, P::ArgNum));
        lines.push_back("FuncSym         :" + asText(error, P::FuncSym));
    }
    lines.insert(lines.end(), {
                                  "Severity        :" + asText(error, P::Severity),
                                  "CanDefault      :" + asText(error, P::CanDefault),
                                  "CanRetry        :" + asText(error, P::CanRetry),
                                  "CanSubstitute   :" + asText(error, P::CanSubstitute),
                                  "Operation       :" + asText(error, P::Operation),
                                  "Description     :" + asText(error, P::Description),
                                  "FileName        :" + asText(error, P::FileName),
                                  "Tries           :" + asText(error, P::Tries),
                                  "FileHandle      :" + asText(error, P::Handle),
                                  "SubCodeText     :" + asText(error, P::SubCodeText),
                                  "Arg             :" + asText(error, P::Arg),
                                  "ArgTypeReq      :" + typeName(error, P::ArgTypeReq),
                                  "MaxSize         :" + asText(error, P::MaxSize),
                                  "SubstituteType  :" + typeName(error, P::SubstituteType),
                                  "CallFuncSym     :" + asText(error, P::CallFuncSym),
                              });
    return lines;
}

std::vector<std::string> errorDumpHeadLines() {
    return {kBanner, Version(), DToC(Today()) + " " + Time()};
}

std::vector<std::string> errorDumpObjectLines(const Value& error) {
    std::vector<std::string> lines{"Error Object created:", kObjectRule};
    for (std::string& field : errorDumpFieldLines(error)) {
        lines.push_back(std::move(field));
    }
    lines.emplace_back(kObjectRule);
    return lines;
}

std::string logLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string errorDumpRecord(const std::string& message, const Value& error) {
    std::vector<std::string> record = errorDumpHeadLines();
    record.insert(record.end(), {"Application: " + EXEFILENAME(ExePath::FullPath), " ",
                                 "Error message:", kMessageRule,
                                 message}); // ends in CR LF itself, so an empty line follows
    for (std::string& line : errorDumpObjectLines(error)) {
        record.push_back(std::move(line));
    }
    return logLines(record);
}

FileHandle ERRORLOGOPEN() {
    return openLog().handle;
}

bool appendErrorLogRecord(const std::string& message, const Value& error) {
    const OpenLog log = openLog();
    if (log.handle == kNoFile) {
        return reportNotLogged(FError(), FErrorCause());
    }
    const FileFailure written = writeRecord(log.handle, message, error);
    // A log made for a record that could not go in goes again: a full disk leaves no empty
    // log behind.
    const bool erase =
        written.error != oserror::kNone && log.created && FSeek(log.handle, 0, 2) == 0;
    const bool closed = erase ? FCloseErasing(log.handle, WorkDir() + kErrorLogName)
                              : FClose(log.handle);
    if (written.error != oserror::kNone) {
        return reportNotLogged(written.error, written.cause);
    }
    return closed || reportNotLogged(FError(), FErrorCause());
}

void ERRORLOGWRITE(FileHandle handle, const std::string& message, const Value& error) {
    writeRecord(handle, message, error);
}

} // namespace cuentas
