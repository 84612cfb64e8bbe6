#include "tests/dialog/account_dialog_fixture.h"

namespace cuentas::testing {
namespace {

using enum MainDialogId;

struct ControlLayout {
    MainDialogId id;
    const char* name;
    gui::DialogRect rect; // dialog units
    const char* text;
};

// The dialog's controls as they must appear, written out independently of the template data.
const ControlLayout kLayout[] = {
    {Banco, "BANCO", {80, 11, 27, 13}, ""},
    {Sucursal, "SUCURSAL", {80, 28, 27, 12}, ""},
    {Cuenta, "CUENTA", {80, 60, 58, 13}, ""},
    {Grabar, "GRABAR", {233, 84, 53, 25}, "Grabar"},
    {Cancelar, "CANCELAR", {172, 84, 53, 25}, "Cancelar"},
    {FixedText1, "FIXEDTEXT1", {4, 13, 72, 12}, "N\xBA Banco :"},
    {FtSucursal, "FTSUCURSAL", {4, 29, 72, 13}, "N\xBA Sucursal :"},
    {FixedText3, "FIXEDTEXT3", {4, 46, 72, 12}, "D\xEDgitos Control :"},
    {FixedText4, "FIXEDTEXT4", {4, 61, 72, 12}, "N\xBA de cuenta :"},
    {Nombre, "NOMBRE", {116, 11, 202, 13}, ""},
    {Dc, "DC", {80, 44, 16, 13}, ""},
    {Calcular, "CALCULAR", {101, 44, 36, 13}, "Calcular"},
};

// Within one pixel on every side.
::testing::AssertionResult near(const gui::PixelRect& shown, const gui::PixelRect& expected) {
    auto close = [](int a, int b) { return a - b <= 1 && b - a <= 1; };
    if (close(shown.x, expected.x) && close(shown.y, expected.y) &&
        close(shown.width, expected.width) && close(shown.height, expected.height)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "shown at " << shown.x << "," << shown.y << " " << shown.width << "x" << shown.height
           << ", expected " << expected.x << "," << expected.y << " " << expected.width << "x"
           << expected.height;
}

TEST_F(AccountDialogTest, EveryControlSitsAtItsDialogUnitsInPixels) {
    // Dialog units are measured in the template face, "MS Shell Dlg" at 8 points, 96 dpi.
    const gui::BaseUnits units = measuredBaseUnits(gui::FontDefinition{"MS Shell Dlg", 8});
    run([&] {
        for (const ControlLayout& c : kLayout) {
            EXPECT_TRUE(near(driver->rect(idOf(c.id)), gui::toPixels(c.rect, units))) << c.name;
        }
        EXPECT_TRUE(near(driver->clientRect(), gui::toPixels({0, 0, 322, 112}, units)));
    });
}

TEST_F(AccountDialogTest, TheTemplateTextsAreShown) {
    for (const ControlLayout& c : kLayout) {
        EXPECT_EQ(driver->text(idOf(c.id)), c.text) << c.name;
    }
    run([&] {
        for (const ControlLayout& c : kLayout) {
            EXPECT_EQ(driver->text(idOf(c.id)), c.text) << c.name;
        }
    });
}

TEST_F(AccountDialogTest, CaptionFontsAndLabelRecords) {
    EXPECT_EQ(IVarGet(dialog, Symbol::intern("CAPTION")).asString(), kMainDialogCaption);
    EXPECT_TRUE(IVarGet(dialog, Symbol::intern("CLASSICKEYS")).asLogic());
    EXPECT_EQ(IVarGet(dialog, Symbol::intern("NAMESYM")).asSymbol(), Symbol::intern("MAINDIALOG"));
    Value dialogLabel = IVarGet(dialog, Symbol::intern("HYPERLABEL"));
    EXPECT_EQ(IVarGet(dialogLabel, Symbol::intern("CAPTION")).asString(), kMainDialogCaption);
    for (const ControlLayout& c : kLayout) {
        Value control = IVarGet(dialog, Symbol::intern(c.name));
        EXPECT_EQ(IVarGet(control, Symbol::intern("NAMESYM")).asSymbol(), Symbol::intern(c.name));
        Value label = IVarGet(control, Symbol::intern("HYPERLABEL"));
        EXPECT_EQ(IVarGet(label, Symbol::intern("CAPTION")).asString(), c.text) << c.name;
        EXPECT_EQ(IVarGet(label, Symbol::intern("DESCRIPTION")).asString(), "") << c.name;
        EXPECT_EQ(IVarGet(label, Symbol::intern("HELPCONTEXT")).asString(), "") << c.name;
    }
    Value font = IVarGet(IVarGet(dialog, Symbol::intern("NOMBRE")), Symbol::intern("FONT"));
    EXPECT_EQ(IVarGet(font, Symbol::intern("FACENAME")).asString(), "Microsoft Sans Serif");
    EXPECT_EQ(IVarGet(font, Symbol::intern("SIZE")).asInteger(), 8);
    EXPECT_TRUE(IVarGet(font, Symbol::intern("BOLD")).asLogic());
    // One font shared by all but CALCULAR, which keeps the template's.
    EXPECT_EQ(IVarGet(IVarGet(dialog, Symbol::intern("BANCO")), Symbol::intern("FONT")).asObject(),
              font.asObject());
    EXPECT_TRUE(
        IVarGet(IVarGet(dialog, Symbol::intern("CALCULAR")), Symbol::intern("FONT")).isNil());
}

TEST_F(AccountDialogTest, MasksAdmitOnlyDigitsUpToTheirLength) {
    run([&] {
        type("12ab345");
        EXPECT_EQ(text(Banco), "1234");
        tab();
        type("x9-8 7.65");
        EXPECT_EQ(text(Sucursal), "9876");
        tab();
        type("123456789012");
        EXPECT_EQ(text(Cuenta), "1234567890");
        // A paste that breaks the mask is refused whole.
        driver->selectAll();
        driver->paste(idOf(Cuenta), "12a4");
        EXPECT_EQ(text(Cuenta), "1234567890");
        driver->selectAll();
        driver->paste(idOf(Cuenta), "0077");
        EXPECT_EQ(text(Cuenta), "0077");
    });
}

TEST_F(AccountDialogTest, FocusStartsInBancoAndTabFollowsTheTemplateOrder) {
    run([&] {
        EXPECT_TRUE(focusIs(Banco));
        std::vector<int> order;
        for (int i = 0; i < 6; ++i) {
            tab();
            order.push_back(driver->focused());
        }
        // From CUENTA the Tab goes to GRABAR, not to CALCULAR beside the digits.
        EXPECT_EQ(order, (std::vector<int>{idOf(Sucursal), idOf(Cuenta), idOf(Grabar),
                                           idOf(Cancelar), idOf(Calcular), idOf(Banco)}));
    });
}

TEST_F(AccountDialogTest, AfterInitTheFieldsAndDisplaysAreEmpty) {
    for (MainDialogId id : {Banco, Sucursal, Cuenta}) {
        EXPECT_EQ(text(id), "");
    }
    EXPECT_EQ(caption(Nombre), "");
    EXPECT_EQ(caption(Dc), "");
}

} // namespace
} // namespace cuentas::testing
