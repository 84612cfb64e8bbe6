#include "app/bank_directory.h"

#include "platform/runtime/runtime.h"
#include "platform/table/db_server.h"
#include "platform/table/table_symbols.h"

#include <cstdint>

namespace cuentas {
namespace {

using symbols::kClose;
using symbols::kDbServer;
using symbols::kRecCount;

// The fields of NomBancos.dbf.
const Symbol kBanco = Symbol::intern("BANCO");
const Symbol kNombre = Symbol::intern("NOMBRE");
// The dialog compares its four-digit code with BANCO length included: a code field of
// another width could never answer a lookup.
constexpr std::uint32_t kCodeWidth = 4;

// The table with its record count and fields resolved, as the read needs it. Codes and names
// are texts, codes four characters wide: a field of another type or width is refused before
// the first record, and an empty table is checked as well as a full one.
struct OpenDirectoryRead {
    DbServer* server = nullptr;
    // Positions of the fields; kMissing for one that is missing or not a character field.
    static constexpr std::size_t kMissing = SIZE_MAX;
    std::size_t codeField;
    std::size_t nameField;
    std::uint32_t count = 0;
    ArrayRef directory;

    explicit OpenDirectoryRead(const Value& table)
        : server(objectAs<DbServer>(table)), codeField(positionOf(kBanco, kCodeWidth)),
          nameField(positionOf(kNombre)) {
        // Sized once from the record count and filled in table order, so that it holds only
        // what was read.
        count = Send(table, kRecCount).asUnsigned();
        directory = ArrayCreate(0);
        directory->reserve(count);
    }

    std::size_t positionOf(Symbol field, std::optional<std::uint32_t> width = {}) const {
        return server ? server->characterField(field, width).value_or(kMissing) : kMissing;
    }

    // Every record left, straight from the table's image, when both fields are character
    // fields: one {code, name} row per record, side by side in one block and made in one pass,
    // the texts sharing the table's bytes, so that a record costs no allocation. The table is
    // then moved past them, as reading them one by one would leave it. False when the image
    // cannot serve.
    bool readFromImage() {
        if (!server || codeField == kMissing || nameField == kMissing || !server->image() ||
            server->atEnd()) {
            return false;
        }
        const DbfImage& image = *server->image();
        const std::uint32_t first = server->recordNumber() - 1;
        const std::uint32_t left = server->recordCount() - first;
        const std::size_t code = codeField;
        const std::size_t name = nameField;
        ArrayRows entries(
            std::min(left, count),
            [&](std::size_t index) noexcept {
                return Value(image.fieldText(first + static_cast<std::uint32_t>(index), code));
            },
            [&](std::size_t index) noexcept {
                return Value(image.fieldText(first + static_cast<std::uint32_t>(index), name));
            });
        for (std::size_t index = 0; index < entries.size(); ++index) {
            directory->append(Value(entries.reference(index)));
        }
        server->skip(left);
        return true;
    }

    // Record by record through the table: a field the table lacks reads as the error block's
    // answer to it, on every record.
    void readRecordByRecord() {
        auto read = [this](std::size_t position, Symbol field) {
            return position != kMissing ? server->fieldText(position) : server->fieldText(field);
        };
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
    }
};

} // namespace

ArrayRef readBankDirectory(const Value& table) {
    OpenDirectoryRead read(table);
    if (!read.readFromImage()) {
        read.readRecordByRecord();
    }
    return read.directory;
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
