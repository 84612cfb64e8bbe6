#include "app/bank_directory.h"

#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "platform/table/table_symbols.h"

#include <algorithm>

namespace cuentas {
namespace {

using symbols::kEof;
using symbols::kFieldGet;
using symbols::kRecCount;
using symbols::kSkip;

// The fields of NomBancos.dbf.
const Symbol kBanco = Symbol::intern("BANCO");
const Symbol kNombre = Symbol::intern("NOMBRE");

} // namespace

ArrayRef readBankDirectory(const Value& table) {
    // Sized once from the record count, filled in table order.
    const std::uint32_t count = Send(table, kRecCount).asUnsigned();
    ArrayRef directory = ArrayCreate(count);
    const Value one = Value::integer(1);
    const Value bancoField(kBanco);
    const Value nombreField(kNombre);
    std::int32_t counter = 0;
    while (!Send(table, kEof).asLogic()) {
        counter = addSigned(counter, 1);
        if (static_cast<std::uint32_t>(counter) > count) {
            break; // a table that grew while read: never write past the directory
        }
        std::vector<Value> entry;
        entry.reserve(2);
        entry.push_back(Send(table, kFieldGet, Arguments(&bancoField, 1))); // code before name
        entry.push_back(Send(table, kFieldGet, Arguments(&nombreField, 1)));
        directory->put(static_cast<std::size_t>(counter), Value(ArrayBuild(std::move(entry))));
        Send(table, kSkip, Arguments(&one, 1));
    }
    // Fewer records than counted would leave unfilled elements: the directory holds only
    // what was read.
    directory->truncate(static_cast<std::size_t>(std::max(counter, 0)));
    return directory;
}

} // namespace cuentas
