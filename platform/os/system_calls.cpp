#include "platform/os/system_calls.h"

#include "platform/os/operating_system.h"

#include <cstring>

namespace cuentas {

std::uint32_t GetEnvironmentVariableA(const char* name, char* buffer, std::uint32_t size) {
    if (!name) {
        return 0;
    }
    auto value = operatingSystem().environmentVariable(name);
    if (!value || value->empty()) {
        return 0;
    }
    // The value's own zero bytes cannot occur: environment strings end at the first one.
    auto length = static_cast<std::uint32_t>(value->size());
    if (!buffer || length >= size) {
        return length + 1;
    }
    std::memcpy(buffer, value->data(), length);
    buffer[length] = '\0';
    return length;
}

void Sleep(std::uint32_t milliseconds) {
    operatingSystem().sleep(milliseconds);
}

} // namespace cuentas
