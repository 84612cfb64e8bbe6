#pragma once
// The runtime's date format built from the locale's date order, separator and short date
// picture.

#include <string>
#include <string_view>

namespace cuentas {

// `order` 1 gives day-month-year, 2 year-month-day, anything else month-day-year. The year
// part is "YYYY" when the picture (in any letter case) holds four y's, else "YY":
// dateFormatFrom(1, '/', "dd/MM/yyyy") is "DD/MM/YYYY".
std::string dateFormatFrom(int order, char separator, std::string_view shortDatePicture);

} // namespace cuentas
