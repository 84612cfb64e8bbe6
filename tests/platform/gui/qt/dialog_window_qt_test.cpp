// DIALOGWINDOW's Qt widgets: fonts, frames, the ways Qt pastes, Qt's message boxes and its
// accessibility interface.
#include "platform/gui/qt/fonts.h"
#include "platform/gui/qt/qt_dialog.h"
#include "platform/gui/qt/qt_text.h"
#include "tests/platform/gui/dialog_window_fixture.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace cuentas::gui {
namespace {

class QtDialogWindowTest : public DialogWindowTest {
protected:
    TemplateDialog& widget() { return *templateDialogOf(*window); }
    template <class T> T* control(int id) { return qobject_cast<T*>(widget().control(id)); }
};

TEST_F(QtDialogWindowTest, QtFontsAreMadeAtTheScreensResolution) {
    const BaseUnits units = widget().baseUnits();
    Value font = makeFont(FontFamily::Any, 14, "Microsoft Sans Serif");
    IVarPut(font, sym("BOLD"), Value::logic(true));
    for (const ControlTemplate& c : widget().dialogTemplate().controls) {
        std::array<Value, 2> args{font, Value::logic(false)};
        EXPECT_EQ(Send(controls[c.id], sym("FONT"), args).asObject(), font.asObject());
        EXPECT_EQ(widget().control(c.id)->geometry(), toQRect(toPixels(c.rect, units))) << c.id;
        EXPECT_EQ(widget().control(c.id)->font().pixelSize(), 19) << c.id;
        EXPECT_TRUE(widget().control(c.id)->font().bold()) << c.id;
    }
    EXPECT_EQ(widget().size(), toQRect(toPixels({0, 0, 160, 60}, units)).size());
    EXPECT_EQ(widget().minimumSize(), widget().maximumSize());
}

TEST_F(QtDialogWindowTest, TextsCrossIntoQtAsWindows1252) {
    EXPECT_EQ(widget().windowTitle(), QString::fromUtf8("Prueba \u00D1"));
    EXPECT_EQ(IVarGet(dialog, sym("CAPTION")).asString(), "Prueba \xD1");
    IVarPut(controls[kText], sym("CAPTION"),
            Value("<b>Espa\xF1"
                  "a</b> & \x80"));
    EXPECT_EQ(control<QLabel>(kText)->text(), QString::fromUtf8("<b>Espa\u00F1a</b> & \u20AC"));
    EXPECT_EQ(control<QLabel>(kText)->textFormat(), Qt::PlainText);
    EXPECT_EQ(IVarGet(controls[kText], sym("CAPTION")).asString(), "<b>Espa\xF1"
                                                                   "a</b> & \x80");
    EXPECT_EQ(IVarGet(controls[kAccept], sym("CAPTION")).asString(), "Aceptar");
}

TEST_F(QtDialogWindowTest, StylesShowAsFramesAndAlignment) {
    EXPECT_TRUE(control<QLineEdit>(kFirst)->hasFrame());
    EXPECT_EQ(control<QLabel>(kText)->frameShape(), QFrame::Box);
    EXPECT_EQ(control<QLabel>(kText)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(control<QPushButton>(kAccept)->focusPolicy(), Qt::StrongFocus);
    EXPECT_FALSE(control<QPushButton>(kAccept)->autoDefault());
    EXPECT_EQ(control<QLabel>(kText)->focusPolicy(), Qt::NoFocus);
    const Qt::WindowFlags flags = widget().windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
}

// The ways a user pastes into an edit.
enum class PasteBy { ControlV, ShiftInsert, ContextMenu };

void pasteInto(QLineEdit* edit, PasteBy how) {
    switch (how) {
    case PasteBy::ControlV:
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        return;
    case PasteBy::ShiftInsert:
        QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
        return;
    case PasteBy::ContextMenu: {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, edit->rect().center(),
                                edit->mapToGlobal(edit->rect().center()));
        QApplication::sendEvent(edit, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith("&Paste")) {
                action->trigger();
            }
        }
        menu->close();
        return;
    }
    }
}

TEST_F(QtDialogWindowTest, EveryWayOfPastingGoesThroughTheSameDoor) {
    preparePasteCases();
    for (PasteBy how : {PasteBy::ShiftInsert, PasteBy::ContextMenu}) {
        for (const PasteCase& c : pasteCases()) {
            SCOPED_TRACE(std::string(c.pasted) + " by " + std::to_string(static_cast<int>(how)));
            run([&] {
                QLineEdit* edit = control<QLineEdit>(kFirst);
                edit->setText(c.before);
                if (c.selected) {
                    edit->selectAll();
                }
                QApplication::clipboard()->setText(c.pasted);
                window->log.clear();
                pasteInto(edit, how);
                EXPECT_EQ(edit->text(), c.after);
                EXPECT_EQ(window->log, c.log);
            });
        }
    }
}

TEST_F(QtDialogWindowTest, AMessageAboutAPasteIsNoLossOfTheEditsFocus) {
    IVarPut(controls[kFirst], sym("PICTURE"), Value("9999"));
    window->onRefusedPaste = [](const Value&, const std::string&) {
        QMessageBox box(QMessageBox::Critical, "Pegar", "No vale");
        QTimer::singleShot(0, &box, &QMessageBox::accept);
        box.exec();
        return true;
    };
    run([&] {
        QApplication::clipboard()->setText("no vale");
        pasteInto(control<QLineEdit>(kFirst), PasteBy::ControlV);
        // The offscreen platform gives the window back its activation only when asked.
        widget().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&widget()));
        EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>(kFirst));
        QTest::keyClick(control<QLineEdit>(kFirst), Qt::Key_Tab);
    });
    EXPECT_EQ(window->log, (std::vector<std::string>{"got FIRST", "paste FIRST no vale",
                                                     "lost FIRST", "got SECOND"}));
}

TEST_F(QtDialogWindowTest, AProgramsNameReachesQtsAccessibility) {
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(control<QLabel>(kText));
    EXPECT_EQ(text->text(QAccessible::Name), "texto");
    EXPECT_EQ(text->text(QAccessible::Value), "");
    EXPECT_EQ(IVarGet(controls[kText], sym("ACCESSIBLENAME")).asString(), "");
    EXPECT_EQ(IVarPut(controls[kText], sym("ACCESSIBLENAME"), Value("Estado \xD1")).asString(),
              "Estado \xD1");
    EXPECT_EQ(text->text(QAccessible::Name), QString::fromUtf8("Estado \u00D1"));
    IVarPut(controls[kText], sym("CAPTION"), Value("listo"));
    EXPECT_EQ(text->text(QAccessible::Value), "listo");
    EXPECT_EQ(control<QWidget>(kText)->accessibleName(), QString::fromUtf8("Estado \u00D1"));
    // Without a fixed text before them, the template names neither edit.
    EXPECT_EQ(IVarGet(controls[kFirst], sym("ACCESSIBLENAME")).asString(), "");
}

} // namespace
} // namespace cuentas::gui
