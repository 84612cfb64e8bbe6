#include "platform/gui/controls.h"

#include "platform/gui/picture_validator.h"
#include "platform/gui/template_label.h"
#include "platform/runtime/codepage.h"
#include "platform/runtime/text.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace cuentas::gui {
namespace {

template <class T> T* as(Object& self) {
    return dynamic_cast<T*>(&self);
}
template <class T> const T* as(const Object& self) {
    return dynamic_cast<const T*>(&self);
}

// Texts are assigned as texts; a number becomes its digits, anything else the empty text.
std::string textOf(const Value& value) {
    if (value.isString()) {
        return value.asString();
    }
    return value.isNumeric() ? NTrim(value) : std::string();
}

// A text property of a control kind, read and assigned through two member functions.
template <class T>
void textProperty(ClassInfo& info, std::string_view name, std::string (T::*get)() const,
                  void (T::*set)(const std::string&)) {
    info.property(
        name,
        [get](const Object& self) {
            const T* c = as<T>(self);
            return c ? Value((c->*get)()) : Value("");
        },
        [get, set](Object& self, const Value& value) {
            T* c = as<T>(self);
            if (!c) {
                return Value("");
            }
            (c->*set)(textOf(value));
            return Value((c->*get)());
        });
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
    ClassInfo& edit = DeclareClass("SINGLELINEEDIT", "CONTROL", [](const ClassInfo& info) {
        return std::make_shared<SingleLineEdit>(info);
    });
    edit.property(
        "TEXTVALUE",
        [](const Object& self) {
            const auto* c = as<SingleLineEdit>(self);
            return Value(c ? c->textValue() : std::string());
        },
        [](Object& self, const Value& value) {
            auto* c = as<SingleLineEdit>(self);
            if (!c) {
                return Value("");
            }
            c->setTextValue(textOf(value));
            return Value(c->textValue());
        });
    edit.property(
        "PICTURE",
        [](const Object& self) {
            const auto* c = as<SingleLineEdit>(self);
            return Value(c ? c->picture() : std::string());
        },
        [](Object& self, const Value& value) {
            auto* c = as<SingleLineEdit>(self);
            if (!c) {
                return Value("");
            }
            c->setPicture(value.asString());
            return Value(c->picture());
        });

    ClassInfo& button = DeclareClass("PUSHBUTTON", "CONTROL", [](const ClassInfo& info) {
        return std::make_shared<PushButton>(info);
    });
    textProperty(button, "CAPTION", &PushButton::caption, &PushButton::setCaption);

    ClassInfo& text = DeclareClass("FIXEDTEXT", "CONTROL", [](const ClassInfo& info) {
        return std::make_shared<FixedText>(info);
    });
    textProperty(text, "CAPTION", &FixedText::caption, &FixedText::setCaption);
}

} // namespace cuentas::gui
