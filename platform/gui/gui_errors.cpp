#include "platform/gui/gui_errors.h"

#include "platform/runtime/raise.h"
#include "platform/runtime/text.h"

namespace cuentas::gui {

Value raiseGuiError(std::uint32_t genCode, std::string description, Symbol function,
                    const Value& argument, std::uint32_t osCode, SourceLocation where) {
    RuntimeError error;
    error.subsystem = "GUI";
    error.genCode = genCode;
    error.osCode = osCode;
    error.description = std::move(description);
    error.funcSym = function;
    error.canDefault = true;
    if (!argument.isNil()) {
        error.args = {argument};
        error.arg = AsString(argument);
        error.argType = argument.typeNumber();
    }
    return raiseError(error, where);
}

} // namespace cuentas::gui
