#include "platform/os/locale_formats.h"

#include "platform/os/codepage.h"
#include "platform/os/locale_items.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace cuentas::localeformat {
namespace {

// One piece of a strftime-style format: a conversion such as %d, or literal text.
struct Piece {
    char conversion = 0; // 0 for literal text
    bool unpadded = false;
    std::string text; // the piece as written (literal text with "%%" already resolved)
};

constexpr std::string_view kFlags = "_-0^#";

std::vector<Piece> split(std::string_view format) {
    std::vector<Piece> pieces;
    auto addLiteral = [&](std::string_view literal) {
        if (pieces.empty() || pieces.back().conversion != 0) {
            pieces.push_back(Piece{});
        }
        pieces.back().text += literal;
    };
    for (std::size_t i = 0; i < format.size();) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            addLiteral(format.substr(i, 1));
            ++i;
            continue;
        }
        std::size_t start = i++;
        if (format[i] == '%') {
            addLiteral("%");
            ++i;
            continue;
        }
        Piece piece;
        while (i < format.size() && kFlags.find(format[i]) != std::string_view::npos) {
            piece.unpadded = piece.unpadded || format[i] == '-';
            ++i;
        }
        while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
            ++i;
        }
        if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) {
            ++i;
        }
        if (i >= format.size()) {
            addLiteral(format.substr(start));
            break;
        }
        piece.conversion = format[i++];
        piece.text = std::string(format.substr(start, i - start));
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

enum class Part { None, Day, Month, Year, Hour, Minute };

Part partOf(char conversion) {
    switch (conversion) {
    case 'd':
    case 'e':
        return Part::Day;
    case 'm':
    case 'b':
    case 'B':
    case 'h':
        return Part::Month;
    case 'y':
    case 'Y':
    case 'g':
    case 'G':
        return Part::Year;
    case 'H':
    case 'I':
    case 'k':
    case 'l':
        return Part::Hour;
    case 'M':
        return Part::Minute;
    default:
        return Part::None;
    }
}

std::string expandAt(std::string_view format, const CompositeFormats& composites, int depth) {
    std::string result;
    for (const Piece& piece : split(format)) {
        if (piece.conversion == 0) {
            // Literal text goes back into a format: its percent signs are doubled again.
            for (char c : piece.text) {
                result += c == '%' ? std::string("%%") : std::string(1, c);
            }
            continue;
        }
        std::string_view inner;
        switch (piece.conversion) {
        case 'D':
            inner = "%m/%d/%y";
            break;
        case 'F':
            inner = "%Y-%m-%d";
            break;
        case 'T':
            inner = "%H:%M:%S";
            break;
        case 'R':
            inner = "%H:%M";
            break;
        case 'r':
            inner = composites.amPm.empty() ? "%I:%M:%S %p" : composites.amPm;
            break;
        case 'x':
            inner = composites.date;
            break;
        case 'X':
            inner = composites.time;
            break;
        default:
            result += piece.text;
            continue;
        }
        // A locale whose formats refer to each other in a circle gets no further than this.
        if (depth < 4) {
            result += expandAt(inner, composites, depth + 1);
        }
    }
    return result;
}

// The literal text between the first field of part `from` and the next field of part `to`
// (any part when `to` is None).
std::optional<std::string> literalBetween(std::string_view format, Part from, Part to) {
    auto pieces = split(format);
    auto first = std::find_if(pieces.begin(), pieces.end(), [&](const Piece& p) {
        return p.conversion != 0 && (from == Part::None ? partOf(p.conversion) != Part::None
                                                        : partOf(p.conversion) == from);
    });
    if (first == pieces.end()) {
        return std::nullopt;
    }
    std::string literal;
    for (auto it = first + 1; it != pieces.end(); ++it) {
        if (it->conversion == 0) {
            literal += it->text;
            continue;
        }
        Part part = partOf(it->conversion);
        if ((to == Part::None && part != Part::None) || (to != Part::None && part == to)) {
            if (literal.empty()) {
                return std::nullopt;
            }
            return literal;
        }
        literal.clear();
        if (to != Part::None) {
            return std::nullopt; // something else stands between hour and minutes
        }
    }
    return std::nullopt;
}

struct KnownLocale {
    std::uint32_t identifier;
    const char* name;
};

// Well-known locale identifiers. Where two identifiers share a name (Spanish with the
// traditional and the modern sort), the first is the one a name maps to.
constexpr std::array kKnownLocales{
    KnownLocale{0x0C0A, "es_ES"}, KnownLocale{0x040A, "es_ES"}, KnownLocale{0x0409, "en_US"},
    KnownLocale{0x0809, "en_GB"}, KnownLocale{0x0407, "de_DE"}, KnownLocale{0x040C, "fr_FR"},
    KnownLocale{0x0410, "it_IT"}, KnownLocale{0x0816, "pt_PT"}, KnownLocale{0x0416, "pt_BR"},
    KnownLocale{0x0403, "ca_ES"}, KnownLocale{0x042D, "eu_ES"}, KnownLocale{0x0456, "gl_ES"},
    KnownLocale{0x0413, "nl_NL"}, KnownLocale{0x0813, "nl_BE"}, KnownLocale{0x080C, "fr_BE"},
    KnownLocale{0x0C0C, "fr_CA"}, KnownLocale{0x100C, "fr_CH"}, KnownLocale{0x0807, "de_CH"},
    KnownLocale{0x0C07, "de_AT"}, KnownLocale{0x1007, "de_LU"}, KnownLocale{0x0810, "it_CH"},
    KnownLocale{0x1009, "en_CA"}, KnownLocale{0x0C09, "en_AU"}, KnownLocale{0x1409, "en_NZ"},
    KnownLocale{0x1809, "en_IE"}, KnownLocale{0x1C09, "en_ZA"}, KnownLocale{0x4009, "en_IN"},
    KnownLocale{0x080A, "es_MX"}, KnownLocale{0x2C0A, "es_AR"}, KnownLocale{0x340A, "es_CL"},
    KnownLocale{0x240A, "es_CO"}, KnownLocale{0x280A, "es_PE"}, KnownLocale{0x200A, "es_VE"},
    KnownLocale{0x380A, "es_UY"}, KnownLocale{0x540A, "es_US"}, KnownLocale{0x0406, "da_DK"},
    KnownLocale{0x041D, "sv_SE"}, KnownLocale{0x0414, "nb_NO"}, KnownLocale{0x040B, "fi_FI"},
    KnownLocale{0x0415, "pl_PL"}, KnownLocale{0x0405, "cs_CZ"}, KnownLocale{0x040E, "hu_HU"},
    KnownLocale{0x0418, "ro_RO"}, KnownLocale{0x0408, "el_GR"}, KnownLocale{0x041F, "tr_TR"},
    KnownLocale{0x0419, "ru_RU"}, KnownLocale{0x0411, "ja_JP"}, KnownLocale{0x0804, "zh_CN"},
};

