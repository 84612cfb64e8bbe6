#include "tools/make_bank_table/register_source.h"

#include "platform/os/codepage.h"

#include <array>
#include <optional>
#include <tuple>
#include <cstdio>

namespace cuentas::tools {
namespace {

constexpr std::size_t kFieldCount = 10;

std::string codePointText(char32_t codePoint) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint));
    return text;
}

bool isDigits(std::string_view text, std::size_t count) {
    return text.size() == count && text.find_first_not_of("0123456789") == std::string_view::npos;
}

bool isUpperAlnum(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// Bank code (4 letters), country (2 letters), location (2 letters or digits), and an optional
// branch (3 letters or digits).
bool isBic(std::string_view bic) {
    if (bic.size() != 8 && bic.size() != 11) {
        return false;
    }
    for (std::size_t i = 0; i < bic.size(); ++i) {
        bool letter = bic[i] >= 'A' && bic[i] <= 'Z';
        if (i < 6 ? !letter : !isUpperAlnum(bic[i])) {
            return false;
        }
    }
    return true;
}

// A text of the register in Windows-1252, or the reason it cannot be one.
std::optional<std::string> toTableText(std::string_view column, std::string_view utf8,
                                       std::string& problem) {
    const std::string name(column);
    // A sequence cut at the end of the field is an error, not input still to come.
    std::optional<std::u32string> text = unicodeFromUtf8(utf8);
    if (!text) {
        problem = name + " is not valid UTF-8";
        return std::nullopt;
    }
    std::string bytes;
    for (char32_t codePoint : *text) {
        if (codePoint < 0x20 || codePoint == 0x7F || (codePoint >= 0x80 && codePoint <= 0x9F)) {
            problem = name + " holds the control character " + codePointText(codePoint);
            return std::nullopt;
        }
        std::optional<char> byte = windows1252FromUnicode(codePoint);
        if (!byte) {
            problem = name + " holds " + codePointText(codePoint) + ", which Windows-1252 lacks";
            return std::nullopt;
        }
        bytes.push_back(*byte);
    }
    if (!bytes.empty() && (bytes.front() == ' ' || bytes.back() == ' ')) {
        problem = name + " has blanks at its start or end";
        return std::nullopt;
    }
    if (bytes.size() > kNameWidth) {
        problem = name + " is " + std::to_string(bytes.size()) +
                  " characters long, more than the " + std::to_string(kNameWidth) + " of the table";
        return std::nullopt;
    }
    return bytes;
}

std::optional<Reason> reasonOf(std::string_view word) {
    static const std::array<std::pair<std::string_view, Reason>, 4> words{{
        {"absorci\xC3\xB3n", Reason::Absorption},
        {"fusi\xC3\xB3n", Reason::Merger},
        {"nuevo c\xC3\xB3"
         "digo",
         Reason::NewCode},
        {"baja", Reason::Deregistration},
    }};
    for (const auto& [text, reason] : words) {
        if (word == text) {
            return reason;
        }
    }
    return std::nullopt;
}

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        auto tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos) {
            return fields;
        }
        line.remove_prefix(tab + 1);
    }
}

