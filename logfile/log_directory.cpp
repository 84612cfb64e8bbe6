#include "logfile/log_directory.h"

#include "platform/os/registry.h"
#include "platform/os/system_calls.h"
#include "platform/runtime/text.h"

#include <array>
#include <cstring>

namespace cuentas {
namespace {

constexpr const char* kServiceKey = "SYSTEM\\CurrentControlSet\\Services\\W3SVC\\Parameters";
constexpr const char* kPlaceholder = "%SYSTEMROOT%";
constexpr std::uint32_t kPlaceholderLength = 12;
// Where the system lives when the environment does not say.
constexpr const char* kDefaultSystemRoot = "c:\\\\winnt";
constexpr std::uint32_t kBufferSize = 260;

// The text in a buffer: up to its first zero byte, or all of it when there is none.
std::string bufferText(const char* buffer) {
    return std::string(buffer, ::strnlen(buffer, kBufferSize));
}

std::string systemRoot() {
    std::array<char, kBufferSize> buffer{};
    std::uint32_t length = GetEnvironmentVariableA("SystemRoot", buffer.data(), kBufferSize);
    // A value too long for the buffer is not read at all; the default stands in for it.
    return length > 0 && length < kBufferSize ? bufferText(buffer.data()) : kDefaultSystemRoot;
}

} // namespace

std::string LOGDIRECTORY() {
    HKEY key = 0;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kServiceKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return {};
    }
    std::array<char, kBufferSize> buffer{};
    std::uint32_t size = kBufferSize;
    // A missing value leaves the buffer empty, and so the directory.
    RegQueryValueExA(key, "LogFileDirectory", nullptr, nullptr,
                     reinterpret_cast<std::uint8_t*>(buffer.data()), &size);
    RegCloseKey(key);

    std::string directory = bufferText(buffer.data());
    if (std::uint32_t p = At(kPlaceholder, Upper(directory)); p > 0) {
        directory = systemRoot() + SubStr(directory, p + kPlaceholderLength);
    }
    return directory;
}

} // namespace cuentas
