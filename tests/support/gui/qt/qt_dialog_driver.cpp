// The dialog driver on Qt: QTest's key and mouse events, Qt's clipboard.
#include "platform/gui/qt/fonts.h"
#include "platform/gui/qt/qt_dialog.h"
#include "platform/gui/qt/qt_text.h"
#include "tests/support/gui/dialog_driver.h"
#include "tests/support/gui_application.h"

#include <QClipboard>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace cuentas::testing {
namespace {

class QtDialogDriver : public DialogDriver {
public:
    explicit QtDialogDriver(gui::DialogWindow& dialog)
        : DialogDriver(dialog), m_window(gui::templateDialogOf(dialog)) {}

    int run(const std::function<void()>& actions) override {
        m_leftOpen = false;
        QTimer::singleShot(0, m_window, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(m_window));
            actions();
            if (m_window->isVisible()) {
                m_leftOpen = true;
                m_window->done(-1);
            }
        });
        return m_dialog.show().asInteger();
    }
    bool isShown() const override { return m_window->isVisible(); }

    void type(std::string_view keys) override { QTest::keyClicks(focus(), fromWindows1252(keys)); }
    void tab() override { QTest::keyClick(focus(), Qt::Key_Tab); }
    void enter() override { QTest::keyClick(focus(), Qt::Key_Return); }
    void keypadEnter() override { QTest::keyClick(focus(), Qt::Key_Enter, Qt::KeypadModifier); }
    void escape() override { QTest::keyClick(focus(), Qt::Key_Escape); }
    void space() override { QTest::keyClick(focus(), Qt::Key_Space); }
    void selectAll() override { QTest::keyClick(focus(), Qt::Key_A, Qt::ControlModifier); }
    void end() override { QTest::keyClick(focus(), Qt::Key_End); }

    void click(int id) override { QTest::mouseClick(widget(id), Qt::LeftButton); }
    void press(int id) override { QTest::mousePress(widget(id), Qt::LeftButton); }
    void release(int id) override { QTest::mouseRelease(widget(id), Qt::LeftButton); }
    void paste(int id, std::string_view utf8) override {
        QApplication::clipboard()->setText(
            QString::fromUtf8(utf8.data(), static_cast<int>(utf8.size())));
        QTest::keyClick(widget(id), Qt::Key_V, Qt::ControlModifier);
    }
    void closeBox() override { m_window->close(); }

    gui::PixelRect rect(int id) const override {
        const QRect r = widget(id)->geometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }
    gui::PixelRect clientRect() const override {
        return {0, 0, m_window->width(), m_window->height()};
    }
    int focused() const override {
        QWidget* focus = QApplication::focusWidget();
        for (const gui::ControlTemplate& control : m_window->dialogTemplate().controls) {
            if (focus && m_window->control(control.id) == focus) {
                return control.id;
            }
        }
        return 0;
    }

private:
    static QWidget* focus() { return QApplication::focusWidget(); }
    QWidget* widget(int id) const { return m_window->control(id); }

    gui::TemplateDialog* m_window;
};

} // namespace

gui::BaseUnits measuredBaseUnits(const gui::FontDefinition& font) {
    guiApplication();
    return gui::baseUnitsOf(gui::toQFont(font, 96));
}

void startGuiToolkit() {
    guiApplication();
}

std::unique_ptr<DialogDriver> driveDialog(const Value& dialog) {
    auto* window = objectAs<gui::DialogWindow>(dialog);
    return window && gui::templateDialogOf(*window) ? std::make_unique<QtDialogDriver>(*window)
                                                    : nullptr;
}

} // namespace cuentas::testing
