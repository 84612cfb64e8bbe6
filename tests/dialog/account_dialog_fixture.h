#pragma once
// Drives the account dialog as a user does: a fresh MAINDIALOG over a small bank directory,
// a base directory with its tmp folder under the system's temporary directory, and the
// operating system's message boxes recorded.

#include "dialog/dialog.h"
#include "platform/gui/gui.h"
#include "platform/gui/qt_text.h"
#include "platform/os/paths.h"
#include "platform/runtime/arrays.h"
#include "tests/support/gui_application.h"
#include "tests/support/recording_os.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <unistd.h>

namespace cuentas::testing {

namespace fs = std::filesystem;

inline Value bankEntries(std::initializer_list<std::pair<const char*, std::string>> banks) {
    ArrayRef directory = ArrayCreate(static_cast<std::uint32_t>(banks.size()));
    std::size_t i = 0;
    for (const auto& [code, name] : banks) {
        directory->put(++i, Value(ArrayBuild({Value(code), Value(name)})));
    }
    return Value(directory);
}

class AccountDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        guiApplication();
        declareAccountDialog();
        base = fs::temp_directory_path() /
               ("cuentas-dialog-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(base);
        fs::create_directories(base / "tmp");
        baseDirectory() = runtimePath(base.string()) + "\\";
        // Names as a table gives them: padded with blanks to the field width.
        bankDirectory() = bankEntries({{"0049", "BANCO SANTANDER         "},
                                       {"0081", "BANCO DE SABADELL       "},
                                       {"0049", "SEGUNDO 0049            "},
                                       {"0100", "  DOS BLANCOS           "},
                                       {"2100", "CAIXABANK               "}});
        newDialog();
    }

    void TearDown() override {
        dialog = Value();
        bankDirectory() = Value();
        baseDirectory().clear();
        fs::remove_all(base);
    }

    // Replaces the dialog under test with a fresh one.
    void newDialog() {
        dialog = Value(CreateInstance(Symbol::intern("MAINDIALOG")));
        window = objectAs<gui::DialogWindow>(dialog)->widget();
        ASSERT_NE(window, nullptr);
    }

    // Shows the dialog modally; `actions` play the user inside its event loop. A dialog the
    // actions leave open is closed afterwards, and `leftOpen` tells so.
    int run(const std::function<void()>& actions) {
        leftOpen = false;
        QTimer::singleShot(0, window, [&] {
            EXPECT_TRUE(QTest::qWaitForWindowActive(window));
            actions();
            if (window->isVisible()) {
                leftOpen = true;
                window->done(-1);
            }
        });
        return Send(dialog, Symbol::intern("SHOW")).asInteger();
    }

    QLineEdit* edit(MainDialogId id) const {
        return qobject_cast<QLineEdit*>(window->control(static_cast<int>(id)));
    }
    QPushButton* button(MainDialogId id) const {
        return qobject_cast<QPushButton*>(window->control(static_cast<int>(id)));
    }
    QLabel* label(MainDialogId id) const {
        return qobject_cast<QLabel*>(window->control(static_cast<int>(id)));
    }
    static QWidget* focus() { return QApplication::focusWidget(); }

    // Keys typed into the field that has the focus.
    static void type(const char* keys) { QTest::keyClicks(focus(), keys); }
    static void tab() { QTest::keyClick(focus(), Qt::Key_Tab); }
    void click(MainDialogId id) const { QTest::mouseClick(button(id), Qt::LeftButton); }
    // Clicks into a field, which takes the focus from the one being left.
    void clickInto(MainDialogId id) const { QTest::mouseClick(edit(id), Qt::LeftButton); }

    std::string text(MainDialogId id) const { return toWindows1252(edit(id)->text()); }
    std::string caption(MainDialogId id) const { return toWindows1252(label(id)->text()); }

    fs::path transferPath() const { return base / "tmp" / "xtras.ini"; }
    std::optional<std::string> transferFile() const {
        if (!fs::exists(transferPath())) {
            return std::nullopt;
        }
        std::ifstream in(transferPath(), std::ios::binary);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }
    void writeOldTransferFile(const std::string& content) const {
        std::ofstream(transferPath(), std::ios::binary) << content;
    }

    RecordingOs os;
    ScopedOs scopedOs{os};
    fs::path base;
    Value dialog;
    gui::TemplateDialog* window = nullptr;
    bool leftOpen = false;
};

} // namespace cuentas::testing
