#pragma once
// Drives the account dialog as a user does, on either side of the GUI class library (see
// tests/support/gui/dialog_driver.h): a fresh MAINDIALOG over a small bank directory, a base
// directory with its tmp folder under the system's temporary directory, and the operating
// system's message boxes recorded.

#include "dialog/dialog.h"
#include "platform/gui/gui.h"
#include "platform/os/operating_system.h"
#include "platform/os/paths.h"
#include "platform/runtime/arrays.h"
#include "tests/support/gui/dialog_driver.h"
#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

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
        startGuiToolkit();
        declareAccountDialog();
        base = fs::temp_directory_path() /
               ("cuentas-dialog-" + std::to_string(operatingSystem().processId()) + "-" +
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
        driver.reset();
        dialog = Value();
        bankDirectory() = Value();
        baseDirectory().clear();
        fs::remove_all(base);
    }

    // Replaces the dialog under test with a fresh one.
    void newDialog() {
        driver.reset();
        dialog = Value(CreateInstance(Symbol::intern("MAINDIALOG")));
        driver = driveDialog(dialog);
        ASSERT_NE(driver, nullptr);
    }

    // Shows the dialog modally; `actions` play the user inside its event loop. A dialog the
    // actions leave open is closed afterwards, and `leftOpen` tells so.
    int run(const std::function<void()>& actions) {
        const int result = driver->run(actions);
        leftOpen = driver->leftOpen();
        return result;
    }

    static int idOf(MainDialogId id) { return static_cast<int>(id); }
    // Keys typed into the field that has the focus.
    void type(std::string_view keys) const { driver->type(keys); }
    void tab() const { driver->tab(); }
    void click(MainDialogId id) const { driver->click(idOf(id)); }
    // Clicks into a field, which takes the focus from the one being left.
    void clickInto(MainDialogId id) const { driver->click(idOf(id)); }
    bool focusIs(MainDialogId id) const { return driver->focused() == idOf(id); }

    std::string text(MainDialogId id) const { return driver->text(idOf(id)); }
    std::string caption(MainDialogId id) const { return driver->text(idOf(id)); }

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
    std::unique_ptr<DialogDriver> driver;
    bool leftOpen = false;
};

} // namespace cuentas::testing
