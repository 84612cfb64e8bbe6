#include "app/app.h"
#include "app/bank_directory.h"

#include "dialog/account_globals.h"
#include "dialog/dialog_symbols.h"
#include "platform/gui/gui_symbols.h"
#include "platform/os/os.h"
#include "platform/runtime/class_declaration.h"
#include "platform/runtime/runtime.h"

namespace cuentas {

Value START(Object&) {
    RoutineFrame frame("APP:START");

    // The transfer file goes under the executable's directory less its last four characters:
    // \opt\cuentas\bin\ gives \opt\cuentas\. Shorter than four characters traps.
    std::string workDirectory = WorkDir();
    std::uint32_t length = SLen(workDirectory);
    baseDirectory() = Left(workDirectory, subtractUnsigned(length, 4));

    // Read once, record by record, and closed at once: the dialog works on the directory.
    bankDirectory() = Value(loadBankDirectory(kBankTableName));

    Value dialog(CreateInstance(symbols::kMainDialog));
    Send(dialog, symbols::kShow);
    return Value();
}

void declareApplicationClass() {
    ClassDeclaration<Object>(kApplicationClass.name())
        .method(kStart.name(), [](Object& self, Arguments) { return START(self); });
}

} // namespace cuentas
