// FIXME: answer locale items from the user's locale.
#include "platform/os/operating_system.h"

namespace cuentas {

std::uint32_t OperatingSystem::userDefaultLocale() { return 0x0400; }

int OperatingSystem::localeInfo(std::uint32_t, std::uint32_t, char*, int) { return 0; }

} // namespace cuentas
