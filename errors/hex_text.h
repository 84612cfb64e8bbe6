#pragma once
// Hexadecimal texts of values and the executable's name, as the error dump records show them.

#include "platform/runtime/value.h"

#include <string>
#include <string_view>

namespace cuentas {

// The hexadecimal text of a value:
// - a floating-point number whose standard text shows decimals (whatever the regional decimal
//   separator), or that has a fractional part, or lies above 4294967295 or below -2147483647:
//   16 digits, the two 32-bit words of its 8-byte storage, the word at the lower address
//   first; any other floating-point number: the 8 digits of its 32-bit word (two's
//   complement when negative), so that exception codes and addresses show as such;
// - a text: HEXBYTES of it;
// - anything else: the 8 digits of its 32-bit content (an integer's value, a pointer's
//   address, a symbol's number, a logic value's 0 or 1, a date's day number; nil and the null
//   references 0, an array, object or code block the low word of its reference).
std::string HEXTEXT(const Value& value);

// Each character's code as two hexadecimal digits and a blank: three characters per
// character of the text.
std::string HEXBYTES(std::string_view text);

enum class ExePath { FileName, FullPath };
// The running executable's full path (runtime form, backslashes), or only the part after its
// last backslash.
std::string EXEFILENAME(ExePath form);

} // namespace cuentas
