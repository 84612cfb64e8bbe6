#include "platform/runtime/text.h"

#include "platform/runtime/datetime.h"
#include "platform/runtime/letter_case.h"
#include "platform/runtime/object.h"
#include "platform/runtime/settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace cuentas {

std::string AllTrim(std::string_view text) {
    return LTrim(Trim(text));
}

std::string Trim(std::string_view text) {
    auto end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string() : std::string(text.substr(0, end + 1));
}

std::string LTrim(std::string_view text) {
    auto start = text.find_first_not_of(' ');
    return start == std::string_view::npos ? std::string() : std::string(text.substr(start));
}

namespace {

std::string padText(const Value& value) {
    return value.isNumeric() ? NTrim(value) : AsString(value);
}

char fillCharacter(std::string_view fill) {
    return fill.empty() ? ' ' : fill.front();
}

// Digits of |value| rounded to `decimals`, with the runtime's decimal separator.
std::string formatNumber(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "***";
    }
    // to_chars, unlike printf, ignores the C library's LC_NUMERIC, which the GUI toolkit
    // sets from the user's locale: only the runtime's own separator may show.
    char buffer[400];
    auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (error != std::errc()) {
        return "***";
    }
    std::string text(buffer, end);
    bool negativeZero = text.starts_with("-") && text.find_first_not_of("-0.") == std::string::npos;
    if (negativeZero) {
        text.erase(0, 1); // no negative zero
    }
    auto point = text.find('.');
    if (point != std::string::npos) {
        text[point] = runtimeSettings().regional.decimalSeparator;
    }
    return text;
}

int decimalsOf(const Value& number) {
    if (number.type() != Type::Float) {
        return 0;
    }
    int decimals = number.decimals();
    return decimals < 0 ? std::max(runtimeSettings().regional.defaultDecimals, 0) : decimals;
}

std::string alignRight(std::string text, std::size_t width) {
    if (text.size() < width) {
        text.insert(0, width - text.size(), ' ');
    }
    return text;
}

} // namespace

std::string PadL(const Value& value, std::uint32_t width, std::string_view fill) {
    std::string text = padText(value);
    if (text.size() >= width) {
        return text.substr(0, width);
    }
    return std::string(width - text.size(), fillCharacter(fill)) + text;
}

std::string Str(const Value& number) {
    int decimals = decimalsOf(number);
    std::string text = formatNumber(number.asNumber(), decimals);
    std::size_t width = 10 + (decimals > 0 ? static_cast<std::size_t>(decimals) + 1 : 0);
    return alignRight(std::move(text), width);
}

std::string Str(const Value& number, std::uint32_t length, std::uint32_t decimals) {
    std::string text = formatNumber(number.asNumber(), static_cast<int>(std::min(decimals, 30u)));
    if (text.size() > length) {
        return std::string(length, '*');
    }
    return alignRight(std::move(text), length);
}

std::string NTrim(const Value& number) {
    return AllTrim(Str(number));
}

Value Val(std::string_view text) {
    std::size_t i = text.find_first_not_of(' ');
    if (i == std::string_view::npos) {
        return Value::integer(0);
    }
    bool negative = false;
    if (text[i] == '-' || text[i] == '+') {
        negative = text[i] == '-';
        ++i;
    }
    auto isDigit = [&](std::size_t k) {
        return k < text.size() && text[k] >= '0' && text[k] <= '9';
    };
    // The number is the digits, then a '.' only when a digit follows it, then its decimals.
    const std::size_t start = i;
    while (isDigit(i)) {
        ++i;
    }
    const std::size_t wholeEnd = i;
    int decimals = 0;
    if (i < text.size() && text[i] == '.' && isDigit(i + 1)) {
        for (++i; isDigit(i); ++i) {
            ++decimals;
        }
    }
    if (wholeEnd == start && decimals == 0) {
        return Value::integer(0);
    }
    // The nearest double to the decimal text. Out of range, a whole part other than zeros is
    // too large (infinity); otherwise the decimals are too small to show (0).
    double magnitude = 0;
    if (std::from_chars(text.data() + start, text.data() + i, magnitude, std::chars_format::fixed)
            .ec == std::errc::result_out_of_range) {
        bool large =
            text.substr(start, wholeEnd - start).find_first_not_of('0') != std::string_view::npos;
        magnitude = large ? HUGE_VAL : 0;
    }
    double number = negative ? -magnitude : magnitude;
    if (decimals == 0 && number >= -2147483648.0 && number <= 2147483647.0) {
        return Value::integer(static_cast<std::int32_t>(number));
    }
    return Value::number(number, decimals);
}

