#include "app/bank_directory.h"

#include "platform/runtime/runtime.h"
#include "platform/table/db_server.h"
#include "platform/table/table_symbols.h"

#include <optional>

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
    std::optional<std::size_t> codeField;
    std::optional<std::size_t> nameField;
    if (server) {
        codeField = server->characterField(kBanco);
        nameField = server->characterField(kNombre);
    }
    // A field the table lacks reads as the error block's answer to it, on every record.
    auto read = [server](const std::optional<std::size_t>& position, Symbol field) {
        return position ? server->fieldText(*position) : server->fieldText(field);
    };
    // Sized once from the record count and filled in table order, so that it holds only what
    // was read. The entries lie side by side in one block and their texts share the table's
    // bytes, so a record costs no allocation.
    const std::uint32_t count = Send(table, kRecCount).asUnsigned();
    ArrayRef directory = ArrayCreate(0);
    directory->reserve(count);
    ArrayRows entries(count);
    while (server && !server->atEnd()) {
        const std::size_t index = directory->size();
        if (index == count) {
            break; // a table that grew while read: never write past the directory
        }
        entries[index].append(Value(read(codeField, kBanco))); // the code before the name
        entries[index].append(Value(read(nameField, kNombre)));
        directory->append(Value(entries.reference(index)));
        server->skip(1);
    }
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
