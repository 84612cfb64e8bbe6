#include "app/bank_directory.h"

#include "platform/runtime/runtime.h"
#include "platform/table/db_server.h"
#include "platform/table/table_symbols.h"

#include <algorithm>

namespace cuentas {
namespace {

using symbols::kClose;
using symbols::kDbServer;
using symbols::kRecCount;

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
    // Sized once from the record count, filled in table order. The entries lie side by side
    // in one block and their texts share the table's bytes, so a record costs no allocation.
    const std::uint32_t count = Send(table, kRecCount).asUnsigned();
    ArrayRef directory = ArrayCreate(count);
    ArrayRows entries(count);
    std::int32_t counter = 0;
    while (server && !server->atEnd()) {
        counter = addSigned(counter, 1);
        if (static_cast<std::uint32_t>(counter) > count) {
            break; // a table that grew while read: never write past the directory
        }
        const auto index = static_cast<std::size_t>(counter - 1);
        entries[index].append(Value(server->fieldText(kBanco))); // the code before the name
        entries[index].append(Value(server->fieldText(kNombre)));
        directory->put(index + 1, Value(entries.reference(index)));
        server->skip(1);
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
