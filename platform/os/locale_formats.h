#pragma once
// How the C library's locale data becomes the answers of the locale items: date and time
// formats turned into pictures, orders and separators, locale names into identifiers.
// Pure text work: it never reads the environment or the C library's locale tables.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cuentas::localeformat {

// What the composite conversions %x, %X and %r of a format stand for in the locale.
struct CompositeFormats {
    std::string_view date; // %x
    std::string_view time; // %X
    std::string_view amPm; // %r; empty means "%I:%M:%S %p"
};

// The format with its composite conversions (%D, %F, %T, %R, %r, %x, %X) written out.
std::string expand(std::string_view format, const CompositeFormats& composites);

// The short date picture of an expanded date format: "%d/%m/%Y" gives "dd/MM/yyyy",
// "%e.%m.%y" gives "d.MM.yy". Letters of literal text are quoted ('de').
std::string shortDatePicture(std::string_view dateFormat);
// 0 month-day-year, 1 day-month-year, 2 year-month-day; none for any other arrangement.
std::optional<int> dateOrder(std::string_view dateFormat);
// The literal text between the first two date fields, none when they touch.
std::optional<std::string> dateSeparator(std::string_view dateFormat);
// The literal text between the hour and the minutes, none when there is none.
std::optional<std::string> timeSeparator(std::string_view timeFormat);
// Whether the hour is shown 1 to 12 (%I or %l).
bool usesTwelveHourClock(std::string_view timeFormat);

// The locale identifier of a locale name such as "es_ES.UTF-8" or "de_DE@euro";
// LOCALE_USER_DEFAULT for a name that has none (C, POSIX, unknown names).
std::uint32_t localeIdentifier(std::string_view localeName);
// The language_TERRITORY name of a locale identifier (sort bits ignored), none when unknown.
std::optional<std::string> localeName(std::uint32_t identifier);

// The Windows-1252 form of a UTF-8 text. Blanks outside the code page (narrow and thin
// no-break spaces) become the no-break space 0xA0; any other character outside it, or a
// malformed sequence, gives none.
std::optional<std::string> windows1252FromUtf8(std::string_view utf8);

// Writes `answer` NUL-terminated into `buffer` of `size` bytes and returns the count of
// bytes written including the NUL; 0 when it does not fit. A size of 0 asks for the count
// the answer needs and writes nothing.
int copyAnswer(std::string_view answer, char* buffer, int size);

} // namespace cuentas::localeformat
