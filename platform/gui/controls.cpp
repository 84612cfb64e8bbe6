#include "platform/gui/controls.h"

#include "platform/gui/picture.h"
#include "platform/runtime/class_declaration.h"
#include "platform/runtime/text.h"

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
    NativeDialog* dialog = window();
    return dialog ? dialog->text(id()) : std::string();
}

bool SingleLineEdit::setTextValue(const std::string& text) {
    NativeDialog* dialog = window();
    if (!dialog || !fitsPicture(text, m_picture)) {
        return false;
    }
    dialog->setText(id(), text);
    return true;
}

void SingleLineEdit::setPicture(const std::string& mask) {
    m_picture = mask;
    if (NativeDialog* dialog = window()) {
        dialog->setEditMask(id(), mask);
    }
}

std::string PushButton::caption() const {
    NativeDialog* dialog = window();
    return dialog ? dialog->text(id()) : std::string();
}

void PushButton::setCaption(const std::string& caption) {
    if (NativeDialog* dialog = window()) {
        dialog->setText(id(), caption);
    }
}

std::string FixedText::caption() const {
    NativeDialog* dialog = window();
    return dialog ? dialog->text(id()) : std::string();
}

void FixedText::setCaption(const std::string& caption) {
    if (NativeDialog* dialog = window()) {
        dialog->setText(id(), caption);
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