// One entity line, or the first problem found in it.
std::optional<Entity> parseEntity(std::string_view line, std::string& problem) {
    std::vector<std::string_view> f = splitTabs(line);
    if (f.size() != kFieldCount) {
        problem =
            std::to_string(kFieldCount) + " fields expected, found " + std::to_string(f.size());
        return std::nullopt;
    }
    Entity e;
    e.code = f[0];
    if (!isDigits(e.code, kCodeWidth)) {
        problem = "codigo \"" + e.code + "\" is not 4 digits";
        return std::nullopt;
    }
    auto name = toTableText("nombre", f[1], problem);
    if (!name) {
        return std::nullopt;
    }
    if (name->empty()) {
        problem = "nombre is empty";
        return std::nullopt;
    }
    e.name = *name;
    auto shortName = toTableText("corto", f[2], problem);
    if (!shortName) {
        return std::nullopt;
    }
    e.shortName = *shortName;
    if (f[3] != "vigente" && f[3] != "baja") {
        problem = "estado \"" + std::string(f[3]) + "\" is neither vigente nor baja";
        return std::nullopt;
    }
    e.current = f[3] == "vigente";
    for (auto [column, value, target] :
         {std::tuple{"sucesora", f[5], &e.successor}, std::tuple{"traspaso", f[6], &e.transfer}}) {
        if (!value.empty() && !isDigits(value, kCodeWidth)) {
            problem = std::string(column) + " \"" + std::string(value) + "\" is not 4 digits";
            return std::nullopt;
        }
        *target = value;
    }
    e.bic = f[7];
    if (!e.bic.empty() && !isBic(e.bic)) {
        problem = "bic \"" + e.bic + "\" is not a BIC of 8 or 11 letters and digits";
        return std::nullopt;
    }
    e.deregistered = f[8];
    if (!e.deregistered.empty() && !parseDate(e.deregistered)) {
        problem = "baja \"" + e.deregistered + "\" is not a date YYYY-MM-DD";
        return std::nullopt;
    }
    if (e.current) {
        if (!f[4].empty() || !e.successor.empty() || !e.transfer.empty() ||
            !e.deregistered.empty()) {
            problem = "a current entity has no motivo, sucesora, traspaso or baja";
            return std::nullopt;
        }
        return e;
    }
    auto reason = reasonOf(f[4]);
    if (!reason) {
        problem = "motivo \"" + std::string(f[4]) +
                  "\" is none of absorci\xC3\xB3n, fusi\xC3\xB3n, nuevo c\xC3\xB3"
                  "digo, baja";
        return std::nullopt;
    }
    e.reason = *reason;
    if (!e.transfer.empty() && !e.successor.empty()) {
        problem = "traspaso is only for an entity without sucesora";
        return std::nullopt;
    }
    return e;
}

} // namespace

std::optional<UpdateDate> parseDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !isDigits(text.substr(0, 4), 4) ||
        !isDigits(text.substr(5, 2), 2) || !isDigits(text.substr(8, 2), 2)) {
        return std::nullopt;
    }
    UpdateDate date{std::stoi(std::string(text.substr(0, 4))),
                    std::stoi(std::string(text.substr(5, 2))),
                    std::stoi(std::string(text.substr(8, 2)))};
    static constexpr std::array<int, 12> kDays{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
    if (date.year < 1900 || date.year > 2155 || date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > kDays[static_cast<std::size_t>(date.month - 1)] ||
        (date.month == 2 && date.day == 29 && !leap)) {
        return std::nullopt;
    }
    return date;
}

Register parseRegister(std::string_view utf8) {
    Register result;
    if (utf8.starts_with("\xEF\xBB\xBF")) {
        utf8.remove_prefix(3);
    }
    bool columnsSeen = false;
    int number = 0;
    while (!utf8.empty()) {
        ++number;
        auto end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        utf8 = end == std::string_view::npos ? std::string_view() : utf8.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        auto start = line.find_first_not_of(" \t");
        if (start == std::string_view::npos || line[start] == '#') {
            continue;
        }
        auto fail = [&](std::string text) { result.errors.push_back({number, std::move(text)}); };
        if (!result.date) {
            if (!line.starts_with("fecha\t")) {
                fail("the first line must be fecha<TAB>YYYY-MM-DD");
                return result;
            }
            result.date = parseDate(line.substr(6));
            if (!result.date) {
                fail("fecha \"" + std::string(line.substr(6)) + "\" is not a date YYYY-MM-DD");
                return result;
            }
            continue;
        }
        if (!columnsSeen) {
            if (line != kColumns) {
                fail("the column line must follow the date: codigo, nombre, corto, estado, "
                     "motivo, sucesora, traspaso, bic, baja, nota");
                return result;
            }
            columnsSeen = true;
            continue;
        }
        std::string problem;
        if (auto entity = parseEntity(line, problem)) {
            entity->line = number;
            result.entities.push_back(std::move(*entity));
        } else {
            fail(problem);
        }
    }
    if (!columnsSeen) {
        result.errors.push_back({number, result.date ? "the register ends before its column line"
                                                     : "the register ends before its date"});
    }
    return result;
}

} // namespace cuentas::tools
