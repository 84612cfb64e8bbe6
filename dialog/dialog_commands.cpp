// The three commands of the account dialog and the computation of its control digits.
#include "controldigits/control_digits.h"
#include "dialog/account_globals.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_symbols.h"
#include "dialog/main_dialog.h"
#include "dialog/transfer_file.h"
#include "platform/gui/gui_symbols.h"
#include "platform/os/files.h"
#include "platform/os/operating_system.h"
#include "platform/runtime/call_stack.h"
#include "platform/runtime/text.h"

namespace cuentas {
namespace {

void endDialog(const Value& self, std::int32_t result) {
    std::array<Value, 1> args{Value::integer(result)};
    Send(self, symbols::kEndDialog, args);
}

} // namespace

Value mainDialogCalcular(const Value& self) {
    RoutineFrame frame("MAINDIALOG:CALCULAR");
    std::string digits;
    // A missing field clears the display rather than showing digits for zeros.
    if (!Empty(Value(textOf(self, MainDialogId::Banco))) &&
        !Empty(Value(textOf(self, MainDialogId::Sucursal))) &&
        !Empty(Value(textOf(self, MainDialogId::Cuenta)))) {
        std::uint32_t result = Send(self, symbols::kCalculaDc).asUnsigned();
        digits = PadL(Value::unsignedNumber(result), 2, "0");
    }
    setCaption(self, MainDialogId::Dc, digits);
    return self;
}

Value mainDialogGrabar(const Value& self) {
    RoutineFrame frame("MAINDIALOG:GRABAR");
    const std::string name = captionOf(self, MainDialogId::Nombre);
    const std::string bank = CORRIGE(textOf(self, MainDialogId::Banco), 4);
    const std::string branch = CORRIGE(textOf(self, MainDialogId::Sucursal), 4);
    // The digits are computed afresh: "Calcular" need not have been pressed.
    const std::string digits = CORRIGE(Str(Send(self, symbols::kCalculaDc)), 2);
    const std::string account = CORRIGE(textOf(self, MainDialogId::Cuenta), 10);
    const std::string content = transferFileContent(name, bank, branch, digits, account);
    const std::string path = transferFilePath(baseDirectory());
    if (!writeTransferFile(path, content)) {
        // The dialog stays open with every field as typed, so the user can mend the cause
        // and save again, or cancel.
        operatingSystem().messageBox(transferFailureMessage(path, FError(), FErrorCause()),
                                     kMainDialogCaption, kMessageBoxOk | kMessageBoxIconError);
        return self;
    }
    endDialog(self, 0);
    return self;
}

Value mainDialogCancelar(const Value& self) {
    RoutineFrame frame("MAINDIALOG:CANCELAR");
    endDialog(self, 1);
    return self;
}

std::int32_t mainDialogCalculaDc(const Value& self) {
    RoutineFrame frame("MAINDIALOG:CALCULADC");
    return static_cast<std::int32_t>(controlDigits(textOf(self, MainDialogId::Banco),
                                                   textOf(self, MainDialogId::Sucursal),
                                                   textOf(self, MainDialogId::Cuenta)));
}

} // namespace cuentas
