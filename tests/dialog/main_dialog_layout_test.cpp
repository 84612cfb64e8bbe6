#include "tests/dialog/account_dialog_fixture.h"

#include <QClipboard>

namespace cuentas::testing {
namespace {

using enum MainDialogId;

struct ControlLayout {
    MainDialogId id;
    const char* name;
    gui::DialogRect rect; // dialog units
    const char* text;
    Qt::Alignment alignment;
    bool framed;
};

// The dialog's controls as they must appear, written out independently of the template data.
const ControlLayout kLayout[] = {
    {Banco, "BANCO", {80, 11, 27, 13}, "", Qt::AlignLeft, true},
    {Sucursal, "SUCURSAL", {80, 28, 27, 12}, "", Qt::AlignLeft, true},
    {Cuenta, "CUENTA", {80, 60, 58, 13}, "", Qt::AlignLeft, true},
    {Grabar, "GRABAR", {233, 84, 53, 25}, "Grabar", Qt::AlignHCenter, false},
    {Cancelar, "CANCELAR", {172, 84, 53, 25}, "Cancelar", Qt::AlignHCenter, false},
    {FixedText1, "FIXEDTEXT1", {4, 13, 72, 12}, "N\xBA Banco :", Qt::AlignRight, false},
    {FtSucursal, "FTSUCURSAL", {4, 29, 72, 13}, "N\xBA Sucursal :", Qt::AlignRight, false},
    {FixedText3, "FIXEDTEXT3", {4, 46, 72, 12}, "D\xEDgitos Control :", Qt::AlignRight, false},
    {FixedText4, "FIXEDTEXT4", {4, 61, 72, 12}, "N\xBA de cuenta :", Qt::AlignRight, false},
    {Nombre, "NOMBRE", {116, 11, 202, 13}, "", Qt::AlignHCenter, true},
    {Dc, "DC", {80, 44, 16, 13}, "", Qt::AlignHCenter, true},
    {Calcular, "CALCULAR", {101, 44, 36, 13}, "Calcular", Qt::AlignHCenter, false},
};

QWidget* widgetOf(const gui::TemplateDialog* window, MainDialogId id) {
    return window->control(static_cast<int>(id));
}

TEST_F(AccountDialogTest, EveryControlSitsAtItsDialogUnitsInPixels) {
    // Liberation Sans at 11 pixels, the template face at 8 points and 96 dpi.
    ASSERT_EQ(window->baseUnits(), (gui::BaseUnits{6, 12}));
    for (const ControlLayout& c : kLayout) {
        EXPECT_EQ(widgetOf(window, c.id)->geometry(), gui::toPixels(c.rect, window->baseUnits()))
            << c.name;
    }
    EXPECT_EQ(edit(Banco)->geometry(), QRect(120, 17, 41, 20));
    EXPECT_EQ(window->size(), QSize(483, 168));
}

TEST_F(AccountDialogTest, TextsAlignmentAndEdgesFollowTheStyles) {
    for (const ControlLayout& c : kLayout) {
        QWidget* w = widgetOf(window, c.id);
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            EXPECT_EQ(toWindows1252(e->text()), c.text) << c.name;
            EXPECT_EQ(e->alignment() & Qt::AlignHorizontal_Mask, c.alignment) << c.name;
            EXPECT_EQ(e->hasFrame(), c.framed) << c.name;
            EXPECT_EQ(e->focusPolicy(), Qt::StrongFocus) << c.name;
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(toWindows1252(l->text()), c.text) << c.name;
            EXPECT_EQ(l->alignment() & Qt::AlignHorizontal_Mask, c.alignment) << c.name;
            EXPECT_EQ(l->frameShape(), c.framed ? QFrame::Box : QFrame::NoFrame) << c.name;
            EXPECT_EQ(l->focusPolicy(), Qt::NoFocus) << c.name;
        } else {
            auto* b = qobject_cast<QPushButton*>(w);
            ASSERT_NE(b, nullptr) << c.name;
            EXPECT_EQ(toWindows1252(b->text()), c.text) << c.name;
            EXPECT_FALSE(b->isDefault()) << c.name;
            EXPECT_FALSE(b->autoDefault()) << c.name;
            EXPECT_EQ(b->focusPolicy(), Qt::StrongFocus) << c.name;
        }
        // The edits carry a sunken edge as well as their border.
        EXPECT_EQ(window->look(static_cast<int>(c.id)).edge,
                  qobject_cast<QLineEdit*>(w) ? gui::Edge::Sunken
                                              : (c.framed ? gui::Edge::Line : gui::Edge::None))
            << c.name;
    }
}

TEST_F(AccountDialogTest, CalcularKeepsTheTemplateFontAndTheRestAreBold) {
    for (const ControlLayout& c : kLayout) {
        const QFont font = widgetOf(window, c.id)->font();
        EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans") << c.name;
        EXPECT_EQ(font.pixelSize(), 11) << c.name;
        EXPECT_EQ(font.bold(), c.id != Calcular) << c.name;
    }
    EXPECT_EQ(button(Calcular)->font(), window->font());
    Value font = IVarGet(IVarGet(dialog, Symbol::intern("NOMBRE")), Symbol::intern("FONT"));
    EXPECT_EQ(IVarGet(font, Symbol::intern("FACENAME")).asString(), "Microsoft Sans Serif");
    EXPECT_EQ(IVarGet(font, Symbol::intern("SIZE")).asInteger(), 8);
    EXPECT_TRUE(IVarGet(font, Symbol::intern("BOLD")).asLogic());
    // One font shared by all.
    EXPECT_EQ(IVarGet(IVarGet(dialog, Symbol::intern("BANCO")), Symbol::intern("FONT")).asObject(),
              font.asObject());
}

TEST_F(AccountDialogTest, CaptionFrameAndLabelRecords) {
    EXPECT_EQ(window->windowTitle(),
              QString::fromUtf8("C\u00E1lculo d\u00EDgitos control bancario"));
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
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
        QTest::keyClick(edit(Cuenta), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit(Cuenta), Qt::Key_Delete);
        QApplication::clipboard()->setText("12a4");
        edit(Cuenta)->paste();
        EXPECT_EQ(text(Cuenta), "");
        QApplication::clipboard()->setText("0077");
        edit(Cuenta)->paste();
        EXPECT_EQ(text(Cuenta), "0077");
    });
    EXPECT_EQ(edit(Banco)->maxLength(), 4);
    EXPECT_EQ(edit(Sucursal)->maxLength(), 4);
    EXPECT_EQ(edit(Cuenta)->maxLength(), 10);
}

TEST_F(AccountDialogTest, FocusStartsInBancoAndTabFollowsTheTemplateOrder) {
    run([&] {
        EXPECT_EQ(focus(), edit(Banco));
        std::vector<QWidget*> order;
        for (int i = 0; i < 6; ++i) {
            tab();
            order.push_back(focus());
        }
        // From CUENTA the Tab goes to GRABAR, not to CALCULAR beside the digits.
        EXPECT_EQ(order, (std::vector<QWidget*>{edit(Sucursal), edit(Cuenta), button(Grabar),
                                                button(Cancelar), button(Calcular), edit(Banco)}));
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
