#include "dialog/dialog_controls.h"

namespace cuentas {
namespace {

const Symbol& textValue() {
    static const Symbol symbol = Symbol::intern("TEXTVALUE");
    return symbol;
}

const Symbol& caption() {
    static const Symbol symbol = Symbol::intern("CAPTION");
    return symbol;
}

} // namespace

Value controlOf(const Value& dialog, MainDialogId id) {
    const auto* account = objectAs<AccountDialog>(dialog);
    return account ? account->control(id) : Value();
}

std::string textOf(const Value& dialog, MainDialogId id) {
    return IVarGet(controlOf(dialog, id), textValue()).asString();
}

void setText(const Value& dialog, MainDialogId id, const std::string& text) {
    IVarPut(controlOf(dialog, id), textValue(), Value(text));
}

std::string captionOf(const Value& dialog, MainDialogId id) {
    return IVarGet(controlOf(dialog, id), caption()).asString();
}

void setCaption(const Value& dialog, MainDialogId id, const std::string& text) {
    IVarPut(controlOf(dialog, id), caption(), Value(text));
}

} // namespace cuentas
