#pragma once
// The operating-system calls that program code makes by name: reading an environment
// variable into a caller's buffer and pausing the thread. Both go through the seam.

#include <cstdint>

namespace cuentas {

// Copies the value of the environment variable `name` with its terminating zero into
// `buffer` of `size` bytes and returns its length without the zero. When the value does not
// fit, the buffer is left as it was and the size needed (zero included) is returned.
// 0 when the variable is unset or empty.
std::uint32_t GetEnvironmentVariableA(const char* name, char* buffer, std::uint32_t size);

// Pauses the calling thread for about `milliseconds`.
void Sleep(std::uint32_t milliseconds);

} // namespace cuentas
