#include "dialog/dialog_controls.h"

#include "platform/gui/gui_symbols.h"

namespace cuentas {

Value controlOf(const Value& dialog, MainDialogId id) {
    const auto* account = objectAs<AccountDialog>(dialog);
    return account ? account->control(id) : Value();
}

std::string textOf(const Value& dialog, MainDialogId id) {
    return std::string(IVarGet(controlOf(dialog, id), symbols::kTextValue).asString());
}

void setText(const Value& dialog, MainDialogId id, const std::string& text) {
    IVarPut(controlOf(dialog, id), symbols::kTextValue, Value(text));
}

std::string captionOf(const Value& dialog, MainDialogId id) {
    return std::string(IVarGet(controlOf(dialog, id), symbols::kCaption).asString());
}

void setCaption(const Value& dialog, MainDialogId id, const std::string& text) {
    IVarPut(controlOf(dialog, id), symbols::kCaption, Value(text));
}

} // namespace cuentas
