#include "platform/os/codepage.h"

#include <array>
#include <cstdint>

namespace cuentas {
namespace {

// 0x80..0x9F; 0 marks the five bytes the code page leaves undefined (kept as C1 controls).
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

char32_t unicodeFromWindows1252(char byte) {
    auto value = static_cast<unsigned char>(byte);
    if (value >= 0x80 && value <= 0x9F && kHighControls[value - 0x80] != 0) {
        return kHighControls[value - 0x80];
    }
    return value;
}

std::optional<char> windows1252FromUnicode(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return static_cast<char>(c);
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        bool undefined = kHighControls[i] == 0 && c == 0x80 + i;
        if (kHighControls[i] == c || undefined) {
            return static_cast<char>(0x80 + i);
        }
    }
    return std::nullopt;
}

std::string utf8FromWindows1252(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (char byte : text) {
        appendUtf8(result, unicodeFromWindows1252(byte)); // every character is below U+10000
    }
    return result;
}

std::optional<std::u32string> unicodeFromUtf8(std::string_view utf8) {
    std::u32string result;
    for (std::size_t i = 0; i < utf8.size();) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > utf8.size()) {
            return std::nullopt;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            c = (c << 6) | (next & 0x3F);
        }
        // The shortest form only, and no surrogates.
        constexpr std::array<char32_t, 5> kSmallest{0, 0, 0x80, 0x800, 0x10000};
        if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return std::nullopt;
        }
        result.push_back(c);
        i += length;
    }
    return result;
}

} // namespace cuentas
