#include "platform/gui/gui.h"
#include "platform/gui/qt/fonts.h"
#include "platform/gui/qt/screen.h"
#include "platform/gui/qt/template_dialog.h"
#include "tests/support/gui_application.h"

#include <gtest/gtest.h>

namespace cuentas::gui {
namespace {

TEST(MulDiv, RoundsToTheNearestWithHalvesAwayFromZero) {
    struct Case {
        int number, numerator, denominator, expected;
    };
    const Case cases[] = {
        {80, 6, 4, 120}, {27, 6, 4, 41},
        {13, 12, 8, 20}, {11, 12, 8, 17},
        {1, 1, 2, 1},    {-1, 1, 2, -1},
        {3, 1, 4, 1},    {-3, 1, 4, -1},
        {5, -6, 4, -8},  {8, 96, 72, 11},
        {7, 1, -2, -4},  {0, 5, 3, 0},
        {1, 1, 0, -1},   {2000000000, 2, 4, 1000000000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mulDiv(c.number, c.numerator, c.denominator), c.expected)
            << c.number << " x " << c.numerator << " / " << c.denominator;
    }
}

TEST(DialogUnits, FontHeightsFollowPointsAndResolution) {
    struct Case {
        int points, dpi, pixels;
    };
    const Case cases[] = {{8, 96, 11}, {8, 120, 13}, {9, 96, 12}, {10, 96, 13}, {8, 144, 16}};
    for (const Case& c : cases) {
        EXPECT_EQ(fontPixelHeight(c.points, c.dpi), c.pixels) << c.points << "pt " << c.dpi;
    }
}

TEST(DialogUnits, EachOfPositionAndSizeIsConvertedOnItsOwn) {
    const BaseUnits units{6, 13};
    EXPECT_EQ(toPixels({80, 11, 27, 13}, units), (PixelRect{120, 18, 41, 21}));
    EXPECT_EQ(toPixels({233, 84, 53, 25}, units), (PixelRect{350, 137, 80, 41}));
    EXPECT_EQ(toPixels({1, 1, 1, 1}, BaseUnits{7, 12}), (PixelRect{2, 2, 2, 2}));
}

TEST(DialogUnits, BaseUnitsOfTheDialogFaceAtEightPoints) {
    testing::guiApplication();
    QFont normal = toQFont(FontDefinition{"MS Shell Dlg", 8}, 96);
    EXPECT_EQ(normal.family(), "Liberation Sans");
    EXPECT_EQ(normal.pixelSize(), 11);
    // Liberation Sans at 11 pixels: alphabet 333 pixels wide, ascent 10 and descent 2.
    EXPECT_EQ(baseUnitsOf(normal), (BaseUnits{6, 12}));
    QFont bold = toQFont(FontDefinition{"Microsoft Sans Serif", 8, 700}, 96);
    EXPECT_TRUE(bold.bold());
    EXPECT_EQ(baseUnitsOf(bold), (BaseUnits{7, 12}));
}

TEST(Fonts, ClassicFacesMapOntoMetricCompatibleOnes) {
    struct Case {
        const char* face;
        const char* mapped;
    };
    const Case cases[] = {
        {"MS Shell Dlg", "Liberation Sans"},
        {"ms shell dlg 2", "Liberation Sans"},
        {"Microsoft Sans Serif", "Liberation Sans"},
        {"Arial", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"DejaVu Sans", "DejaVu Sans"},
        {"Caf\xE9", "Caf\u00E9"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mapFaceName(c.face), QString::fromUtf8(c.mapped)) << c.face;
    }
}

TEST(WindowStyles, ControlStylesDecodeIntoTheirLook) {
    struct Case {
        ControlClass controlClass;
        std::uint32_t style, extended;
        ControlLook look;
    };
    const Case cases[] = {
        {ControlClass::Edit,
         0x50810080,
         0x200,
         {true, true, Alignment::Left, Edge::Sunken, false, true}},
        {ControlClass::Edit,
         0x50810002,
         0,
         {true, true, Alignment::Right, Edge::Line, false, false}},
        {ControlClass::Edit,
         0x40000001,
         0,
         {false, false, Alignment::Center, Edge::None, false, false}},
        {ControlClass::Button,
         0x50010000,
         0,
         {true, true, Alignment::Center, Edge::None, false, false}},
        {ControlClass::Button,
         0x50010001,
         0,
         {true, true, Alignment::Center, Edge::None, true, false}},
        {ControlClass::Static,
         0x50000002,
         0,
         {true, false, Alignment::Right, Edge::None, false, false}},
        {ControlClass::Static,
         0x50800001,
         0,
         {true, false, Alignment::Center, Edge::Line, false, false}},
        {ControlClass::Static,
         0x50000000,
         0x200,
         {true, false, Alignment::Left, Edge::Sunken, false, false}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decodeControlStyle(c.controlClass, c.style, c.extended), c.look)
            << std::hex << c.style;
    }
}

TEST(WindowStyles, DialogStylesDecodeIntoTheirLook) {
    // Pop-up with caption, system menu and minimize box; modal frame, 3D look, centred, font.
    EXPECT_EQ(decodeDialogStyle(0x80CA08C4), (DialogLook{true, true, true, false, true, true}));
    // A modal frame never has a maximize box, even when the bit is set.
    EXPECT_EQ(decodeDialogStyle(0x80CB0080), (DialogLook{true, true, true, false, true, false}));
    // An overlapped window with a thick frame can be resized and maximized.
    EXPECT_EQ(decodeDialogStyle(0x00CF0000), (DialogLook{true, true, true, true, false, false}));
    // Without a caption there is no system menu either.
    EXPECT_EQ(decodeDialogStyle(0x80080000), (DialogLook{false, false, false, false, true, false}));
}

// A screen of 120 dots per inch whose usable area leaves room for a panel on the left and top.
class WideScreen : public ScreenProvider {
public:
    int dotsPerInch() override { return 120; }
    std::optional<QRect> availableArea(const QWidget*) override {
        return QRect(100, 40, 1000, 700);
    }
};

TEST(Screen, DialogsAreMeasuredForItsResolutionAndPlacedInItsArea) {
    testing::guiApplication();
    WideScreen wide;
    ScopedScreen scoped(wide);
    DialogTemplate t;
    t.rect = {10, 20, 160, 60};
    t.font = FontDefinition{"MS Shell Dlg", 8};
    for (bool centered : {true, false}) {
        t.style = 0x80CA00C4 | (centered ? style::kDsCenter : 0);
        TemplateDialog dialog(t, nullptr);
        EXPECT_EQ(dialog.font().pixelSize(), fontPixelHeight(8, 120));
        dialog.show();
        if (centered) {
            EXPECT_EQ(dialog.frameGeometry().center(), QRect(100, 40, 1000, 700).center());
        } else {
            EXPECT_EQ(dialog.pos(),
                      QPoint(100, 40) + toQRect(toPixels(t.rect, dialog.baseUnits())).topLeft());
        }
    }
}

TEST(DialogTemplates, AreFoundByNameWithoutRegardToCase) {
    DialogTemplate t;
    t.caption = "first";
    registerDialogTemplate("LayoutRules", t);
    ASSERT_NE(findDialogTemplate(ResourceId(std::string("layoutrules"))), nullptr);
    EXPECT_EQ(findDialogTemplate(ResourceId(std::string("LAYOUTRULES")))->caption, "first");
    t.caption = "second";
    registerDialogTemplate("LAYOUTRULES", t);
    EXPECT_EQ(findDialogTemplate(ResourceId(std::string("LayoutRules")))->caption, "second");
    EXPECT_EQ(findDialogTemplate(ResourceId(std::string("nosuch"))), nullptr);
    EXPECT_EQ(findDialogTemplate(ResourceId(std::uint32_t{100})), nullptr);
}

} // namespace
} // namespace cuentas::gui
