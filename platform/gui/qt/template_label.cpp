#include "platform/gui/qt/template_label.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace cuentas::gui {
namespace {

// What a screen reader sees of a TemplateLabel: static text whose name is its accessible name
// (or else its text), whose value is its text when the two differ, and whose text can be read
// through the text interface as any read-only text.
class AccessibleTemplateLabel : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleTemplateLabel(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        const QString shown = label()->text();
        const QString name = widget()->accessibleName();
        switch (t) {
        case QAccessible::Name:
            return name.isEmpty() ? shown : name;
        case QAccessible::Value:
            return name.isEmpty() ? QString() : shown;
        default:
            return QAccessibleWidget::text(t);
        }
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) {
            return static_cast<QAccessibleTextInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(t);
    }

    // Read-only text: no selection, no cursor to move, no layout to point into.
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        return label()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(label()->text().size()); }
    QRect characterRect(int) const override { return QRect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

private:
    const QLabel* label() const { return static_cast<const QLabel*>(widget()); }
};

QAccessibleInterface* accessibleTemplateLabel(const QString& className, QObject* object) {
    if (className == QLatin1String(TemplateLabel::staticMetaObject.className()) &&
        object->isWidgetType()) {
        return new AccessibleTemplateLabel(static_cast<QWidget*>(object));
    }
    return nullptr;
}

} // namespace

TemplateLabel::TemplateLabel(QWidget* parent) : QLabel(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleTemplateLabel);
        return true;
    }();
    (void)factoryInstalled;
}

void TemplateLabel::setCaption(const QString& text) {
    const QString old = this->text();
    if (old == text) {
        return;
    }
    // QLabel announces the new text as a new name only while the label has no name of its own.
    setText(text);
    if (!accessibleName().isEmpty()) {
        QAccessibleTextUpdateEvent event(this, 0, old, text);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace cuentas::gui
