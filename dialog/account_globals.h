#pragma once
// The two globals the account dialog reads: the bank directory and the base directory.
// Start-up writes both once, before the dialog is created; afterwards they are only read.

#include "platform/runtime/value.h"

#include <string>

namespace cuentas {

// An array of two-element arrays {bank code, bank name}, texts exactly as the table gives
// them, in table order. Nil until start-up sets it, which the lookup takes as no banks.
Value& bankDirectory();

// The program's directory less its last four characters (a runtime path with backslashes);
// the transfer file is written under it.
std::string& baseDirectory();

} // namespace cuentas
