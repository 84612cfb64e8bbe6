#pragma once
// The error log "ERROR.LOG" beside the executable and the error dump record written into it,
// one record per error, records separated by one empty line, lines ending in CR LF.

#include "platform/os/files.h"
#include "platform/runtime/value.h"

#include <string>
#include <vector>

namespace cuentas {

inline constexpr const char* kErrorLogName = "ERROR.LOG";

// Opens WorkDir() + "ERROR.LOG" for appending, creating it when missing; an existing log is
// never emptied. The handle holds the log alone until it is closed, so that records of two
// processes never mix; a log held by another process is waited for a short while.
// Returns -1 when the log can be neither opened nor created. When its directory is missing,
// the default directory setting (or else the default path) is cleared and the runtime's
// internal error reports which ("SetDefaultDir: <dir>" or "SetDefault: <path>").
FileHandle ERRORLOGOPEN();

// Appends one error dump record for `error` with `message` (the text shown to the user) in
// a single write, preceded by an empty line when the log already holds something. A write
// that fails part-way is cut back, so that the log never holds part of a record; write
// errors are not reported.
void ERRORLOGWRITE(FileHandle handle, const std::string& message, const Value& error);

// Appends one record with ERRORLOGOPEN and ERRORLOGWRITE and closes the log. When the record
// could not be written whole (the log is a folder or a pipe, its folder is read-only, the
// disk is full, another process held it too long) one line on the standard error stream
// (the debugger output) names the log and the reason, and a log this call created is
// removed again. TRUE when the record was written.
bool appendErrorLogRecord(const std::string& message, const Value& error);

// The whole error dump record, every line ended by CR LF: banner, version, date and time,
// application, the message block, then the property lines between two rules.
std::string errorDumpRecord(const std::string& message, const Value& error);

// The pieces of a dump record, without line ends; the error dumps of the log-file object are
// built from the same pieces.
// The head: the banner, the runtime's version, today's date and the time of day.
std::vector<std::string> errorDumpHeadLines();
// "Error Object created:", a rule, the property lines and a closing rule.
std::vector<std::string> errorDumpObjectLines(const Value& error);
// The property lines, from "SubSystem       :" to "CallFuncSym     :".
std::vector<std::string> errorDumpFieldLines(const Value& error);
// The lines as a log holds them: each followed by CR LF.
std::string logLines(const std::vector<std::string>& lines);

} // namespace cuentas
