#pragma once
// The transfer file for the program that picks up the account: two lines, "BANCO=" with the
// bank's name and "20DIGITOS=" with the complete account code, written whole at each save.

#include "platform/os/os_error.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cuentas {

// The runtime path of the transfer file under a base directory: base + "tmp\xtras.ini".
std::string transferFilePath(std::string_view baseDirectory);

// "BANCO=" name CR LF "20DIGITOS=" bank branch digits account, with nothing after it.
std::string transferFileContent(std::string_view bankName, std::string_view bank,
                                std::string_view branch, std::string_view digits,
                                std::string_view account);

// Writes the content atomically: the old file stays whole unless the new one is complete.
// TRUE on success; otherwise the operating-system error is in FError().
bool writeTransferFile(const std::string& path, std::string_view content);

// The Spanish message for a failed write: the file's native path, the reason (the real cause
// when it is known, else the runtime operating-system error `osError`), and what the user
// can do.
std::string transferFailureMessage(const std::string& path, std::uint32_t osError,
                                   OsCause cause = OsCause::Unknown);

} // namespace cuentas
