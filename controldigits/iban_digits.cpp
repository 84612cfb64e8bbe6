#include "controldigits/iban_digits.h"

namespace cuentas {
namespace {

// Folds one character into a remainder mod 97: a digit shifts one decimal place, a letter
// (10 to 35) two.
std::uint32_t fold(std::uint32_t remainder, char c) {
    if (c >= '0' && c <= '9') {
        return (remainder * 10 + static_cast<std::uint32_t>(c - '0')) % 97;
    }
    const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    if (upper >= 'A' && upper <= 'Z') {
        return (remainder * 100 + static_cast<std::uint32_t>(upper - 'A' + 10)) % 97;
    }
    return remainder * 10 % 97;
}

} // namespace

std::uint32_t ibanCheckDigits(std::string_view country, std::string_view bban) {
    std::uint32_t remainder = 0;
    for (char c : bban) {
        remainder = fold(remainder, c);
    }
    for (char c : country) {
        remainder = fold(remainder, c);
    }
    remainder = remainder * 100 % 97; // the check digits' place, "00"
    return 98 - remainder;
}

} // namespace cuentas
