#pragma once
// The program's code page, Windows-1252: the Unicode character of each byte and back, and the
// UTF-8 form of a text for where one leaves the program (a terminal, the C library's locale).

#include <optional>
#include <string>
#include <string_view>

namespace cuentas {

// The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stay the C1
// control characters of the same number.
char32_t unicodeFromWindows1252(char byte);
// The byte of a Unicode character; none for a character outside the code page.
std::optional<char> windows1252FromUnicode(char32_t character);

std::string utf8FromWindows1252(std::string_view text);
// The characters of a UTF-8 text; none for a malformed one (a cut or overlong sequence, an
// encoded surrogate, a number past U+10FFFF).
std::optional<std::u32string> unicodeFromUtf8(std::string_view utf8);

} // namespace cuentas
