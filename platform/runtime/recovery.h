#pragma once
// Recovery points: program code opens one around an operation; the error handler can pass an
// Error object to the nearest one (LabelJump) instead of ending the process.

#include "platform/runtime/value.h"

#include <functional>
#include <optional>

namespace cuentas {

// TRUE while at least one recovery point is open on this thread.
bool CanBreak();

// Passes `error` to the nearest open recovery point; control does not come back. The routine
// frames between here and the recovery point are closed on the way. Without an open recovery
// point the runtime reports an internal error, closes all tables and ends the process with
// the exit code set (1 when none was).
[[noreturn]] void LabelJump(const Value& error);

// Runs `operation` inside a recovery point. Gives nothing when the operation ends normally,
// and the value LabelJump carried when an error was passed to this point. A recovery point
// must not enclose an event loop: the jump travels as a C++ exception.
std::optional<Value> recoverFrom(const std::function<void()>& operation);

} // namespace cuentas
