#pragma once
// Whether the files of a folder can be held mapped under a read lease: tables elsewhere are
// read, not mapped, and nothing is read ahead for them.

#include "platform/os/file_snapshot.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace cuentas::testing {

inline bool leasesIn(const std::filesystem::path& folder) {
    const std::filesystem::path probe = folder / "lease-probe";
    std::ofstream(probe, std::ios::binary) << "probe";
    int fd = ::open(probe.c_str(), O_RDONLY | O_CLOEXEC);
    const bool held = fd >= 0 && FileSnapshot::take(fd, 5, 32).has_value();
    if (fd >= 0) {
        ::close(fd);
    }
    std::filesystem::remove(probe);
    return held;
}

} // namespace cuentas::testing
