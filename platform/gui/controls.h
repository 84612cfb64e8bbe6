#pragma once
// The three kinds of control: SINGLELINEEDIT (an edit with TEXTVALUE and a PICTURE mask),
// PUSHBUTTON (pressing it calls the dialog method of its name) and FIXEDTEXT (a static text
// with a CAPTION).

#include "platform/gui/control.h"

#include <string>

namespace cuentas::gui {

class SingleLineEdit : public Control {
public:
    using Control::Control;
    std::string textValue() const;
    // Text that breaks the mask is refused: the edit keeps its text and FALSE comes back.
    bool setTextValue(const std::string& text);
    const std::string& picture() const { return m_picture; }
    // The mask admits typed, pasted and assigned text; the empty mask admits everything.
    void setPicture(const std::string& mask);

protected:
    ControlClass controlClass() const override { return ControlClass::Edit; }

private:
    std::string m_picture;
};

class PushButton : public Control {
public:
    using Control::Control;
    std::string caption() const;
    void setCaption(const std::string& caption);

protected:
    ControlClass controlClass() const override { return ControlClass::Button; }
};

class FixedText : public Control {
public:
    using Control::Control;
    std::string caption() const;
    void setCaption(const std::string& caption);

protected:
    ControlClass controlClass() const override { return ControlClass::Static; }
};

void declareControlClasses();

} // namespace cuentas::gui
