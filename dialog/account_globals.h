#pragma once
// The two globals the account dialog reads: the bank directory and the base directory.
// Start-up writes both once, before the dialog is created; afterwards they are only read.
// The directory may be handed over while its entries are still being filled on another
// thread: whoever reads it first waits for them.

#include "platform/runtime/value.h"

#include <functional>
#include <string>

namespace cuentas {

// An array of two-element arrays {bank code, bank name}, texts exactly as the table gives
// them, in table order. Nil until start-up sets it, which the lookup takes as no banks.
// Waits for a fill announced by awaitBankDirectoryFill first.
Value& bankDirectory();

// Announces that the directory just set is still being filled: `untilFilled` is called once,
// on this thread, when bankDirectory() is next called.
void awaitBankDirectoryFill(std::function<void()> untilFilled);

// The program's directory less its last four characters (a runtime path with backslashes);
// the transfer file is written under it.
std::string& baseDirectory();

} // namespace cuentas
