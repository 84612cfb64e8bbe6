// What a screen reader finds in the account dialog, read through Qt's accessibility interface.
#include "tests/dialog/qt/qt_account_dialog_fixture.h"

#include <QAccessible>

namespace cuentas::testing {
namespace {

using enum MainDialogId;

QAccessibleInterface* accessibleOf(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

QString shownText(QAccessibleInterface* iface) {
    QAccessibleTextInterface* text = iface->textInterface();
    return text ? text->text(0, text->characterCount()) : QString("<no text interface>");
}

TEST_F(QtAccountDialogTest, EveryControlHasARoleAndAName) {
    struct Expected {
        MainDialogId id;
        QAccessible::Role role;
        const char* name; // Windows-1252
    };
    const Expected controls[] = {
        {Banco, QAccessible::EditableText, "N\xBA Banco"},
        {Sucursal, QAccessible::EditableText, "N\xBA Sucursal"},
        {Cuenta, QAccessible::EditableText, "N\xBA de cuenta"},
        {Grabar, QAccessible::Button, "Grabar"},
        {Cancelar, QAccessible::Button, "Cancelar"},
        {FixedText1, QAccessible::StaticText, "N\xBA Banco :"},
        {FtSucursal, QAccessible::StaticText, "N\xBA Sucursal :"},
        {FixedText3, QAccessible::StaticText, "D\xEDgitos Control :"},
        {FixedText4, QAccessible::StaticText, "N\xBA de cuenta :"},
        {Nombre, QAccessible::StaticText, "Nombre del banco"},
        {Dc, QAccessible::StaticText, "D\xEDgitos Control"},
        {Calcular, QAccessible::Button, "Calcular"},
    };
    for (const Expected& c : controls) {
        QAccessibleInterface* iface = accessibleOf(window()->control(static_cast<int>(c.id)));
        ASSERT_NE(iface, nullptr) << c.name;
        EXPECT_EQ(iface->role(), c.role) << c.name;
        EXPECT_EQ(iface->text(QAccessible::Name), fromWindows1252(c.name)) << c.name;
    }
    QAccessibleInterface* dialogIface = accessibleOf(window());
    EXPECT_EQ(dialogIface->role(), QAccessible::Dialog);
    EXPECT_EQ(dialogIface->text(QAccessible::Name), fromWindows1252(kMainDialogCaption));
    EXPECT_EQ(dialogIface->childCount(), 12);
    // The program reads the names through the controls' property.
    EXPECT_EQ(IVarGet(IVarGet(dialog, Symbol::intern("NOMBRE")), Symbol::intern("ACCESSIBLENAME"))
                  .asString(),
              "Nombre del banco");
    EXPECT_EQ(IVarGet(IVarGet(dialog, Symbol::intern("BANCO")), Symbol::intern("ACCESSIBLENAME"))
                  .asString(),
              "N\xBA Banco");
}

TEST_F(QtAccountDialogTest, TheDisplaysOfferWhatTheyShowAsTheirValue) {
    QAccessibleInterface* name = accessibleOf(label(Nombre));
    QAccessibleInterface* digits = accessibleOf(label(Dc));
    EXPECT_EQ(name->text(QAccessible::Value), "");
    EXPECT_EQ(digits->text(QAccessible::Value), "");
    run([&] {
        type("2100");
        tab();
        EXPECT_EQ(name->text(QAccessible::Value), "CAIXABANK");
        EXPECT_EQ(shownText(name), "CAIXABANK");
        EXPECT_EQ(name->text(QAccessible::Name), "Nombre del banco");
        type("418");
        tab();
        type("200051332");
        tab();
        EXPECT_EQ(digits->text(QAccessible::Value), "45");
        EXPECT_EQ(shownText(digits), "45");
        EXPECT_EQ(digits->text(QAccessible::Name), fromWindows1252("D\xEDgitos Control"));
        // The edits' values are what was typed, zero-filled where the dialog fills.
        EXPECT_EQ(accessibleOf(edit(Banco))->text(QAccessible::Value), "2100");
        EXPECT_EQ(accessibleOf(edit(Cuenta))->text(QAccessible::Value), "200051332");
        // A fixed text is named by what it shows and has no value apart from it.
        EXPECT_EQ(accessibleOf(label(FixedText1))->text(QAccessible::Value), "");
    });
}

TEST_F(QtAccountDialogTest, AScreenReaderFindsTheFocusWhereTheKeyboardPutIt) {
    run([&] {
        QAccessibleInterface* dialogIface = accessibleOf(window());
        struct Step {
            std::function<void()> keys;
            const char* focused;
        };
        const Step steps[] = {
            {[] {}, "N\xBA Banco"},
            {[this] {
                 type("49");
                 tab();
             },
             "N\xBA Sucursal"},
            {[this] { tab(); }, "N\xBA de cuenta"},
            {[this] { QTest::keyClick(focus(), Qt::Key_Return); }, "Grabar"},
            {[this] { tab(); }, "Cancelar"},
            {[this] { tab(); }, "Calcular"},
            {[this] { tab(); }, "N\xBA Banco"},
        };
        for (const Step& step : steps) {
            step.keys();
            QAccessibleInterface* focused = dialogIface->focusChild();
            ASSERT_NE(focused, nullptr) << step.focused;
            EXPECT_EQ(focused->text(QAccessible::Name), fromWindows1252(step.focused));
            EXPECT_TRUE(focused->state().focused) << step.focused;
        }
    });
}

} // namespace
} // namespace cuentas::testing
