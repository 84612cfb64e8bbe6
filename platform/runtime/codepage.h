#pragma once
// Windows-1252 <-> Unicode, used only where texts cross into the GUI toolkit.

#include <QString>
#include <string>
#include <string_view>

namespace cuentas {

QString fromWindows1252(std::string_view text);
// Characters outside the code page become '?'.
std::string toWindows1252(const QString& text);

} // namespace cuentas
