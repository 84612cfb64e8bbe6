#pragma once
// Process services of the runtime: the exit code and the end of the process, the tables'
// closing before it, the floating-point state, the version text, the default directory
// settings and the runtime's internal error.

#include <cstdint>
#include <functional>
#include <string>

namespace cuentas {

// The exit code the process ends with (0 until set) / sets it and returns the previous one.
std::uint32_t ErrorLevel();
std::uint32_t ErrorLevel(std::uint32_t code);

// Ends the application (the runtime's _Quit): the process exits with ErrorLevel() through the
// operating-system seam. Callers close their tables first (closeAllTables). Does not return.
[[noreturn]] void quitApplication();

// The table layer registers here how to close every open table, so that the error handler
// can close them before the process ends without knowing the table layer. The handle
// returned removes the registration.
using TableCloser = std::function<void()>;
std::uint32_t addTableCloser(TableCloser closer);
void removeTableCloser(std::uint32_t handle);
// Runs every registered closer, newest first; what one throws is reported on the debugger
// output and the others still run.
void closeAllTables();

// Resets the floating-point state: pending exceptions cleared, rounding to nearest.
void MathInit();

// The runtime's version text, the second line of every error dump record.
std::string Version();

// The default directory and the default path of the runtime, as the program sets them.
// The file layer resolves relative names against the current directory and does not read
// them; the error log clears them when its directory cannot be found.
std::string GetDefaultDir();
void SetDefaultDir(const std::string& directory);
std::string GetDefault();
void SetDefault(const std::string& path);

// The runtime's internal error (_IError). It is reported, never raised through the error block (the
// error handler itself raises it, and must not be entered again): the line
// "Internal error <code>/<subcode>: <message>" goes to the debugger output and is kept for
// lastInternalError(); the caller goes on.
void internalError(std::uint32_t code, std::uint32_t subcode, const std::string& message);
std::string lastInternalError();

// Sends a zero-terminated text to the debugger output (_DebOut32) as it is, without adding a line
// end. Where no debugger listens, the text goes to the standard error stream. A null text sends
// nothing.
void debugOut(const char* text);

} // namespace cuentas
