#include "platform/gui/win32/win32_text.h"

#include "platform/os/codepage.h"

#include <array>
#include <utility>

namespace cuentas::gui {
namespace {

// The format characters of Unicode 15 (general category Cf), as ranges.
constexpr std::array<std::pair<char32_t, char32_t>, 21> kFormatCharacters{{
    {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
    {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
    {0x200B, 0x200F},   {0x202A, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
}};

bool isFormatCharacter(char32_t c) {
    for (const auto& [first, last] : kFormatCharacters) {
        if (c >= first && c <= last) {
            return true;
        }
    }
    return false;
}

} // namespace

std::wstring wideFromWindows1252(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (char c : text) {
        wide.push_back(static_cast<wchar_t>(unicodeFromWindows1252(c)));
    }
    return wide;
}

std::string windows1252FromWide(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t c : text) {
        bytes.push_back(windows1252FromUnicode(static_cast<char16_t>(c)).value_or('?'));
    }
    return bytes;
}

bool inWindows1252(std::wstring_view text) {
    for (wchar_t c : text) {
        if (!windows1252FromUnicode(static_cast<char16_t>(c))) {
            return false;
        }
    }
    return true;
}

std::wstring withoutFormatCharacters(std::wstring_view text) {
    std::wstring kept;
    kept.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char16_t>(text[i]);
        std::size_t units = 1;
        // A surrogate pair is one character.
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() &&
            static_cast<char16_t>(text[i + 1]) >= 0xDC00 &&
            static_cast<char16_t>(text[i + 1]) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[i + 1]) - 0xDC00);
            units = 2;
        }
        if (!isFormatCharacter(c)) {
            kept.append(text.substr(i, units));
        }
        i += units - 1;
    }
    return kept;
}

} // namespace cuentas::gui
