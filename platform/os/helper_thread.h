#pragma once
// Threads that work beside the program's own: started on another processor than the caller's,
// where the process may use one, so that the helper runs at once instead of waiting for the
// caller to give up its processor (a new thread is first queued behind its creator).

#include <functional>
#include <thread>

namespace cuentas {

// Starts `work` on a thread of its own. Throws std::system_error when no thread can be had.
std::thread startBesideCaller(std::function<void()> work);

} // namespace cuentas
