#pragma once
// Texts crossing into the GUI toolkit: the program's Windows-1252 bytes as QStrings and back.

#include <QString>
#include <string>
#include <string_view>

namespace cuentas {

QString fromWindows1252(std::string_view text);
// Characters outside the code page become '?'.
std::string toWindows1252(const QString& text);
// The text without Unicode's format characters, the invisible ones that text copied from web
// pages and documents carries: zero-width spaces and joiners, direction marks, embeddings,
// overrides and isolates, soft hyphens, the byte-order mark.
QString withoutFormatCharacters(const QString& text);

} // namespace cuentas
