// The account dialog's widgets on the Qt side: alignment, frames, fonts, the window's flags.
#include "platform/gui/qt/fonts.h"
#include "tests/dialog/qt/qt_account_dialog_fixture.h"

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

TEST_F(QtAccountDialogTest, LiberationSansGivesTheDialogItsPixels) {
    // Liberation Sans at 11 pixels, the template face at 8 points and 96 dpi.
    ASSERT_EQ(window()->baseUnits(), (gui::BaseUnits{6, 12}));
    EXPECT_EQ(qobject_cast<QLineEdit*>(widgetOf(Banco))->geometry(), QRect(120, 17, 41, 20));
    EXPECT_EQ(window()->size(), QSize(483, 168));
}

TEST_F(QtAccountDialogTest, TextsAlignmentAndEdgesFollowTheStyles) {
    for (const ControlLayout& c : kLayout) {
        QWidget* w = widgetOf(c.id);
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            EXPECT_EQ(e->alignment() & Qt::AlignHorizontal_Mask, c.alignment) << c.name;
            EXPECT_EQ(e->hasFrame(), c.framed) << c.name;
            EXPECT_EQ(e->focusPolicy(), Qt::StrongFocus) << c.name;
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(l->alignment() & Qt::AlignHorizontal_Mask, c.alignment) << c.name;
            EXPECT_EQ(l->frameShape(), c.framed ? QFrame::Box : QFrame::NoFrame) << c.name;
            EXPECT_EQ(l->focusPolicy(), Qt::NoFocus) << c.name;
        } else {
            auto* b = qobject_cast<QPushButton*>(w);
            ASSERT_NE(b, nullptr) << c.name;
            EXPECT_FALSE(b->isDefault()) << c.name;
            EXPECT_FALSE(b->autoDefault()) << c.name;
            EXPECT_EQ(b->focusPolicy(), Qt::StrongFocus) << c.name;
        }
        // The edits carry a sunken edge as well as their border.
        EXPECT_EQ(window()->look(static_cast<int>(c.id)).edge,
                  qobject_cast<QLineEdit*>(w) ? gui::Edge::Sunken
                                              : (c.framed ? gui::Edge::Line : gui::Edge::None))
            << c.name;
    }
    EXPECT_EQ(qobject_cast<QLineEdit*>(widgetOf(Banco))->maxLength(), 4);
    EXPECT_EQ(qobject_cast<QLineEdit*>(widgetOf(Sucursal))->maxLength(), 4);
    EXPECT_EQ(qobject_cast<QLineEdit*>(widgetOf(Cuenta))->maxLength(), 10);
}

TEST_F(QtAccountDialogTest, CalcularKeepsTheTemplateFontAndTheRestAreBold) {
    for (const ControlLayout& c : kLayout) {
        const QFont font = widgetOf(c.id)->font();
        EXPECT_EQ(QFontInfo(font).family(), "Liberation Sans") << c.name;
        EXPECT_EQ(font.pixelSize(), 11) << c.name;
        EXPECT_EQ(font.bold(), c.id != Calcular) << c.name;
    }
    EXPECT_EQ(widgetOf(Calcular)->font(), window()->font());
}

TEST_F(QtAccountDialogTest, TheWindowHasAMinimizeBoxAndNoMaximizeBox) {
    EXPECT_EQ(window()->windowTitle(),
              QString::fromUtf8("C\u00E1lculo d\u00EDgitos control bancario"));
    EXPECT_EQ(window()->minimumSize(), window()->maximumSize());
    EXPECT_TRUE(window()->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window()->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(QtAccountDialogTest, ANameWiderThanItsDisplayIsOnlyPartlyVisible) {
    const std::string name = "CAJA RURAL DE LAS COMARCAS DEL INTERIOR Y DE LA COSTA, SOCIEDAD "
                             "COOPERATIVA DE CR\xC9"
                             "DITO";
    bankDirectory() = bankEntries({{"3001", name + "     "}});
    newDialog();
    run([&] {
        type("3001");
        tab();
    });
    auto* label = qobject_cast<QLabel*>(widgetOf(Nombre));
    EXPECT_GT(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    EXPECT_EQ(caption(Nombre), name);
}

} // namespace
} // namespace cuentas::testing
