#pragma once
// The check digits of an IBAN (ISO 13616, ISO 7064 mod 97-10).
// Texts in, digits out: it never sees a widget, a file or the log.

#include <cstdint>
#include <string_view>

namespace cuentas {

// The two check digits (2 to 98) for a country code and a basic bank account number: the
// remainder mod 97 of the BBAN, the country and "00" read as one decimal number, letters in
// either case counting 10 (A) to 35 (Z), subtracted from 98. Characters that are neither
// digit nor letter count as 0.
std::uint32_t ibanCheckDigits(std::string_view country, std::string_view bban);

} // namespace cuentas
