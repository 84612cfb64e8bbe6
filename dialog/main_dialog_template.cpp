#include "dialog/main_dialog_template.h"

namespace cuentas {
namespace {

using gui::ControlClass;

constexpr std::uint32_t kEditStyle = 0x50810080; // visible child, border, tab stop, scrolls
constexpr std::uint32_t kSunkenEdge = 0x200;
constexpr std::uint32_t kButtonStyle = 0x50010000;  // visible child push button, tab stop
constexpr std::uint32_t kLabelStyle = 0x50000002;   // visible child text aligned right
constexpr std::uint32_t kDisplayStyle = 0x50800001; // visible child text centred, border

gui::ControlTemplate control(ControlClass kind, MainDialogId id, gui::DialogRect rect,
                             std::uint32_t style, std::uint32_t extendedStyle, std::string text) {
    return gui::ControlTemplate{kind,  static_cast<int>(id), rect,
                                style, extendedStyle,        std::move(text)};
}

gui::DialogTemplate buildTemplate() {
    gui::DialogTemplate t;
    t.rect = {20, 34, 322, 112};
    t.style = 0x80CA08C4; // pop-up, caption, system menu, minimize box, modal frame, 3D, centred
    t.extendedStyle = 0;
    t.caption = kMainDialogCaption;
    t.font = gui::FontDefinition{"MS Shell Dlg", 8, 400, false, 1};
    using enum MainDialogId;
    t.controls = {
        control(ControlClass::Edit, Banco, {80, 11, 27, 13}, kEditStyle, kSunkenEdge, ""),
        control(ControlClass::Edit, Sucursal, {80, 28, 27, 12}, kEditStyle, kSunkenEdge, ""),
        control(ControlClass::Edit, Cuenta, {80, 60, 58, 13}, kEditStyle, kSunkenEdge, ""),
        control(ControlClass::Button, Grabar, {233, 84, 53, 25}, kButtonStyle, 0, "Grabar"),
        control(ControlClass::Button, Cancelar, {172, 84, 53, 25}, kButtonStyle, 0, "Cancelar"),
        control(ControlClass::Static, FixedText1, {4, 13, 72, 12}, kLabelStyle, 0, "N\xBA Banco :"),
        control(ControlClass::Static, FtSucursal, {4, 29, 72, 13}, kLabelStyle, 0,
                "N\xBA Sucursal :"),
        control(ControlClass::Static, FixedText3, {4, 46, 72, 12}, kLabelStyle, 0,
                "D\xEDgitos Control :"),
        control(ControlClass::Static, FixedText4, {4, 61, 72, 12}, kLabelStyle, 0,
                "N\xBA de cuenta :"),
        control(ControlClass::Static, Nombre, {116, 11, 202, 13}, kDisplayStyle, 0, ""),
        control(ControlClass::Static, Dc, {80, 44, 16, 13}, kDisplayStyle, 0, ""),
        control(ControlClass::Button, Calcular, {101, 44, 36, 13}, kButtonStyle, 0, "Calcular"),
    };
    return t;
}

} // namespace

const gui::DialogTemplate& mainDialogTemplate() {
    static const gui::DialogTemplate dialogTemplate = buildTemplate();
    return dialogTemplate;
}

void registerMainDialogTemplate() {
    gui::registerDialogTemplate("MAINDIALOG", mainDialogTemplate());
}

} // namespace cuentas
