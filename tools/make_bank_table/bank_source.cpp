#include "tools/make_bank_table/bank_source.h"

#include "platform/os/codepage.h"

#include <QList>
#include <QString>
#include <QStringDecoder>

#include <cstdio>
#include <map>
#include <optional>

namespace cuentas::tools {
namespace {

// Code point -> Windows-1252 byte, for the printable characters of the code page.
const std::map<char32_t, char>& windows1252() {
    static const std::map<char32_t, char> table = [] {
        std::map<char32_t, char> bytes;
        for (int byte = 0x20; byte <= 0xFF; ++byte) {
            char c = static_cast<char>(byte);
            char32_t unicode = unicodeFromWindows1252(c);
            bool control = unicode == 0x7F || (unicode >= 0x80 && unicode <= 0x9F);
            if (!control) {
                bytes[unicode] = c;
            }
        }
        return bytes;
    }();
    return table;
}

std::string codePointText(char32_t codePoint) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(codePoint));
    return text;
}

std::string_view trimBlanks(std::string_view text) {
    auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool isFourDigits(std::string_view code) {
    return code.size() == kCodeWidth &&
           code.find_first_not_of("0123456789") == std::string_view::npos;
}

// The name in Windows-1252, or the reason it cannot be.
std::optional<std::string> toTableName(std::string_view utf8, std::string& problem) {
    // Stateless: a sequence cut at the end of the name is an error, not input still to come.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
    if (decoder.hasError()) {
        problem = "name is not valid UTF-8";
        return std::nullopt;
    }
    std::string name;
    for (char32_t codePoint : text.toUcs4()) {
        if (codePoint < 0x20 || codePoint == 0x7F || (codePoint >= 0x80 && codePoint <= 0x9F)) {
            problem = "name holds the control character " + codePointText(codePoint);
            return std::nullopt;
        }
        auto found = windows1252().find(codePoint);
        if (found == windows1252().end()) {
            problem = "character " + codePointText(codePoint) + " of the name is not in " +
                      "Windows-1252";
            return std::nullopt;
        }
        name.push_back(found->second);
    }
    if (name.empty()) {
        problem = "name is empty";
        return std::nullopt;
    }
    if (name.size() > kNameWidth) {
        problem = "name is " + std::to_string(name.size()) +
                  " characters long, wider than the 60 of NOMBRE";
        return std::nullopt;
    }
    return name;
}

} // namespace

BankSource parseBankSource(std::string_view utf8) {
    BankSource source;
    std::map<std::string, int> firstLine;
    if (utf8.starts_with("\xEF\xBB\xBF")) {
        utf8.remove_prefix(3);
    }
    int number = 0;
    while (!utf8.empty()) {
        ++number;
        auto end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        utf8 = end == std::string_view::npos ? std::string_view() : utf8.substr(end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        std::string_view content =
            line.substr(std::min(line.find_first_not_of(" \t"), line.size()));
        if (content.empty() || content.front() == '#') {
            continue;
        }
        auto tab = line.find('\t');
        if (tab == std::string_view::npos) {
            source.errors.push_back({number, "no tab between the code and the name"});
            continue;
        }
        std::string code(line.substr(0, tab));
        if (!isFourDigits(code)) {
            source.errors.push_back({number, "code \"" + code + "\" is not 4 digits"});
            continue;
        }
        std::string problem;
        std::optional<std::string> name = toTableName(trimBlanks(line.substr(tab + 1)), problem);
        if (!name) {
            source.errors.push_back({number, problem});
            continue;
        }
        if (auto [known, inserted] = firstLine.emplace(code, number); !inserted) {
            source.warnings.push_back({number, "code " + code + " already on line " +
                                                   std::to_string(known->second) +
                                                   "; lookups find the first"});
        }
        source.banks.push_back({code, *name, number});
    }
    return source;
}

} // namespace cuentas::tools
