#pragma once
// A small registry of our own with the calling conventions of the Windows registry functions:
// each hive is one ".reg" text file (see docs/registry.md); keys are opened or created and
// string values read. Every failure is a Windows error code, never an exception.

#include <cstdint>

namespace cuentas {

// A registry key: a predefined hive or a key opened by RegCreateKeyExA. 0 is no key.
using HKEY = std::uint32_t;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;

inline constexpr std::uint32_t KEY_QUERY_VALUE = 0x0001;
inline constexpr std::uint32_t REG_OPTION_NON_VOLATILE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_CREATED_NEW_KEY = 1;
inline constexpr std::uint32_t REG_OPENED_EXISTING_KEY = 2;

// Results, numbered as Windows numbers them.
inline constexpr std::int32_t ERROR_SUCCESS = 0;
inline constexpr std::int32_t ERROR_FILE_NOT_FOUND = 2;      // no such value
inline constexpr std::int32_t ERROR_PATH_NOT_FOUND = 3;      // the hive's directory is missing
inline constexpr std::int32_t ERROR_TOO_MANY_OPEN_FILES = 4; // every key slot is in use
inline constexpr std::int32_t ERROR_ACCESS_DENIED = 5;
inline constexpr std::int32_t ERROR_INVALID_HANDLE = 6;     // unknown or closed key, other hive
inline constexpr std::int32_t ERROR_SHARING_VIOLATION = 32; // hive locked too long by another
inline constexpr std::int32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr std::int32_t ERROR_MORE_DATA = 234;
inline constexpr std::int32_t ERROR_REGISTRY_QUOTA_LIMIT = 613; // hive file would grow too big
inline constexpr std::int32_t ERROR_BADDB = 1009; // hive file too big or not a regular file

// The most keys open at once; a further open fails with ERROR_TOO_MANY_OPEN_FILES.
inline constexpr int kMaxOpenRegistryKeys = 256;

// Opens `subKey` below `key` (a hive or an open key), creating it when missing. Backslashes
// separate the path's parts; empty parts are dropped and an empty path opens `key` itself.
// Names match without regard to ASCII letter case. A key that is not listed is created by
// appending its section to the hive file (REG_CREATED_NEW_KEY), which needs the file, or its
// directory when the file is missing, to be writable. `className`, `access` and
// `securityAttributes` are ignored (keys are only ever read); `reserved` must be 0 and
// `options` REG_OPTION_NON_VOLATILE. On failure *result is 0 and the file unchanged.
std::int32_t RegCreateKeyExA(HKEY key, const char* subKey, std::uint32_t reserved,
                             const char* className, std::uint32_t options, std::uint32_t access,
                             const void* securityAttributes, HKEY* result,
                             std::uint32_t* disposition);

// Reads the value `valueName` of `key` (null or "" for the key's default value) as the hive
// file holds it at the time of the call. Values are texts: *type becomes REG_SZ and the data
// is the text with a terminating zero byte. With `data` null only the size is reported; when
// *dataSize is too small the result is ERROR_MORE_DATA, *dataSize the size needed and `data`
// untouched. A missing value gives ERROR_FILE_NOT_FOUND and touches nothing.
// `type`, `data` and `dataSize` may each be null, `data` only together with `dataSize`.
std::int32_t RegQueryValueExA(HKEY key, const char* valueName, std::uint32_t* reserved,
                              std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize);

// Closes a key that RegCreateKeyExA opened; closing a hive is accepted and does nothing.
std::int32_t RegCloseKey(HKEY key);

} // namespace cuentas
