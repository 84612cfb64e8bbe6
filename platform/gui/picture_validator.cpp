#include "platform/gui/picture_validator.h"

#include "platform/gui/qt_text.h"
#include "platform/runtime/text.h"

namespace cuentas::gui {
namespace {

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Letters of Windows-1252: ASCII and the accented letters above 0xC0 (but the two signs).
bool isLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7) || c == 0x8A || c == 0x8C || c == 0x8E ||
           c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}

bool fits(unsigned char c, char maskCharacter) {
    switch (maskCharacter) {
    case '9':
        return isDigit(c);
    case '#':
        return isDigit(c) || c == ' ' || c == '+' || c == '-';
    case 'A':
        return isLetter(c);
    case 'N':
        return isLetter(c) || isDigit(c);
    case 'X':
    case '!':
        return true;
    default:
        return c == static_cast<unsigned char>(maskCharacter);
    }
}

} // namespace

bool fitsPicture(std::string_view text, std::string_view mask) {
    if (mask.empty()) {
        return true;
    }
    if (text.size() > mask.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!fits(static_cast<unsigned char>(text[i]), mask[i])) {
            return false;
        }
    }
    return true;
}

PictureValidator::PictureValidator(std::string mask, QObject* parent)
    : QValidator(parent), m_mask(std::move(mask)) {}

QValidator::State PictureValidator::validate(QString& input, int&) const {
    std::string text = toWindows1252(input);
    // A character the code page lacks comes back as '?', which a mask may admit; refuse it.
    if (fromWindows1252(text) != input || !fitsPicture(text, m_mask)) {
        return Invalid;
    }
    bool upper = false;
    for (std::size_t i = 0; i < text.size() && i < m_mask.size(); ++i) {
        if (m_mask[i] == '!') {
            text[i] = Upper(text.substr(i, 1))[0];
            upper = true;
        }
    }
    if (upper) {
        input = fromWindows1252(text);
    }
    return Acceptable;
}

} // namespace cuentas::gui
