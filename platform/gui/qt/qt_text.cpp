#include "platform/gui/qt/qt_text.h"

#include "platform/os/codepage.h"

#include <QList>
#include <string>

namespace cuentas {

QString fromWindows1252(std::string_view text) {
    QString result;
    result.reserve(static_cast<qsizetype>(text.size()));
    for (char c : text) {
        result.append(QChar(static_cast<char16_t>(unicodeFromWindows1252(c))));
    }
    return result;
}

std::string toWindows1252(const QString& text) {
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (QChar c : text) {
        result.push_back(windows1252FromUnicode(c.unicode()).value_or('?'));
    }
    return result;
}

QString withoutFormatCharacters(const QString& text) {
    std::u32string kept;
    for (uint character : text.toUcs4()) {
        if (QChar::category(character) != QChar::Other_Format) {
            kept.push_back(static_cast<char32_t>(character));
        }
    }
    return QString::fromUcs4(kept.data(), static_cast<qsizetype>(kept.size()));
}

} // namespace cuentas
