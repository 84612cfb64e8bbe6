#include "platform/runtime/datetime.h"

#include "platform/os/operating_system.h"
#include "platform/runtime/settings.h"

#include <cstdio>

namespace cuentas {

Date dateFromCalendar(int year, int month, int day) {
    // Julian day number of a Gregorian calendar date.
    int a = (14 - month) / 12;
    int y = year + 4800 - a;
    int m = month + 12 * a - 3;
    return Date{day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045};
}

void calendarFromDate(Date date, int& year, int& month, int& day) {
    int a = date.julianDay + 32044;
    int b = (4 * a + 3) / 146097;
    int c = a - 146097 * b / 4;
    int d = (4 * c + 3) / 1461;
    int e = c - 1461 * d / 4;
    int m = (5 * e + 2) / 153;
    day = e - (153 * m + 2) / 5 + 1;
    month = m + 3 - 12 * (m / 10);
    year = 100 * b + d - 4800 + m / 10;
}

namespace {

LocalTime localNow() {
    OperatingSystem& system = operatingSystem();
    return system.localTime(system.now());
}

std::string twoDigits(int n) {
    char buffer[12];
    std::snprintf(buffer, sizeof buffer, "%02d", n % 100);
    return buffer;
}

} // namespace

Date Today() {
    LocalTime local = localNow();
    return dateFromCalendar(local.year, local.month, local.day);
}

std::string Time() {
    const RegionalSettings& regional = runtimeSettings().regional;
    LocalTime local = localNow();
    int hour = local.hour;
    std::string suffix;
    if (regional.twelveHourClock) {
        suffix = hour < 12 ? regional.amSuffix : regional.pmSuffix;
        hour = hour % 12 == 0 ? 12 : hour % 12;
    }
    std::string separator(1, regional.timeSeparator);
    return twoDigits(hour) + separator + twoDigits(local.minute) + separator +
           twoDigits(local.second) + suffix;
}

std::string DToC(Date date) {
    const RegionalSettings& regional = runtimeSettings().regional;
    int year = 0, month = 0, day = 0;
    bool empty = date.julianDay == 0;
    if (!empty) {
        calendarFromDate(date, year, month, day);
    }
    const std::string& format = regional.dateFormat;
    std::string text;
    for (std::size_t i = 0; i < format.size();) {
        auto startsWith = [&](const char* token) {
            return format.compare(i, std::char_traits<char>::length(token), token) == 0;
        };
        if (startsWith("YYYY") || startsWith("YY")) {
            i += startsWith("YYYY") ? 4 : 2;
            if (regional.centuryShown) {
                char buffer[12];
                std::snprintf(buffer, sizeof buffer, "%04d", year);
                text += empty ? "    " : buffer;
            } else {
                text += empty ? "  " : twoDigits(year);
            }
        } else if (startsWith("DD") || startsWith("MM")) {
            text += empty ? "  " : twoDigits(startsWith("DD") ? day : month);
            i += 2;
        } else {
            text.push_back(format[i]);
            ++i;
        }
    }
    return text;
}

} // namespace cuentas
