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

    // The entries are filled while the dialog is built; the first lookup waits for them.
    BankDirectoryLoad load = loadBankDirectoryInBackground(kBankTableName);
    bankDirectory() = Value(load.directory());
    awaitBankDirectoryFill([load] { load.wait(); });

    Value dialog(CreateInstance(symbols::kMainDialog));
    Send(dialog, symbols::kShow);
    load.wait(); // the thread ends with START, not later
    return Value();
}

void declareApplicationClass() {
    ClassDeclaration<Object>(kApplicationClass.name())
        .method(kStart.name(), [](Object& self, Arguments) { return START(self); });
}

} // namespace cuentas
