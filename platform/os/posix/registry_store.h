#pragma once
// Reading and extending registry hive files on disk, safe against other processes doing the
// same: readers take a shared flock(2), the writer an exclusive one, and the writer only ever
// appends. Results are Windows error codes (registry.h).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cuentas {

// Hive files above this size, and files that are not regular files, are refused
// (ERROR_BADDB) rather than read: a registry is small, and a FIFO or a device must not hang
// or exhaust the program.
inline constexpr std::size_t kMaxHiveFileSize = 1u << 20;

struct HiveFileText {
    std::int32_t error = 0; // ERROR_SUCCESS, or why the file could not be read
    bool missing = false;   // no such file (error is then ERROR_SUCCESS and text empty)
    std::string text;
};

// The whole text of the hive file at the native path `path`.
HiveFileText readHiveFile(const std::string& path);

// Makes the hive file list the key `path` (normalised): under an exclusive lock the file is
// read again and, unless the key is there by now, its section is appended (the file is
// created when missing, its directory never). `created` tells whether this call added it.
std::int32_t addHiveKey(const std::string& path, std::string_view hiveName,
                        std::string_view keyPath, bool& created);

} // namespace cuentas
