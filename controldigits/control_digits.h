#pragma once
// The two control digits of a Spanish customer account code, and the zero-filling of digit
// fields. Texts in, digits out: it never sees a widget, a file or the log.

#include <cstdint>
#include <string>
#include <string_view>

namespace cuentas {

// The text without its leading and trailing blanks, right-aligned in `width` characters and
// filled with "0" on the left. A trimmed text longer than `width` keeps its leftmost
// characters (the edit masks never let one arise).
std::string CORRIGE(std::string_view text, std::uint32_t width);

// The numeric value of the character at a 1-based position: "0" to "9" give 0 to 9, any other
// character (a blank included) and a position outside the text give 0.
std::uint32_t X(std::string_view text, std::uint32_t position);

// One control digit over at most 10 digits, right-aligned under the weights 1, 2, 4, 8, 5, 10,
// 9, 7, 3, 6 (bank and branch, 8 digits, take the last eight). Characters weigh as X reads them;
// any past the tenth are ignored.
std::uint32_t controlDigit(std::string_view digits);

// Both control digits as one number, 10 x first + second (0 to 99), for the bank, branch and
// account fields as typed; each field is zero-filled to its width (4, 4, 10) first.
std::uint32_t controlDigits(std::string_view bank, std::string_view branch,
                            std::string_view account);

} // namespace cuentas
