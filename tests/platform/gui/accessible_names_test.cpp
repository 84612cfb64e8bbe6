#include "platform/gui/accessible_names.h"

#include <gtest/gtest.h>

namespace cuentas::gui {
namespace {

constexpr std::uint32_t kEdit = 0x50810080;
constexpr std::uint32_t kButton = 0x50010000;
constexpr std::uint32_t kLabel = 0x50000002;
constexpr std::uint32_t kHiddenLabel = 0x40000002;
constexpr std::uint32_t kDisplay = 0x50800001;

ControlTemplate edit(int id, DialogRect rect) {
    return {ControlClass::Edit, id, rect, kEdit, 0x200, ""};
}
ControlTemplate text(int id, DialogRect rect, std::string caption, std::uint32_t style = kLabel) {
    return {ControlClass::Static, id, rect, style, 0, std::move(caption)};
}
ControlTemplate button(int id, DialogRect rect, std::string caption) {
    return {ControlClass::Button, id, rect, kButton, 0, std::move(caption)};
}

struct Case {
    const char* what;
    std::vector<ControlTemplate> controls;
    std::map<int, std::string> names;
};

TEST(AccessibleNames, ComeFromTheFixedTextBeforeTheControlInReadingOrder) {
    const Case cases[] = {
        {"edits first in the template, their labels to their left on the same rows",
         {edit(1, {80, 11, 27, 13}), edit(2, {80, 28, 27, 12}), edit(3, {80, 60, 58, 13}),
          button(4, {233, 84, 53, 25}, "Grabar"), text(5, {4, 13, 72, 12}, "N\xBA Banco :"),
          text(6, {4, 29, 72, 13}, "N\xBA Sucursal :"),
          text(7, {4, 46, 72, 12}, "D\xEDgitos Control :"),
          text(8, {4, 61, 72, 12}, "N\xBA de cuenta :"), text(9, {80, 44, 16, 13}, "", kDisplay),
          button(10, {101, 44, 36, 13}, "Calcular")},
         {{1, "N\xBA Banco"},
          {2, "N\xBA Sucursal"},
          {3, "N\xBA de cuenta"},
          {9, "D\xEDgitos Control"}}},
        {"the nearest label on the row, not the first",
         {text(1, {0, 0, 30, 10}, "Desde:"), edit(2, {32, 0, 30, 10}),
          text(3, {70, 0, 30, 10}, "Hasta:"), edit(4, {102, 0, 30, 10})},
         {{2, "Desde"}, {4, "Hasta"}}},
        {"a control between a label and the control does not hide the label",
         {text(1, {0, 0, 30, 10}, "Banco"), edit(2, {32, 0, 30, 10}),
          text(3, {70, 0, 100, 10}, "", kDisplay)},
         {{2, "Banco"}, {3, "Banco"}}},
        {"a label above: the nearest fixed text before it in template order",
         {text(1, {0, 0, 60, 10}, "Primero"), text(2, {0, 20, 60, 10}, "Observaciones :"),
          edit(3, {0, 32, 100, 10})},
         {{3, "Observaciones"}}},
        {"a label to the right does not name it; one before it in the template does",
         {text(1, {0, 0, 40, 10}, "Importe"), edit(2, {0, 12, 40, 10}),
          text(3, {42, 12, 10, 10}, "EUR")},
         {{2, "Importe"}}},
        {"labels after it in the template, none on its row: no name",
         {edit(1, {0, 40, 40, 10}), text(2, {0, 0, 40, 10}, "Arriba")},
         {}},
        {"two labels end where the row's control starts: the one that overlaps more",
         {text(1, {0, 0, 30, 8}, "Poco"), text(2, {0, 6, 30, 14}, "Mucho"),
          edit(3, {30, 6, 40, 14})},
         {{3, "Mucho"}}},
        {"hidden and empty fixed texts name nothing",
         {text(1, {0, 0, 30, 10}, "Visible"), text(2, {32, 0, 30, 10}, "Oculta", kHiddenLabel),
          text(3, {64, 0, 30, 10}, "", kDisplay), edit(4, {96, 0, 30, 10})},
         {{3, "Visible"}, {4, "Visible"}}},
        {"buttons with a caption keep it; a button without one is named",
         {text(1, {0, 0, 30, 10}, "Fecha"), button(2, {32, 0, 30, 10}, "Hoy"),
          button(3, {64, 0, 12, 10}, "")},
         {{3, "Fecha"}}},
    };
    for (const Case& c : cases) {
        DialogTemplate t;
        t.controls = c.controls;
        EXPECT_EQ(accessibleNamesFromTemplate(t), c.names) << c.what;
    }
}

TEST(AccessibleNames, ACaptionLosesItsTrailingColonsAndBlanksOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"N\xBA Banco :", "N\xBA Banco"},
        {"Total:", "Total"},
        {"Hora:  ", "Hora"},
        {"A : B ::", "A : B"},
        {" Sangrado", " Sangrado"},
        {" : ", ""},
        {"", ""},
    };
    for (const auto& [caption, name] : cases) {
        EXPECT_EQ(nameFromCaption(caption), name) << caption;
    }
}

} // namespace
} // namespace cuentas::gui
