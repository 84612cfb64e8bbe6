#include "platform/gui/controls.h"

#include "platform/gui/picture_validator.h"
#include "platform/gui/qt_text.h"
#include "platform/gui/template_label.h"
#include "platform/runtime/class_declaration.h"
#include "platform/runtime/text.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace cuentas::gui {
namespace {

// Texts are assigned as texts; a number becomes its digits, anything else the empty text.
std::string textOf(const Value& value) {
    if (value.isString()) {
        return std::string(value.asString());
    }
    return value.isNumeric() ? NTrim(value) : std::string();
}

} // namespace

std::string SingleLineEdit::textValue() const {
    const auto* edit = qobject_cast<const QLineEdit*>(widget());
    return edit ? toWindows1252(edit->text()) : std::string();
}

bool SingleLineEdit::setTextValue(const std::string& text) {
    auto* edit = qobject_cast<QLineEdit*>(widget());
    if (!edit || !fitsPicture(text, m_picture)) {
        return false;
    }
    edit->setText(fromWindows1252(text));
    return true;
}

void SingleLineEdit::setPicture(const std::string& mask) {
    m_picture = mask;
    auto* edit = qobject_cast<QLineEdit*>(widget());
    if (!edit) {
        return;
    }
    delete edit->validator();
    if (mask.empty()) {
        edit->setValidator(nullptr);
        edit->setMaxLength(32767);
        return;
    }
    edit->setValidator(new PictureValidator(mask, edit));
    edit->setMaxLength(static_cast<int>(mask.size()));
}

std::string PushButton::caption() const {
    const auto* button = qobject_cast<const QPushButton*>(widget());
    return button ? toWindows1252(button->text()) : std::string();
}

void PushButton::setCaption(const std::string& caption) {
    if (auto* button = qobject_cast<QPushButton*>(widget())) {
        button->setText(fromWindows1252(caption));
    }
}

std::string FixedText::caption() const {
    const auto* label = qobject_cast<const QLabel*>(widget());
    return label ? toWindows1252(label->text()) : std::string();
}

void FixedText::setCaption(const std::string& caption) {
    if (auto* label = qobject_cast<TemplateLabel*>(widget())) {
        label->setCaption(fromWindows1252(caption));
    }
}

void declareControlClasses() {
    ClassDeclaration<SingleLineEdit>("SINGLELINEEDIT", "CONTROL")
        .property("TEXTVALUE", &SingleLineEdit::textValue,
                  [](SingleLineEdit& edit, const Value& text) { edit.setTextValue(textOf(text)); })
        .property("PICTURE", &SingleLineEdit::picture, [](SingleLineEdit& edit, const Value& mask) {
            edit.setPicture(std::string(mask.asString()));
        });
    ClassDeclaration<PushButton>("PUSHBUTTON", "CONTROL")
        .property("CAPTION", &PushButton::caption,
                  [](PushButton& button, const Value& text) { button.setCaption(textOf(text)); });
    ClassDeclaration<FixedText>("FIXEDTEXT", "CONTROL")
        .property("CAPTION", &FixedText::caption,
                  [](FixedText& label, const Value& text) { label.setCaption(textOf(text)); });
}

} // namespace cuentas::gui
