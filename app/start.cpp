#include "app/app.h"
#include "app/bank_directory.h"

#include "dialog/account_globals.h"
#include "platform/os/os.h"
#include "platform/runtime/class_declaration.h"
#include "platform/runtime/runtime.h"
#include "platform/table/db_server.h"

namespace cuentas {
namespace {

const Symbol kDbServer = Symbol::intern("DBSERVER");
const Symbol kClose = Symbol::intern("CLOSE");
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

    RddSetDefault("DBFCDX");
    Value fileName("NomBancos.dbf");
    Value table(CreateInstance(kDbServer, Arguments(&fileName, 1)));

    ArrayRef directory = readBankDirectory(table);
    Send(table, kClose);
    bankDirectory() = Value(directory);

    Value dialog(CreateInstance(kMainDialog));
    Send(dialog, kShow);
    return Value();
}

void declareApplicationClass() {
    ClassDeclaration<Object>("APP").method("START",
                                           [](Object& self, Arguments) { return START(self); });
}

} // namespace cuentas
