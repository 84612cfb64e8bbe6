#pragma once
// The template of the account dialog MAINDIALOG: twelve controls with ids 100 to 111.

#include "platform/gui/dialog_template.h"

namespace cuentas {

// Control ids of the template, in template order.
enum class MainDialogId : int {
    Banco = 100,
    Sucursal = 101,
    Cuenta = 102,
    Grabar = 103,
    Cancelar = 104,
    FixedText1 = 105,
    FtSucursal = 106,
    FixedText3 = 107,
    FixedText4 = 108,
    Nombre = 109,
    Dc = 110,
    Calcular = 111,
};

// "Cálculo dígitos control bancario" in Windows-1252.
inline constexpr const char* kMainDialogCaption = "C\xE1lculo d\xEDgitos control bancario";

// What a screen reader calls the bank-name display.
inline constexpr const char* kBankNameDisplayName = "Nombre del banco";

const gui::DialogTemplate& mainDialogTemplate();
// Registers the template under the name "MAINDIALOG".
void registerMainDialogTemplate();

} // namespace cuentas
