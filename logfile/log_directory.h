#pragma once
// The log directory configured for the web-server service in the registry.

#include <string>

namespace cuentas {

// The value "LogFileDirectory" of HKEY_LOCAL_MACHINE
// "SYSTEM\CurrentControlSet\Services\W3SVC\Parameters" (the key is created when missing and
// the hive can be written), without a trailing backslash. A "%SystemRoot%" in it, in any
// letter case, and everything before it are replaced by the SystemRoot environment variable,
// or "c:\\winnt" when that is unset. Empty when the key cannot be opened or has no value.
std::string LOGDIRECTORY();

} // namespace cuentas
