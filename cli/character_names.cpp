#include "cli/character_names.h"

#include "platform/os/codepage.h"

#include <array>
#include <cstdint>

namespace cuentas::cli {
namespace {

struct Name {
    std::uint32_t codePoint;
    const char* english;
    const char* spanish; // Windows-1252
};

// The characters that pass for a blank, a hyphen or nothing at all, in code point order.
constexpr Name kNames[] = {
    {0x0000, "null", "nulo"},
    {0x0009, "tab", "tabulador"},
    {0x000A, "line feed", "salto de l\xEDnea"},
    {0x000D, "carriage return", "retorno de carro"},
    {0x00A0, "no-break space", "espacio de no separaci\xF3n"},
    {0x00AD, "soft hyphen", "guion virtual"},
    {0x2000, "en quad", "cuadrat\xEDn medio"},
    {0x2001, "em quad", "cuadrat\xEDn"},
    {0x2002, "en space", "espacio de medio cuadrat\xEDn"},
    {0x2003, "em space", "espacio de cuadrat\xEDn"},
    {0x2004, "three-per-em space", "espacio de tercio de cuadrat\xEDn"},
    {0x2005, "four-per-em space", "espacio de cuarto de cuadrat\xEDn"},
    {0x2006, "six-per-em space", "espacio de sexto de cuadrat\xEDn"},
    {0x2007, "figure space", "espacio de cifra"},
    {0x2008, "punctuation space", "espacio de puntuaci\xF3n"},
    {0x2009, "thin space", "espacio fino"},
    {0x200A, "hair space", "espacio ultrafino"},
    {0x200B, "zero-width space", "espacio de ancho cero"},
    {0x200C, "zero-width non-joiner", "antiuni\xF3n de ancho cero"},
    {0x200D, "zero-width joiner", "uni\xF3n de ancho cero"},
    {0x200E, "left-to-right mark", "marca de izquierda a derecha"},
    {0x200F, "right-to-left mark", "marca de derecha a izquierda"},
    {0x2010, "hyphen", "guion"},
    {0x2011, "non-breaking hyphen", "guion de no separaci\xF3n"},
    {0x2012, "figure dash", "raya de cifra"},
    {0x2013, "en dash", "semirraya"},
    {0x2014, "em dash", "raya"},
    {0x2015, "horizontal bar", "barra horizontal"},
    {0x2028, "line separator", "separador de l\xEDnea"},
    {0x2029, "paragraph separator", "separador de p\xE1rrafo"},
    {0x202F, "narrow no-break space", "espacio estrecho de no separaci\xF3n"},
    {0x205F, "medium mathematical space", "espacio matem\xE1tico mediano"},
    {0x2060, "word joiner", "uni\xF3n de palabras"},
    {0x2212, "minus sign", "signo menos"},
    {0x3000, "ideographic space",
     "espacio ideogr\xE1"
     "fico"},
    {0xFEFF, "byte-order mark", "marca de orden de bytes"},
    {0xFFFD, "replacement character",
     "car\xE1"
     "cter de sustituci\xF3n"},
};

std::uint32_t codePointOf(std::string_view bytes) {
    const auto byte = [&](std::size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i]));
    };
    switch (bytes.size()) {
    case 1:
        return byte(0);
    case 2:
        return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    case 3:
        return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    default:
        return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 |
               (byte(3) & 0x3F);
    }
}

// Controls and the characters that draw nothing: shown by code point and name alone.
bool invisible(std::uint32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0xAD || c == 0x034F || c == 0x061C ||
           c == 0x180E || (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F) ||
           (c >= 0x205F && c <= 0x206F) || c == 0x3000 || (c >= 0xFE00 && c <= 0xFE0F) ||
           c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB) || (c >= 0xE0000 && c <= 0xE0FFF);
}

std::string hex(std::uint32_t value, std::size_t digits) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (std::uint32_t rest = value; rest != 0 || text.size() < digits; rest >>= 4) {
        text.insert(text.begin(), kHex[rest & 0xF]);
    }
    return text;
}

} // namespace

void appendShownCharacter(TextBuilder& out, const Messages& messages, std::string_view bytes,
                          bool wellFormed) {
    if (bytes.empty()) {
        return;
    }
    const auto first = static_cast<unsigned char>(bytes[0]);
    if (!wellFormed) {
        messages.append(out, Text::NotUtf8Byte, {hex(first, 2)});
        return;
    }
    if (first >= 0x20 && first < 0x7F) {
        messages.append(out, Text::Quoted, {bytes});
        return;
    }
    const std::uint32_t c = codePointOf(bytes);
    const std::string codePoint = hex(c, 4);
    const bool spanish = messages.language() == Language::Spanish;
    for (const Name& name : kNames) {
        if (name.codePoint == c) {
            messages.append(out, Text::NamedCodePoint,
                            {codePoint, spanish ? utf8FromWindows1252(name.spanish)
                                                : std::string(name.english)});
            return;
        }
    }
    if (c >= 0xFF10 && c <= 0xFF19) {
        const std::string digit(1, static_cast<char>('0' + (c - 0xFF10)));
        messages.append(out, Text::NamedCodePoint,
                        {codePoint, messages.format(Text::FullwidthDigit, {digit})});
    } else if (c < 0xA0 || invisible(c)) {
        messages.append(out, Text::NamedCodePoint,
                        {codePoint, messages.text(c < 0xA0 ? Text::ControlCharacter
                                                           : Text::InvisibleCharacter)});
    } else {
        messages.append(out, Text::CodePoint, {codePoint, bytes});
    }
}

} // namespace cuentas::cli
