// START as the process runs it: base directory, bank directory from the table in the current
// directory, then the dialog (closed by the test as soon as it is shown).
#include "app/app.h"
#include "dialog/account_globals.h"
#include "dialog/main_dialog_template.h"
#include "platform/gui/qt/template_dialog.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "tests/support/gui_application.h"
#include "tests/support/recording_errors.h"
#include "tests/support/recording_os.h"
#include "tools/make_bank_table/bank_table_writer.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace cuentas {
namespace {

namespace fs = std::filesystem;
using testing::RecordingErrors;
using testing::RecordingOs;

// A table of current entities, {code, name} each.
std::string bankTable(const std::vector<std::pair<std::string, std::string>>& banks) {
    std::vector<tools::BankRecord> records;
    for (const auto& [code, name] : banks) {
        records.push_back({code, name, "vigente", "", "", name});
    }
    return tools::bankTableImage(records, tools::UpdateDate{2026, 12, 7});
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

class StartTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::guiApplication();
        declareAllClasses();
        root = fs::temp_directory_path() /
               ("cuentas-start-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        previousDirectory = fs::current_path();
        fs::current_path(root);
        os.executable = (root / "bin" / "cuentas").string();
    }

    void TearDown() override {
        fs::current_path(previousDirectory);
        fs::remove_all(root);
        bankDirectory() = Value();
        baseDirectory().clear();
    }

    // Runs START; the dialog it shows is closed as soon as its event loop runs, after noting
    // that it was shown.
    void start() {
        dialogShown = false;
        QTimer::singleShot(0, [this] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                dialogShown = true;
                dialog->close();
            }
        });
        ScopedOs scoped(os);
        Value app(CreateInstance(Symbol::intern("APP")));
        Send(app, Symbol::intern("START"));
    }

    std::vector<std::pair<std::string, std::string>> directory() const {
        std::vector<std::pair<std::string, std::string>> entries;
        for (const Value& entry : bankDirectory().asArray()->elements()) {
            entries.emplace_back(entry.asArray()->at(1).asString(),
                                 entry.asArray()->at(2).asString());
        }
        return entries;
    }

    fs::path root;
    fs::path previousDirectory;
    RecordingOs os;
    bool dialogShown = false;
};

TEST_F(StartTest, EveryClassOfTheProgramIsDeclaredBeforeStart) {
    for (const char* name : {"APP", "MAINDIALOG", "DIALOGWINDOW", "DBSERVER", "ERROR", "LOGFILE"}) {
        EXPECT_NE(findClass(Symbol::intern(name)), nullptr) << name;
    }
    // A log named after the executable, beside it.
    ScopedOs scoped(os);
    Value log(CreateInstance(Symbol::intern("LOGFILE")));
    EXPECT_EQ(IVarGet(log, Symbol::intern("FNAME")).asString(),
              runtimePath((root / "bin" / "cuentas.log").string()));
    EXPECT_TRUE(fs::exists(root / "bin" / "cuentas.log"));
}

TEST_F(StartTest, BaseDirectoryIsTheWorkDirectoryLessFourCharacters) {
    writeFile(root / "NomBancos.dbf", bankTable({}));
    struct Case {
        const char* executable;
        const char* base;
    };
    const Case cases[] = {
        {"/opt/cuentas/bin/cuentas", "\\opt\\cuentas\\"},
        // Four characters are cut whatever they are: the last name here is longer than three.
        {"/programa/cuentas", "\\progr"},
        {"/abc/cuentas", "\\"},
    };
    for (const auto& c : cases) {
        os.executable = c.executable;
        start();
        EXPECT_EQ(baseDirectory(), c.base) << c.executable;
        EXPECT_TRUE(dialogShown);
    }
}

TEST_F(StartTest, AWorkDirectoryShorterThanFourCharactersTrapsBeforeTheTable) {
    os.executable = "/cuentas"; // work directory "\", one character
    RecordingErrors errors;
    start();
    ASSERT_GE(errors.errors.size(), 2u);
    EXPECT_EQ(errors.errors[0].genCode, gencode::kNumericOverflow);
    // The table (missing here) is opened only afterwards.
    EXPECT_EQ(errors.errors[1].genCode, gencode::kOpen);
}

TEST_F(StartTest, TheBankDirectoryHoldsEveryRecordInTableOrder) {
    writeFile(root / "NomBancos.dbf",
              bankTable({{"0049", "Primero"}, {"0081", "Sabadell"}, {"0049", "Segundo"}}));
    start();
    auto entries = directory();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].first, "0049");
    EXPECT_EQ(entries[1].first, "0081");
    EXPECT_EQ(entries[2].first, "0049");
    // Names as the table stores them: padded with blanks to the field's 70 characters.
    EXPECT_EQ(entries[0].second, "Primero" + std::string(63, ' '));
    EXPECT_TRUE(dialogShown);
}

