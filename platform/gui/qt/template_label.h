#pragma once
// A template's static text as a QLabel. A label named for screen readers apart from its text
// (a display beside its fixed text) offers its text as its value and announces each change
// of it; a label named by its own text is announced as QLabel announces any label.

#include <QLabel>

namespace cuentas::gui {

class TemplateLabel : public QLabel {
    Q_OBJECT
public:
    explicit TemplateLabel(QWidget* parent);

    // Shows the text. Assistive technology hears of the change: through the name when the
    // label is named by its text, through its text (value) when it has a name of its own.
    void setCaption(const QString& text);
};

} // namespace cuentas::gui
