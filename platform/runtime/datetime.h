#pragma once
// Dates and times as the runtime renders them, following the regional settings
// (date format, century, time separator, 12- or 24-hour clock with its suffixes).

#include "platform/runtime/value.h"

#include <string>

namespace cuentas {

Date dateFromCalendar(int year, int month, int day);
void calendarFromDate(Date date, int& year, int& month, int& day);

// Today's date, by the operating system's local clock.
Date Today();
// The time of day as hh:mm:ss with the time separator; on a 12-hour clock the hour runs
// 1 to 12 and the am or pm suffix follows.
std::string Time();
// The date in the date format: DD, MM and the year part are replaced by the date's day,
// month and year, the year with four digits when the century is shown and two otherwise.
// The empty date keeps the separators and shows blanks for the digits.
std::string DToC(Date date);

} // namespace cuentas
