#pragma once
// The answers of one locale, asked item by item through the operating system's locale query
// (GetLocaleInfoA) into one 64-byte buffer, and read as texts, characters or numbers.

#include "platform/os/locale_items.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace cuentas {

class LocaleAnswers {
public:
    explicit LocaleAnswers(std::uint32_t locale) : locale_(locale) {}

    // The answer's text: the first (result - 1) characters of the buffer; none when the
    // query's result is 0 or less.
    std::optional<std::string> text(std::uint32_t item);
    // The code of the answer's first character, or `fallback` when the item has no answer
    // or answers an empty text.
    std::uint32_t firstCharacter(std::uint32_t item, std::uint32_t fallback);
    // The numeric value of the answer (0 for a text that starts with no digit), or
    // `fallback` when the item has no answer.
    std::int64_t number(std::uint32_t item, std::int64_t fallback);

private:
    std::uint32_t locale_;
    std::array<char, kLocaleBufferSize> buffer_{};
};

} // namespace cuentas
