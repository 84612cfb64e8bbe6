#include "tests/dialog/account_dialog_fixture.h"

namespace cuentas::testing {
namespace {

using enum MainDialogId;

TEST_F(AccountDialogTest, TheRoadOfOneTypicalUse) {
    int result = run([&] {
        type("49");
        tab();
        EXPECT_EQ(text(Banco), "0049");
        EXPECT_EQ(caption(Nombre), "BANCO SANTANDER");
        EXPECT_EQ(caption(Dc), ""); // branch and account still empty
        type("1");
        tab();
        EXPECT_EQ(caption(Dc), "");
        type("77");
        // "Grabar" pressed with the mouse while the focus is still in the account field: the
        // field is left first, so the display shows the digits before the file is written.
        driver->press(idOf(Grabar));
        EXPECT_EQ(caption(Dc), "53");
        EXPECT_FALSE(transferFile());
        driver->release(idOf(Grabar));
    });
    EXPECT_FALSE(leftOpen);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(transferFile(), "BANCO=BANCO SANTANDER\r\n20DIGITOS=00490001530000000077");
    EXPECT_TRUE(os.messageBoxes.empty());
}

TEST_F(AccountDialogTest, TabbingThroughTheFieldsLooksNoNameUp) {
    run([&] {
        type("49");
        // Every name a Tab sends or reads was interned while the program started.
        const std::size_t calls = Symbol::internCalls();
        const std::size_t names = Symbol::internedCount();
        tab(); // leaving the bank: its name is looked up, then the digits
        type("1");
        tab();
        type("77");
        tab();
        EXPECT_EQ(caption(Nombre), "BANCO SANTANDER");
        EXPECT_EQ(caption(Dc), "53");
        EXPECT_EQ(Symbol::internCalls(), calls);
        EXPECT_EQ(Symbol::internedCount(), names);
    });
}

TEST_F(AccountDialogTest, GrabarStraightAfterTypingABankCodeWritesThatBanksName) {
    run([&] {
        type("81");
        click(Grabar);
    });
    EXPECT_EQ(text(Banco), "0081");
    EXPECT_EQ(transferFile(), "BANCO=BANCO DE SABADELL\r\n20DIGITOS=00810000500000000000");
}

TEST_F(AccountDialogTest, CalcularShowsTheDigitsOfTheFieldsAsTheyAre) {
    run([&] {
        type("1234");
        tab();
        type("5678");
        tab();
        type("1234567890");
        tab();
        EXPECT_EQ(caption(Dc), "06");
        tab();
        tab();
        ASSERT_TRUE(focusIs(Calcular));
        // Clear the display behind the user's back: only the command can bring it back.
        Value dc = IVarGet(dialog, Symbol::intern("DC"));
        for (int press = 0; press < 2; ++press) {
            IVarPut(dc, Symbol::intern("CAPTION"), Value(""));
            driver->space();
            EXPECT_EQ(caption(Dc), "06");
        }
        IVarPut(dc, Symbol::intern("CAPTION"), Value(""));
        click(Calcular);
        EXPECT_EQ(caption(Dc), "06");
    });
    EXPECT_TRUE(leftOpen);
    EXPECT_FALSE(transferFile());
}

TEST_F(AccountDialogTest, CancelarEscapeAndTheCloseBoxWriteNothing) {
    writeOldTransferFile("BANCO=ANTERIOR\r\n20DIGITOS=11112222331234567890");
    struct Case {
        const char* how;
        int result;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"Cancelar", 1, [&] { click(Cancelar); }},
        {"Escape", gui::kClosedDialogResult, [&] { driver->escape(); }},
        {"close box", gui::kClosedDialogResult, [&] { driver->closeBox(); }},
    };
    for (const Case& c : cases) {
        newDialog();
        int result = run([&] {
            type("49");
            tab();
            type("1");
            c.act();
        });
        EXPECT_FALSE(leftOpen) << c.how;
        EXPECT_EQ(result, c.result) << c.how;
        EXPECT_EQ(transferFile(), "BANCO=ANTERIOR\r\n20DIGITOS=11112222331234567890") << c.how;
    }
}

TEST_F(AccountDialogTest, EnterMovesOnLikeTab) {
    run([&] {
        type("49");
        driver->enter();
        EXPECT_TRUE(focusIs(Sucursal));
        EXPECT_EQ(text(Banco), "0049");
        EXPECT_EQ(caption(Nombre), "BANCO SANTANDER");
        type("1");
        driver->keypadEnter();
        EXPECT_TRUE(focusIs(Cuenta));
        type("77");
        driver->enter();
        EXPECT_TRUE(focusIs(Grabar));
        EXPECT_EQ(caption(Dc), "53");
    });
    EXPECT_TRUE(leftOpen);
    EXPECT_FALSE(transferFile());
}

TEST_F(AccountDialogTest, EnterOrSpaceOnAFocusedButtonPressesIt) {
    const std::pair<const char*, void (DialogDriver::*)()> keys[] = {
        {"Enter", &DialogDriver::enter}, {"Space", &DialogDriver::space}};
    for (const auto& [name, key] : keys) {
        fs::remove(transferPath());
        newDialog();
        int result = run([&] {
            type("2100");
            tab();
            tab();
            tab();
            ASSERT_TRUE(focusIs(Grabar));
            ((*driver).*key)();
        });
        EXPECT_FALSE(leftOpen) << name;
        EXPECT_EQ(result, 0) << name;
        EXPECT_EQ(transferFile(), "BANCO=CAIXABANK\r\n20DIGITOS=21000000600000000000") << name;
    }
    newDialog();
    int result = run([&] {
        tab();
        tab();
        tab();
        tab();
        ASSERT_TRUE(focusIs(Cancelar));
        driver->enter();
    });
    EXPECT_EQ(result, 1);
}

} // namespace
} // namespace cuentas::testing
