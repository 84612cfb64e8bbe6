#pragma once
// An edit mask (platform/gui/picture.h) as a Qt validator.

#include <QValidator>
#include <string>

namespace cuentas::gui {

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
