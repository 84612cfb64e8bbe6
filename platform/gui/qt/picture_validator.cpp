#include "platform/gui/qt/picture_validator.h"

#include "platform/gui/picture.h"
#include "platform/gui/qt/qt_text.h"

namespace cuentas::gui {

PictureValidator::PictureValidator(std::string mask, QObject* parent)
    : QValidator(parent), m_mask(std::move(mask)) {}

QValidator::State PictureValidator::validate(QString& input, int&) const {
    std::string text = toWindows1252(input);
    // A character the code page lacks comes back as '?', which a mask may admit; refuse it.
    if (fromWindows1252(text) != input || !fitsPicture(text, m_mask)) {
        return Invalid;
    }
    const std::string shown = applyPicture(text, m_mask);
    if (shown != text) {
        input = fromWindows1252(shown);
    }
    return Acceptable;
}

} // namespace cuentas::gui