// "es_ES.UTF-8@euro" -> "es_ES".
std::string_view withoutCodesetAndModifier(std::string_view name) {
    return name.substr(0, name.find_first_of(".@"));
}

} // namespace

std::string expand(std::string_view format, const CompositeFormats& composites) {
    return expandAt(format, composites, 0);
}

std::string shortDatePicture(std::string_view dateFormat) {
    std::string picture;
    for (const Piece& piece : split(dateFormat)) {
        if (piece.conversion == 0) {
            bool quoting = false;
            for (char c : piece.text) {
                // Letters would read as fields; a quote mark is doubled inside the quotes.
                bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '\'';
                if (letter != quoting) {
                    picture += '\'';
                    quoting = letter;
                }
                picture += c == '\'' ? std::string("''") : std::string(1, c);
            }
            if (quoting) {
                picture += '\'';
            }
            continue;
        }
        switch (piece.conversion) {
        case 'd':
            picture += piece.unpadded ? "d" : "dd";
            break;
        case 'e':
            picture += "d";
            break;
        case 'm':
            picture += piece.unpadded ? "M" : "MM";
            break;
        case 'b':
        case 'h':
            picture += "MMM";
            break;
        case 'B':
            picture += "MMMM";
            break;
        case 'y':
        case 'g':
            picture += "yy";
            break;
        case 'Y':
        case 'G':
            picture += "yyyy";
            break;
        case 'a':
            picture += "ddd";
            break;
        case 'A':
            picture += "dddd";
            break;
        default:
            break; // nothing a short date picture can show
        }
    }
    return picture;
}

std::optional<int> dateOrder(std::string_view dateFormat) {
    std::string order;
    for (const Piece& piece : split(dateFormat)) {
        switch (partOf(piece.conversion)) {
        case Part::Day:
            order += 'D';
            break;
        case Part::Month:
            order += 'M';
            break;
        case Part::Year:
            order += 'Y';
            break;
        case Part::None:
        case Part::Hour:
        case Part::Minute:
            break;
        }
    }
    if (order == "MDY") {
        return 0;
    }
    if (order == "DMY") {
        return 1;
    }
    if (order == "YMD") {
        return 2;
    }
    return std::nullopt;
}

std::optional<std::string> dateSeparator(std::string_view dateFormat) {
    return literalBetween(dateFormat, Part::None, Part::None);
}

std::optional<std::string> timeSeparator(std::string_view timeFormat) {
    return literalBetween(timeFormat, Part::Hour, Part::Minute);
}

bool usesTwelveHourClock(std::string_view timeFormat) {
    auto pieces = split(timeFormat);
    return std::any_of(pieces.begin(), pieces.end(),
                       [](const Piece& p) { return p.conversion == 'I' || p.conversion == 'l'; });
}

std::uint32_t localeIdentifier(std::string_view name) {
    std::string_view bare = withoutCodesetAndModifier(name);
    for (const auto& known : kKnownLocales) {
        if (bare == known.name) {
            return known.identifier;
        }
    }
    return LOCALE_USER_DEFAULT;
}

std::optional<std::string> localeName(std::uint32_t identifier) {
    std::uint32_t language = identifier & 0xFFFF; // the high word only names a sort order
    for (const auto& known : kKnownLocales) {
        if (known.identifier == language) {
            return std::string(known.name);
        }
    }
    return std::nullopt;
}

std::optional<std::string> windows1252FromUtf8(std::string_view utf8) {
    auto characters = unicodeFromUtf8(utf8);
    if (!characters) {
        return std::nullopt;
    }
    std::string result;
    for (char32_t c : *characters) {
        if (c == 0x202F || c == 0x2009 || c == 0x2007) {
            result.push_back('\xA0');
            continue;
        }
        auto byte = windows1252FromUnicode(c);
        if (!byte) {
            return std::nullopt;
        }
        result.push_back(*byte);
    }
    return result;
}

int copyAnswer(std::string_view answer, char* buffer, int size) {
    if (answer.size() >= static_cast<std::size_t>(INT32_MAX)) {
        return 0;
    }
    int needed = static_cast<int>(answer.size()) + 1;
    if (size == 0) {
        return needed;
    }
    if (!buffer || size < needed) {
        return 0;
    }
    std::memcpy(buffer, answer.data(), answer.size());
    buffer[answer.size()] = '\0';
    return needed;
}

} // namespace cuentas::localeformat
