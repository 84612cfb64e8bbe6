#include "platform/os/os_error.h"
#include "tests/dialog/account_dialog_fixture.h"

#include <cerrno>

namespace cuentas::testing {
namespace {

using enum MainDialogId;

// What the system can tell of a file where a folder should be: POSIX names it, Windows finds
// no such folder.
#ifdef _WIN32
const char* const kFileInTheWay = "No existe la carpeta de destino.";
#else
const char* const kFileInTheWay = "Una parte de la ruta es un fichero y no una carpeta.";
#endif

const std::string kRetryAdvice =
    "\n\nCorrija la causa y pulse \"Grabar\" de nuevo, o pulse \"Cancelar\" para salir sin "
    "grabar.";

TEST_F(AccountDialogTest, WorkedExamplesOfTheControlDigits) {
    struct Case {
        const char *bank, *branch, *account, *shown, *file;
    };
    const Case cases[] = {
        {"1234", "5678", "1234567890", "06", "BANCO=Inexistente\r\n20DIGITOS=12345678061234567890"},
        {"1000", "0005", "1000000000", "11", "BANCO=Inexistente\r\n20DIGITOS=10000005111000000000"},
        {"49", "1", "77", "53", "BANCO=BANCO SANTANDER\r\n20DIGITOS=00490001530000000077"},
        {"0000", "0000", "0000010000", "01", "BANCO=Inexistente\r\n20DIGITOS=00000000010000010000"},
        {"9999", "9999", "9999999999", "50", "BANCO=Inexistente\r\n20DIGITOS=99999999509999999999"},
        // Empty fields clear the display, yet "Grabar" writes them as zeros with digits 00.
        {"", "", "", "", "BANCO=Inexistente\r\n20DIGITOS=00000000000000000000"},
    };
    for (const Case& c : cases) {
        fs::remove(transferPath());
        newDialog();
        int result = run([&] {
            type(c.bank);
            tab();
            type(c.branch);
            tab();
            type(c.account);
            click(Calcular);
            EXPECT_EQ(caption(Dc), c.shown) << c.bank << "/" << c.branch << "/" << c.account;
            click(Grabar);
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(transferFile(), c.file) << c.bank << "/" << c.branch << "/" << c.account;
    }
}

TEST_F(AccountDialogTest, ABranchLeftEmptyClearsTheDigitsButIsWrittenAsZeros) {
    run([&] {
        type("1234");
        tab();
        tab();
        type("1234567890");
        click(Calcular);
        EXPECT_EQ(caption(Dc), "");
        click(Grabar);
    });
    EXPECT_EQ(transferFile(), "BANCO=Inexistente\r\n20DIGITOS=12340000261234567890");
}

TEST_F(AccountDialogTest, GrabarWithEveryFieldEmptyLooksUpBankZeroFirst) {
    run([&] { click(Grabar); });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(text(Banco), "0000");
    EXPECT_EQ(transferFile(), "BANCO=Inexistente\r\n20DIGITOS=00000000000000000000");
}

TEST_F(AccountDialogTest, LeavingTheBankFieldZeroFillsAndLooksUpTheCode) {
    struct Case {
        const char *typed, *field, *name;
    };
    const Case cases[] = {
        {"49", "0049", "BANCO SANTANDER"}, // the first of two entries with 0049
        {"", "0000", "Inexistente"},       {"9", "0009", "Inexistente"},
        {"100", "0100", "  DOS BLANCOS"}, // leading blanks stay, trailing ones go
        {"2100", "2100", "CAIXABANK"},
    };
    for (const Case& c : cases) {
        newDialog();
        run([&] {
            type(c.typed);
            tab();
            EXPECT_EQ(text(Banco), c.field) << c.typed;
            EXPECT_EQ(caption(Nombre), c.name) << c.typed;
        });
    }
}

TEST_F(AccountDialogTest, AnEmptyOrMissingBankDirectoryKnowsNoBank) {
    for (Value directory : {bankEntries({}), Value()}) {
        bankDirectory() = directory;
        newDialog();
        run([&] {
            type("49");
            tab();
            EXPECT_EQ(caption(Nombre), "Inexistente");
        });
    }
}

TEST_F(AccountDialogTest, OnlyLeavingTheBankFieldTouchesTheName) {
    run([&] {
        type("49");
        tab();
        Value nombre = IVarGet(dialog, Symbol::intern("NOMBRE"));
        IVarPut(nombre, Symbol::intern("CAPTION"), Value("marca"));
        type("5678");
        tab();
        type("1234567890");
        clickInto(Banco); // leaves CUENTA, gains BANCO
        EXPECT_EQ(caption(Dc), "96");
        EXPECT_EQ(caption(Nombre), "marca");
        // Editing the code does not clear the name either, until the field is left.
        driver->selectAll();
        type("81");
        EXPECT_EQ(caption(Nombre), "marca");
        tab();
        EXPECT_EQ(caption(Nombre), "BANCO DE SABADELL");
    });
}

TEST_F(AccountDialogTest, LeavingTheBankEmptyShowsTheDigitsForBankZero) {
    run([&] {
        tab();
        type("5678");
        tab();
        type("1234567890");
        tab();
        EXPECT_EQ(text(Banco), "0000");
        EXPECT_EQ(caption(Dc), "96");
    });
}

TEST_F(AccountDialogTest, FocusEventsWithoutAControlOrGainingTheFocusDoNothing) {
    const Symbol handler = Symbol::intern("EDITFOCUSCHANGE");
    Value banco = IVarGet(dialog, Symbol::intern("BANCO"));
    std::array<Value, 1> none{Value()};
    EXPECT_TRUE(Send(dialog, handler, none).isNil());
    std::array<Value, 1> gained{gui::makeEditFocusChangeEvent(banco, true)};
    Send(dialog, handler, gained);
    EXPECT_EQ(text(Banco), "");
    EXPECT_EQ(caption(Nombre), "");
    std::array<Value, 1> lost{gui::makeEditFocusChangeEvent(banco, false)};
    Send(dialog, handler, lost);
    EXPECT_EQ(text(Banco), "0000");
    EXPECT_EQ(caption(Nombre), "Inexistente");
}

TEST_F(AccountDialogTest, ANameWiderThanItsDisplayIsKeptAndWrittenWhole) {
    const std::string name = "CAJA RURAL DE LAS COMARCAS DEL INTERIOR Y DE LA COSTA, SOCIEDAD "
                             "COOPERATIVA DE CR\xC9"
                             "DITO";
    bankDirectory() = bankEntries({{"3001", name + "     "}});
    newDialog();
    run([&] {
        type("3001");
        click(Grabar);
    });
    EXPECT_EQ(caption(Nombre), name);
    EXPECT_EQ(transferFile(), "BANCO=" + name + "\r\n20DIGITOS=30010000000000000000");
}

TEST_F(AccountDialogTest, ALaterGrabarReplacesTheWholeFile) {
    writeOldTransferFile("BANCO=UN NOMBRE ANTERIOR MUCHO MAS LARGO\r\n20DIGITOS=1111222233"
                         "1234567890\r\nOTRA=LINEA\r\n");
    run([&] {
        type("49");
        click(Grabar);
    });
    EXPECT_EQ(transferFile(), "BANCO=BANCO SANTANDER\r\n20DIGITOS=00490000000000000000");
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(base / "tmp"), fs::directory_iterator()), 1);
}

TEST_F(AccountDialogTest, AnUnwritableTmpKeepsTheDialogOpenAndSaysWhy) {
    // A regular file where the folder should be: no user, root included, can write under it.
    fs::remove_all(base / "tmp");
    std::ofstream(base / "tmp") << "not a folder";
    int result = run([&] {
        type("49");
        tab();
        type("1");
        tab();
        type("77");
        click(Grabar);
        EXPECT_TRUE(driver->isShown());
        ASSERT_EQ(os.messageBoxes.size(), 1u);
        EXPECT_EQ(os.messageBoxes[0].text, "No se ha podido grabar el fichero\n" +
                                               (base / "tmp" / "xtras.ini").string() + "\n\n" +
                                               kFileInTheWay + kRetryAdvice);
        EXPECT_EQ(os.messageBoxes[0].caption, kMainDialogCaption);
        EXPECT_EQ(os.messageBoxes[0].flags, kMessageBoxOk | kMessageBoxIconError);
        // Every field stays as typed.
        EXPECT_EQ(text(Banco), "0049");
        EXPECT_EQ(text(Sucursal), "1");
        EXPECT_EQ(text(Cuenta), "77");
        EXPECT_EQ(caption(Nombre), "BANCO SANTANDER");
        EXPECT_EQ(caption(Dc), "53");
        click(Cancelar);
    });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(fs::is_regular_file(base / "tmp"));
}

TEST_F(AccountDialogTest, AMissingTmpFolderIsReportedAndNotCreated) {
    fs::remove_all(base / "tmp");
    run([&] {
        type("49");
        click(Grabar);
    });
    EXPECT_TRUE(leftOpen);
    ASSERT_EQ(os.messageBoxes.size(), 1u);
    EXPECT_NE(os.messageBoxes[0].text.find("No existe la carpeta de destino."), std::string::npos);
    EXPECT_FALSE(fs::exists(base / "tmp"));
}

// Fails every write while `full` is set, as a full disk does.
struct FullDiskOs : RecordingOs {
    bool full = true;
    long writeFile(int fd, const void* data, std::size_t size) override {
        return full ? -systemErrorFor(oserror::kDiskFull) : RecordingOs::writeFile(fd, data, size);
    }
};

TEST_F(AccountDialogTest, AFolderNamedLikeTheTransferFileIsNamedAsTheCause) {
    fs::create_directories(base / "tmp" / "xtras.ini");
    int result = run([&] {
        click(Grabar);
        EXPECT_TRUE(driver->isShown());
        ASSERT_EQ(os.messageBoxes.size(), 1u);
        EXPECT_EQ(os.messageBoxes[0].text,
                  "No se ha podido grabar el fichero\n" + (base / "tmp" / "xtras.ini").string() +
                      "\n\nYa hay una carpeta con el nombre del fichero." + kRetryAdvice);
        click(Cancelar);
    });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(fs::is_directory(base / "tmp" / "xtras.ini"));
}

TEST_F(AccountDialogTest, AFailedWriteKeepsTheOldFileAndARetrySucceeds) {
    const std::string old = "BANCO=ANTERIOR\r\n20DIGITOS=11112222331234567890";
    writeOldTransferFile(old);
    FullDiskOs disk;
    ScopedOs scoped(disk);
    int result = run([&] {
        type("81");
        tab();
        type("1");
        tab();
        type("77");
        click(Grabar);
        ASSERT_EQ(disk.messageBoxes.size(), 1u);
        EXPECT_NE(disk.messageBoxes[0].text.find("El disco est\xE1 lleno."), std::string::npos);
        EXPECT_EQ(transferFile(), old);
        EXPECT_EQ(std::distance(fs::directory_iterator(base / "tmp"), fs::directory_iterator()), 1);
        // The user frees some space and saves again.
        disk.full = false;
        click(Grabar);
    });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(disk.messageBoxes.size(), 1u);
    EXPECT_EQ(transferFile(), "BANCO=BANCO DE SABADELL\r\n20DIGITOS=00810001130000000077");
}

TEST_F(AccountDialogTest, ControlCharactersInANameNeverBreakTheTwoLines) {
    const std::string stored("BANCO\r\nINYECTADO=1\0X\t   ", 23);
    bankDirectory() = bankEntries({{"0049", stored}});
    newDialog();
    run([&] {
        type("49");
        tab();
        EXPECT_EQ(caption(Nombre), "BANCO  INYECTADO=1 X");
        click(Grabar);
    });
    EXPECT_EQ(transferFile(), "BANCO=BANCO  INYECTADO=1 X\r\n20DIGITOS=00490000000000000000");
    // The directory keeps the name as stored.
    EXPECT_EQ(bankDirectory().asArray()->at(1).asArray()->at(2).asString(), stored);
}

TEST(DisplayedBankName, BlanksForControlBytesThenNoTrailingBlanks) {
    struct Case {
        std::string stored, shown;
    };
    const Case cases[] = {
        {"BANCO   ", "BANCO"},
        {"  A  ", "  A"},
        {"A\r\nB", "A  B"},
        {std::string("A\0B", 3), "A B"},
        {"A\x1F\x01", "A"},
        {"\x7F\xD1"
         "A",
         "\x7F\xD1"
         "A"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(displayedBankName(c.stored), c.shown);
    }
}

} // namespace
} // namespace cuentas::testing
