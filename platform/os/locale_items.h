#pragma once
// The numbers of the locale queries: the locale identifiers that userDefaultLocale answers
// (GetUserDefaultLCID) and the items that localeInfo answers (GetLocaleInfoA).

#include <cstdint>

namespace cuentas {

// Locale identifiers that stand for "whatever the user or the system has chosen".
inline constexpr std::uint32_t LOCALE_USER_DEFAULT = 0x0400;
inline constexpr std::uint32_t LOCALE_SYSTEM_DEFAULT = 0x0800;

// Locale items. Texts are answered as they stand; "I" items are a number as text.
inline constexpr std::uint32_t LOCALE_SDECIMAL = 14;   // decimal separator
inline constexpr std::uint32_t LOCALE_STHOUSAND = 15;  // thousands separator
inline constexpr std::uint32_t LOCALE_IDIGITS = 17;    // default number of decimals
inline constexpr std::uint32_t LOCALE_SDATE = 29;      // date separator
inline constexpr std::uint32_t LOCALE_STIME = 30;      // time separator
inline constexpr std::uint32_t LOCALE_SSHORTDATE = 31; // short date picture, "dd/MM/yyyy"
inline constexpr std::uint32_t LOCALE_IDATE = 33;      // 0 month-day-year, 1 day-month-year,
                                                       // 2 year-month-day
inline constexpr std::uint32_t LOCALE_ITIME = 35;      // 0 12-hour clock, 1 24-hour clock
inline constexpr std::uint32_t LOCALE_S1159 = 40;      // am designator
inline constexpr std::uint32_t LOCALE_S2359 = 41;      // pm designator

// The size of the answer buffer that the runtime's callers pass.
inline constexpr int kLocaleBufferSize = 64;

} // namespace cuentas
