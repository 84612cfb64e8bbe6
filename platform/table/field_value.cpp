#include "platform/table/field_value.h"

#include "platform/runtime/datetime.h"
#include "platform/runtime/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace cuentas {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Several writers store N and F fields in exponent notation: "1.3945052E+02",
// "1.166785e+001". Such a field, blanks around it and nothing else, is read here; it gives
// nullopt for any other text, which Val reads as the runtime reads decimal text.
std::optional<Value> exponentNumber(std::string_view bytes) {
    std::size_t first = bytes.find_first_not_of(' ');
    std::size_t last = bytes.find_last_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view text = bytes.substr(first, last - first + 1);
    bool negative = text.front() == '-';
    if (negative || text.front() == '+') {
        text.remove_prefix(1);
    }
    std::size_t i = 0;
    std::size_t digits = 0;
    int fractionDigits = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            ++digits;
            ++fractionDigits;
        }
    }
    if (digits == 0 || i == text.size() || (text[i] != 'e' && text[i] != 'E')) {
        return std::nullopt;
    }
    std::size_t exponentAt = ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    if (i == text.size() ||
        text.substr(i).find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    double magnitude = 0;
    auto parsed = std::from_chars(text.data(), text.data() + text.size(), magnitude,
                                  std::chars_format::scientific);
    if (parsed.ec == std::errc::result_out_of_range) {
        magnitude = text[exponentAt] == '-' ? 0 : HUGE_VAL;
    }
    // The decimals the written number has: those of the mantissa less the exponent, never more
    // than the field could show.
    long exponent = std::clamp<long>(
        std::strtol(std::string(text.substr(exponentAt)).c_str(), nullptr, 10), -1000, 1000);
    long decimals = std::clamp<long>(fractionDigits - exponent, 0, static_cast<long>(bytes.size()));
    double number = negative ? -magnitude : magnitude;
    if (decimals == 0 && number >= -2147483648.0 && number <= 2147483647.0) {
        return Value::integer(static_cast<std::int32_t>(number));
    }
    return Value::number(number, static_cast<int>(decimals));
}

Value numberValue(const DbfField& field, std::string_view bytes) {
    std::optional<Value> written = exponentNumber(bytes);
    Value number = written ? *written : Val(bytes);
    if (field.decimals == 0) {
        return number;
    }
    return Value::number(number.asNumber(), field.decimals);
}

Value dateValue(std::string_view bytes) {
    if (bytes.size() != 8 || bytes.find_first_not_of("0123456789") != std::string_view::npos) {
        return Value(Date{});
    }
    auto digits = [&](std::size_t at, std::size_t count) {
        int number = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            number = number * 10 + (bytes[i] - '0');
        }
        return number;
    };
    int year = digits(0, 4);
    int month = digits(4, 2);
    int day = digits(6, 2);
    // A day that does not exist (20230231) comes back from the calendar as another one.
    Date date = dateFromCalendar(year, month, day);
    int y = 0, m = 0, d = 0;
    calendarFromDate(date, y, m, d);
    return Value(y == year && m == month && d == day ? date : Date{});
}

Value logicValue(std::string_view bytes) {
    char flag = bytes.empty() ? ' ' : bytes.front();
    return Value::logic(flag == 'T' || flag == 't' || flag == 'Y' || flag == 'y');
}

// Numbers, logic and dates; nothing for the types that are read as their text.
std::optional<Value> convertedValue(const DbfField& field, std::string_view bytes) {
    switch (field.type) {
    case 'N':
    case 'F':
        return numberValue(field, bytes);
    case 'D':
        return dateValue(bytes);
    case 'L':
        return logicValue(bytes);
    default:
        return std::nullopt;
    }
}

} // namespace

Value fieldValue(const DbfField& field, std::string_view bytes) {
    std::optional<Value> converted = convertedValue(field, bytes);
    return converted ? std::move(*converted) : Value(bytes);
}

Value fieldValue(const DbfImage& table, std::uint32_t record, std::size_t field) {
    const DbfField& descriptor = table.fields().at(field);
    std::optional<Value> converted = convertedValue(descriptor, table.fieldBytes(record, field));
    return converted ? std::move(*converted) : Value(table.fieldText(record, field));
}

} // namespace cuentas