// An operating system that counts the opens of the bank table.
class CountingOs : public RecordingOs {
public:
    int tableOpens = 0;
    int openFile(const std::string& path, const FileOpening& opening) override {
        tableOpens += path.ends_with("/NomBancos.dbf");
        return RecordingOs::openFile(path, opening);
    }
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// The table is read once and closed at once: another program may cut it short or rewrite it
// while the dialog is open, without being refused or held, and the dialog goes on showing and
// saving the names it read at start-up.
TEST_F(StartTest, ATableCutOrRewrittenWhileTheDialogIsOpenChangesNothingItShowsOrSaves) {
    const fs::path table = root / "NomBancos.dbf";
    writeFile(table, bankTable({{"0049", "Banco Santander, S.A."}, {"2100", "CaixaBank, S.A."}}));
    writeFile(root / "other.dbf", bankTable({{"0049", "Otro banco"}}));
    fs::create_directories(root / "tmp");
    CountingOs counting;
    counting.executable = os.executable;
    std::map<int, void (*)(int)> handlersBefore; // a sanitizer may have its own
    for (int signal : {SIGIO, SIGBUS}) {
        struct sigaction action = {};
        ::sigaction(signal, nullptr, &action);
        handlersBefore[signal] = action.sa_handler;
    }
    bool typed = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<gui::TemplateDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        const std::string quoted = "'" + table.string() + "'";
        EXPECT_EQ(std::system(("truncate -s 0 " + quoted).c_str()), 0);
        EXPECT_EQ(std::system(("cp '" + (root / "other.dbf").string() + "' " + quoted).c_str()), 0);
        auto control = [dialog](MainDialogId id) { return dialog->control(static_cast<int>(id)); };
        QTest::keyClicks(control(MainDialogId::Banco), "49");
        QTest::keyClick(control(MainDialogId::Banco), Qt::Key_Tab);
        QTest::keyClicks(control(MainDialogId::Sucursal), "1");
        QTest::keyClick(control(MainDialogId::Sucursal), Qt::Key_Tab);
        QTest::keyClicks(control(MainDialogId::Cuenta), "77");
        typed = true;
        QTest::mouseClick(
            qobject_cast<QPushButton*>(dialog->control(static_cast<int>(MainDialogId::Grabar))),
            Qt::LeftButton);
    });
    {
        ScopedOs scoped(counting);
        Value app(CreateInstance(Symbol::intern("APP")));
        Send(app, Symbol::intern("START"));
    }
    ASSERT_TRUE(typed);
    EXPECT_EQ(readFile(root / "tmp" / "xtras.ini"),
              "BANCO=Banco Santander, S.A.\r\n20DIGITOS=00490001530000000077");
    EXPECT_EQ(counting.tableOpens, 1);
    // Nothing of the runtime waits on the table's file: START installs no signal handler.
    for (int signal : {SIGIO, SIGBUS}) {
        struct sigaction action = {};
        ASSERT_EQ(::sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, handlersBefore.at(signal)) << signal;
    }
}

TEST_F(StartTest, NamesKeepLeadingBlanksAndEveryStoredByte) {
    // Written by an independent tool: leading blanks, NUL, CR LF and a deleted record.
    fs::copy_file(fs::path(std::getenv("CUENTAS_TEST_DATA")) / "dbf" / "bancos_fp.dbf",
                  root / "NomBancos.dbf");
    fs::copy_file(fs::path(std::getenv("CUENTAS_TEST_DATA")) / "dbf" / "bancos_fp.fpt",
                  root / "NomBancos.fpt");
    start();
    auto entries = directory();
    ASSERT_EQ(entries.size(), 5u); // the deleted record is read like any other
    EXPECT_EQ(entries[0].second.substr(0, 17), "  Banco Santander");
    EXPECT_EQ(entries[1].second.substr(0, 12), std::string("Sabadell\0NUL", 12));
    EXPECT_EQ(entries[4].first, " 182");
}

TEST_F(StartTest, AnEmptyTableStillShowsTheDialog) {
    writeFile(root / "NomBancos.dbf", bankTable({}));
    start();
    EXPECT_TRUE(directory().empty());
    EXPECT_TRUE(dialogShown);
}

TEST_F(StartTest, TheTableIsLookedForInTheCurrentDirectoryOnly) {
    // Beside the executable and in the base directory there is a table, but not in the
    // current directory.
    fs::create_directories(root / "cwd");
    fs::current_path(root / "cwd");
    writeFile(root / "bin" / "NomBancos.dbf", bankTable({{"0049", "Junto al programa"}}));
    writeFile(root / "NomBancos.dbf", bankTable({{"0049", "En la base"}}));
    RecordingErrors errors;
    start();
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].genCode, gencode::kOpen);
    EXPECT_EQ(errors.errors[0].description, "Cannot open NomBancos.dbf in " +
                                                runtimePath((root / "cwd").string()) +
                                                "\\: file not found");
    // Answered with "default": the table counts as empty and the dialog comes up.
    EXPECT_TRUE(directory().empty());
    EXPECT_TRUE(dialogShown);
}

} // namespace
} // namespace cuentas
