// Leaving a field: the bank code is zero-filled and its name looked up in the bank directory,
// then the control digits are refreshed.
#include "dialog/account_globals.h"
#include "dialog/array_scan.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_symbols.h"
#include "dialog/main_dialog.h"
#include "platform/gui/gui_symbols.h"
#include "platform/runtime/arrays.h"
#include "platform/runtime/call_stack.h"
#include "platform/runtime/text.h"

namespace cuentas {

Value mainDialogEditFocusChange(const Value& self, const Value& event) {
    RoutineFrame frame("MAINDIALOG:EDITFOCUSCHANGE");
    Value control;
    bool got = false;
    if (!event.isNil()) {
        control = IVarGet(event, symbols::kControl);
        got = IVarGet(event, symbols::kGotFocus).asLogic();
    }
    std::array<Value, 1> args{event};
    SendClass(*self.asObject(), symbols::kMainDialog, symbols::kEditFocusChange, args);
    // Gaining the focus triggers nothing.
    if (control.isNil() || got) {
        return Value();
    }
    if (IVarGet(control, symbols::kNameSym).asSymbol() == symbols::kBanco) {
        Send(self, symbols::kMiraBanco);
    }
    Send(self, symbols::kCalcular);
    return Value();
}

Value mainDialogMiraBanco(const Value& self) {
    RoutineFrame frame("MAINDIALOG:MIRABANCO");
    std::string code = AllTrim(textOf(self, MainDialogId::Banco));
    if (SLen(code) < 4) {
        setText(self, MainDialogId::Banco,
                PadL(Value(AllTrim(textOf(self, MainDialogId::Banco))), 4, "0"));
    }
    setCaption(self, MainDialogId::Nombre,
               std::string(Send(self, symbols::kBuscaBanco).asString()));
    return self;
}

std::string displayedBankName(std::string_view storedName) {
    std::string name(storedName);
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = ' ';
        }
    }
    return Trim(name);
}

std::string mainDialogBuscaBanco(const Value& self) {
    RoutineFrame frame("MAINDIALOG:BUSCABANCO");
    const std::string code = textOf(self, MainDialogId::Banco);
    if (Empty(Value(code))) {
        return {};
    }
    // The code must match exactly, length included, whatever the exact-comparison setting.
    // The block holds the code as a value, made once for the whole scan.
    Value matchesCode(makeTestBlock([code = Value(code)](const Value& element) {
        const ArrayRef& entry = element.asArray();
        return entry && entry->size() >= 1 && exactEquals(entry->at(1), code);
    }));
    const Value& directory = bankDirectory();
    std::int32_t position = ArrayScan(directory, matchesCode);
    if (position == 0) {
        return "Inexistente";
    }
    const Value& entry = directory.asArray()->at(static_cast<std::size_t>(position));
    return ALen(entry) >= 2 ? displayedBankName(entry.asArray()->at(2).asString()) : std::string();
}

} // namespace cuentas
