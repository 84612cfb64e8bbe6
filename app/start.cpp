#include "app/app.h"
#include "app/bank_directory.h"

#include "dialog/account_globals.h"
#include "platform/platform.h"

namespace cuentas {
namespace {

const Symbol kMainDialog = Symbol::intern("MAINDIALOG");
const Symbol kShow = Symbol::intern("SHOW");

} // namespace

Value START(Object&) {
    RoutineFrame frame("APP:START");

    // The transfer file goes under the executable's directory less its last four characters:
    // \opt\cuentas\bin\ gives \opt\cuentas\. Shorter than four characters traps.
    std::string workDirectory = WorkDir();
    std::uint32_t length = SLen(workDirectory);
    baseDirectory() = Left(workDirectory, subtractUnsigned(length, 4));

    bankDirectory() = Value(loadBankDirectory("NomBancos.dbf"));

    Value dialog(CreateInstance(kMainDialog));
    Send(dialog, kShow);
    return Value();
}

void declareApplicationClass() {
    DeclareClass("APP").method("START", [](Object& self, Arguments) { return START(self); });
}

} // namespace cuentas
