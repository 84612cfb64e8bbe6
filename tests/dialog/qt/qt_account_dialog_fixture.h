#pragma once
// The account dialog with its Qt widgets at hand, for what only the Qt side has: the
// accessibility interfaces, alignment and frames, Qt's fonts.

#include "platform/gui/qt/qt_dialog.h"
#include "platform/gui/qt/qt_text.h"
#include "tests/dialog/account_dialog_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace cuentas::testing {

class QtAccountDialogTest : public AccountDialogTest {
protected:
    gui::TemplateDialog* window() const {
        return gui::templateDialogOf(*objectAs<gui::DialogWindow>(dialog));
    }
    QWidget* widgetOf(MainDialogId id) const { return window()->control(static_cast<int>(id)); }
    QLineEdit* edit(MainDialogId id) const { return qobject_cast<QLineEdit*>(widgetOf(id)); }
    QPushButton* button(MainDialogId id) const { return qobject_cast<QPushButton*>(widgetOf(id)); }
    QLabel* label(MainDialogId id) const { return qobject_cast<QLabel*>(widgetOf(id)); }
    static QWidget* focus() { return QApplication::focusWidget(); }
};

} // namespace cuentas::testing
