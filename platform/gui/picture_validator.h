#pragma once
// Edit masks ("pictures"): one mask character per position of the text, the text never longer
// than the mask. 9 a digit; # a digit, blank, + or -; A a letter; N a letter or digit;
// X any character; ! any character, turned to upper case. Any other mask character admits
// only itself.

#include <QValidator>
#include <string>
#include <string_view>

namespace cuentas::gui {

// TRUE when the text (Windows-1252) fits the mask; the empty mask admits everything.
bool fitsPicture(std::string_view text, std::string_view mask);

class PictureValidator : public QValidator {
    Q_OBJECT
public:
    PictureValidator(std::string mask, QObject* parent);
    const std::string& mask() const { return m_mask; }
    State validate(QString& input, int& position) const override;

private:
    std::string m_mask;
};

} // namespace cuentas::gui
