#pragma once
// Texts crossing into Windows' wide calls: the program's Windows-1252 bytes as UTF-16 and back.

#include <string>
#include <string_view>

namespace cuentas::gui {

std::wstring wideFromWindows1252(std::string_view text);
// Characters outside the code page become '?'.
std::string windows1252FromWide(std::wstring_view text);
// Whether every character of the text is in the code page.
bool inWindows1252(std::wstring_view text);
// The text without Unicode's format characters (general category Cf), the invisible ones that
// text copied from web pages and documents carries: zero-width spaces and joiners, direction
// marks, embeddings, overrides and isolates, soft hyphens, the byte-order mark.
std::wstring withoutFormatCharacters(std::wstring_view text);

} // namespace cuentas::gui