std::string CharPos(std::string_view text, std::uint32_t position) {
    if (position < 1 || position > text.size()) {
        return {};
    }
    return std::string(1, text[position - 1]);
}

std::string Left(std::string_view text, std::uint32_t count) {
    return std::string(text.substr(0, count));
}

std::string Right(std::string_view text, std::uint32_t count) {
    return count >= text.size() ? std::string(text) : std::string(text.substr(text.size() - count));
}

std::string SubStr(std::string_view text, std::uint32_t start, std::uint32_t count) {
    if (start < 1 || start > text.size()) {
        return {};
    }
    return std::string(text.substr(start - 1, count));
}

std::uint32_t SLen(std::string_view text) {
    return static_cast<std::uint32_t>(text.size());
}

std::uint32_t At(std::string_view needle, std::string_view haystack) {
    if (needle.empty()) {
        return 0;
    }
    auto found = haystack.find(needle);
    return found == std::string_view::npos ? 0 : static_cast<std::uint32_t>(found + 1);
}

std::uint32_t RAt(std::string_view needle, std::string_view haystack) {
    if (needle.empty()) {
        return 0;
    }
    auto found = haystack.rfind(needle);
    return found == std::string_view::npos ? 0 : static_cast<std::uint32_t>(found + 1);
}

std::string Upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = upperCase1252(c);
    }
    return result;
}

std::string Lower(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = lowerCase1252(c);
    }
    return result;
}

bool Empty(const Value& value) {
    switch (value.type()) {
    case Type::Nil:
        return true;
    case Type::String:
        return value.asString().find_first_not_of(' ') == std::string_view::npos;
    case Type::Integer:
    case Type::Float:
    case Type::Unsigned:
        return value.asNumber() == 0;
    case Type::Logic:
        return !value.asLogic();
    case Type::Symbol:
        return value.asSymbol().isNull();
    case Type::Date:
        return value.asDate().julianDay == 0;
    case Type::Array:
        return !value.asArray() || value.asArray()->size() == 0;
    case Type::Pointer:
        return value.asAddress() == 0;
    case Type::Object:
        return !value.asObject();
    case Type::CodeBlock:
        return !value.asCodeBlock();
    }
    return false;
}

std::string AsString(const Value& value) {
    switch (value.type()) {
    case Type::Nil:
        return "NIL";
    case Type::String:
        return std::string(value.asString());
    case Type::Integer:
    case Type::Float:
    case Type::Unsigned:
        return NTrim(value);
    case Type::Logic:
        return value.asLogic() ? ".T." : ".F.";
    case Type::Symbol:
        return value.asSymbol().name();
    case Type::Date:
        return DToC(value.asDate());
    case Type::Array:
        return "{[" + std::to_string(value.asArray() ? value.asArray()->size() : 0) + "]}";
    case Type::Object:
        return value.asObject() ? "{" + value.asObject()->classInfo().name().name() + "}"
                                : "{NULL_OBJECT}";
    case Type::CodeBlock:
        return "{|| ... }";
    case Type::Pointer:
        return "0x" + hexWord(value.asAddress());
    }
    return {};
}

std::string hexWord(std::uint32_t word) {
    char buffer[9];
    std::snprintf(buffer, sizeof buffer, "%08X", word);
    return buffer;
}

std::string hexByte(std::uint8_t byte) {
    char buffer[3];
    std::snprintf(buffer, sizeof buffer, "%02X", byte);
    return buffer;
}

} // namespace cuentas
