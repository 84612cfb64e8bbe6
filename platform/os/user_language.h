#pragma once
// The language the system itself shows its user, as a two-letter code; empty where it has no
// such setting (POSIX, where the locale variables tell). Each platform side provides it.

#include <string>

namespace cuentas {

std::string userInterfaceLanguage();

} // namespace cuentas
