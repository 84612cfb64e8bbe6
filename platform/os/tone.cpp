// FIXME: sound the tone through the desktop's sound output.
#include "platform/os/operating_system.h"

namespace cuentas {

void OperatingSystem::tone(std::uint32_t, std::uint32_t) {}

} // namespace cuentas
