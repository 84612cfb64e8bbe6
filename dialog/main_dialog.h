#pragma once
// MAINDIALOG, the account dialog: a DIALOGWINDOW built from the template "MAINDIALOG" that
// keeps the bank name and the control digits up to date and writes the transfer file.

#include "dialog/main_dialog_template.h"
#include "platform/gui/dialog_window.h"

#include <array>
#include <string>

namespace cuentas {

class AccountDialog : public gui::DialogWindow {
public:
    using DialogWindow::DialogWindow;

    // The control object of a template id (nil before INIT has created it).
    const Value& control(MainDialogId id) const;
    void setControl(MainDialogId id, Value control);

private:
    std::array<Value, 12> m_controls; // in id order, 100 to 111
};

// Declares the class MAINDIALOG below DIALOGWINDOW with its methods INIT, EDITFOCUSCHANGE,
// EDITPASTEREFUSED, MIRABANCO, BUSCABANCO, CALCULAR, GRABAR, CANCELAR and CALCULADC and its
// twelve controls as read-only properties, and registers its template. Declares the GUI
// classes first when that has not been done yet.
void declareAccountDialog();

// The methods, as the class calls them (self is the dialog value).
Value mainDialogInit(const Value& self, const Value& owner, const Value& extra);
Value mainDialogEditFocusChange(const Value& self, const Value& event);
// Text pasted into any of the three edits that its mask refuses: TRUE when the dialog took it.
Value mainDialogEditPasteRefused(const Value& self, const Value& text);
Value mainDialogMiraBanco(const Value& self);
std::string mainDialogBuscaBanco(const Value& self);
Value mainDialogCalcular(const Value& self);
Value mainDialogGrabar(const Value& self);
Value mainDialogCancelar(const Value& self);
std::int32_t mainDialogCalculaDc(const Value& self);

// A bank name as the dialog shows and writes it: every byte below 0x20 turned into a blank,
// so a name can never break the two lines of the transfer file, then trailing blanks removed.
std::string displayedBankName(std::string_view storedName);

} // namespace cuentas
