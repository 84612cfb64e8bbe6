#include "platform/gui/picture.h"

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

std::string applyPicture(std::string_view text, std::string_view mask) {
    std::string shown(text);
    for (std::size_t i = 0; i < shown.size() && i < mask.size(); ++i) {
        if (mask[i] == '!') {
            shown[i] = Upper(shown.substr(i, 1))[0];
        }
    }
    return shown;
}

} // namespace cuentas::gui
