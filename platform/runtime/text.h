#pragma once
// Text functions of the runtime over single-byte Windows-1252 texts. Positions count from 1;
// position 0 means "not found". A blank is the character 0x20 only.

#include "platform/runtime/value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace cuentas {

std::string AllTrim(std::string_view text);
std::string Trim(std::string_view text); // trailing blanks removed
std::string LTrim(std::string_view text);

// Right-aligns the text form of `value` (texts as they are, numbers as their digits without
// blanks) in `width` characters, filled on the left with the first character of `fill`
// (a blank when `fill` is empty). A longer text keeps its leftmost `width` characters.
std::string PadL(const Value& value, std::uint32_t width, std::string_view fill = " ");

// A number as text: whole numbers right-aligned in 10 characters; floating-point numbers in 10
// characters for the whole part, the decimal separator and their decimals (the default
// decimals setting when the value carries none). Longer numbers take the room they need.
std::string Str(const Value& number);
// With a length (and decimals): right-aligned in `length`; a number that does not fit gives
// `length` asterisks.
std::string Str(const Value& number, std::uint32_t length, std::uint32_t decimals = 0);
// A number in decimal without leading or trailing blanks.
std::string NTrim(const Value& number);

// The leading decimal number of a text (leading blanks skipped, an optional sign, digits and
// an optional "." with decimals): an integer when it has no decimals. 0 when no digit leads.
Value Val(std::string_view text);

// The character at a 1-based position, or "" outside the text.
std::string CharPos(std::string_view text, std::uint32_t position);
std::string Left(std::string_view text, std::uint32_t count);
std::string Right(std::string_view text, std::uint32_t count);
// `count` characters from 1-based `start`; a start beyond the text gives "".
std::string SubStr(std::string_view text, std::uint32_t start, std::uint32_t count = 0xFFFFFFFF);
std::uint32_t SLen(std::string_view text);
// 1-based position of the first / last occurrence of `needle`, 0 when there is none.
std::uint32_t At(std::string_view needle, std::string_view haystack);
std::uint32_t RAt(std::string_view needle, std::string_view haystack);

std::string Upper(std::string_view text);
std::string Lower(std::string_view text);

// TRUE for nil, an empty or all-blank text, 0, FALSE, the null symbol, the empty date,
// an empty array and the null pointer.
bool Empty(const Value& value);

// The runtime's text form of any value (used in the error log).
std::string AsString(const Value& value);

// Eight upper-case hexadecimal digits of a 32-bit word / two of a byte (the runtime's _Hex and
// _HexByte).
std::string hexWord(std::uint32_t word);
std::string hexByte(std::uint8_t byte);

} // namespace cuentas
