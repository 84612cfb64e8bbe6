#pragma once
// Opening a file that other processes may hold for a moment.

#include "platform/os/files.h"

#include <cstdint>
#include <string>

namespace cuentas {

// Opens the existing file `name` in `mode` (FOpen). While the open fails because another
// open holds the file (the network-error flag is raised), it is tried again after a pause of
// 1 ms, 10 tries in all; any other failure ends after the first try. Never creates a file.
// Returns the handle, or -1.
FileHandle FOPENRETRY(const std::string& name, std::uint32_t mode);

inline constexpr int kOpenTries = 10;

} // namespace cuentas
