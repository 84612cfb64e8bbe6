#include "app/bank_directory.h"

#include "platform/runtime/runtime.h"
#include "platform/table/db_server.h"
#include "platform/table/table_symbols.h"

#include <algorithm>

namespace cuentas {
namespace {

using symbols::kClose;
using symbols::kDbServer;
using symbols::kEof;
using symbols::kRecCount;
using symbols::kSkip;

// The fields of NomBancos.dbf.
const Symbol kBanco = Symbol::intern("BANCO");
const Symbol kNombre = Symbol::intern("NOMBRE");

} // namespace

ArrayRef readBankDirectory(const Value& table) {
    // Codes and names are texts: a field of another type is refused before the first record,
    // and an empty table is checked as well as a full one.
    DbServer* server = objectAs<DbServer>(table);
    if (server) {
        server->requireCharacterField(kBanco);
        server->requireCharacterField(kNombre);
    }
    // Sized once from the record count, filled in table order.
    const std::uint32_t count = Send(table, kRecCount).asUnsigned();
    ArrayRef directory = ArrayCreate(count);
    const Value one = Value::integer(1);
    std::int32_t counter = 0;
    while (server && !Send(table, kEof).asLogic()) {
        counter = addSigned(counter, 1);
        if (static_cast<std::uint32_t>(counter) > count) {
            break; // a table that grew while read: never write past the directory
        }
        std::vector<Value> entry;
        entry.reserve(2);
        entry.emplace_back(server->fieldText(kBanco)); // the code before the name
        entry.emplace_back(server->fieldText(kNombre));
        directory->put(static_cast<std::size_t>(counter), Value(ArrayBuild(std::move(entry))));
        Send(table, kSkip, Arguments(&one, 1));
    }
    // Fewer records than counted would leave unfilled elements: the directory holds only
    // what was read.
    directory->truncate(static_cast<std::size_t>(std::max(counter, 0)));
    return directory;
}

ArrayRef loadBankDirectory(const std::string& fileName, SourceLocation where) {
    noteCallSite(where);
    RddSetDefault("DBFCDX");
    Value name(fileName);
    Value table(CreateInstance(kDbServer, Arguments(&name, 1)));
    ArrayRef directory = readBankDirectory(table);
    Send(table, kClose);
    return directory;
}

} // namespace cuentas
