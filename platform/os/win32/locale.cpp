// GetUserDefaultLCID and GetLocaleInfoA, as Windows answers them.
#include "platform/os/operating_system.h"

#include <windows.h>

namespace cuentas {

std::uint32_t OperatingSystem::userDefaultLocale() {
    return GetUserDefaultLCID();
}

int OperatingSystem::localeInfo(std::uint32_t locale, std::uint32_t item, char* buffer, int size) {
    return GetLocaleInfoA(locale, item, buffer, size);
}

} // namespace cuentas
