#include "app/bank_directory.h"

#include "app/bank_table_read_ahead.h"
#include "app/directory_fill.h"

#include "platform/os/helper_thread.h"
#include "platform/runtime/runtime.h"
#include "platform/table/db_server.h"
#include "platform/table/table_symbols.h"

#include <exception>
#include <optional>
#include <system_error>
#include <thread>

namespace cuentas {
namespace {

using symbols::kClose;
using symbols::kDbServer;
using symbols::kRecCount;

// The fields of NomBancos.dbf.
const Symbol kBanco = Symbol::intern("BANCO");
const Symbol kNombre = Symbol::intern("NOMBRE");

// The table with its record count and fields resolved, as the read needs it. Codes and names
// are texts: a field of another type is refused before the first record, and an empty table
// is checked as well as a full one.
struct OpenDirectoryRead {
    DbServer* server = nullptr;
    std::optional<std::size_t> codeField;
    std::optional<std::size_t> nameField;
    std::uint32_t count = 0;
    ArrayRef directory;

    explicit OpenDirectoryRead(const Value& table) : server(objectAs<DbServer>(table)) {
        if (server) {
            codeField = server->characterField(kBanco);
            nameField = server->characterField(kNombre);
        }
        // Sized once from the record count and filled in table order, so that it holds only
        // what was read.
        count = Send(table, kRecCount).asUnsigned();
        directory = ArrayCreate(0);
        directory->reserve(count);
    }

    // The records left to read when they can be read from the image alone; the table is then
    // moved past them, as reading them one by one would leave it.
    std::optional<EntrySource> takeSource() {
        if (!server || !codeField || !nameField || !server->image() || server->atEnd()) {
            return std::nullopt;
        }
        const std::uint32_t first = server->recordNumber() - 1;
        const std::uint32_t left = server->recordCount() - first;
        EntrySource source{*server->image(), *codeField, *nameField, first, std::min(left, count)};
        server->skip(left);
        return source;
    }

    // Record by record through the table: a field the table lacks reads as the error block's
    // answer to it, on every record.
    void readRecordByRecord() {
        auto read = [this](const std::optional<std::size_t>& position, Symbol field) {
            return position ? server->fieldText(*position) : server->fieldText(field);
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

// What every read of the bank table does first.
void prepareTableRead(SourceLocation where) {
    noteCallSite(where);
    RddSetDefault("DBFCDX");
}

Value openBankTable(const std::string& fileName) {
    Value name(fileName);
    return Value(CreateInstance(kDbServer, Arguments(&name, 1)));
}

} // namespace

void fillEntries(const EntrySource& source, ArrayData& directory) {
    const DbfImage& image = source.image;
    ArrayRows entries(
        source.count,
        [&](std::size_t index) noexcept {
            return Value(image.fieldText(source.first + static_cast<std::uint32_t>(index),
                                         source.codeField));
        },
        [&](std::size_t index) noexcept {
            return Value(image.fieldText(source.first + static_cast<std::uint32_t>(index),
                                         source.nameField));
        });
    for (std::uint32_t index = 0; index < source.count; ++index) {
        directory.append(Value(entries.reference(index)));
    }
}

ArrayRef readBankDirectory(const Value& table) {
    OpenDirectoryRead read(table);
    if (std::optional<EntrySource> source = read.takeSource()) {
        fillEntries(*source, *read.directory);
    } else {
        read.readRecordByRecord();
    }
    return read.directory;
}

ArrayRef loadBankDirectory(const std::string& fileName, SourceLocation where) {
    prepareTableRead(where);
    Value table = openBankTable(fileName);
    ArrayRef directory = readBankDirectory(table);
    Send(table, kClose);
    return directory;
}

std::shared_ptr<BankDirectoryLoad::Fill> startFill(std::function<void()> work) {
    auto fill = std::make_shared<BankDirectoryLoad::Fill>();
    try {
        fill->thread = startBesideCaller([work = std::move(work), failure = fill->failure] {
            try {
                work();
            } catch (...) {
                *failure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        return nullptr;
    }
    return fill;
}

BankDirectoryLoad::BankDirectoryLoad(ArrayRef directory, std::shared_ptr<Fill> fill)
    : directory_(std::move(directory)), fill_(std::move(fill)) {}

void BankDirectoryLoad::wait() const {
    if (!fill_ || !fill_->thread.joinable()) {
        return;
    }
    fill_->thread.join();
    if (std::exception_ptr failure = std::exchange(*fill_->failure, nullptr)) {
        std::rethrow_exception(failure);
    }
}

BankDirectoryLoad loadBankDirectoryInBackground(const std::string& fileName, SourceLocation where) {
    prepareTableRead(where);
    if (std::optional<BankDirectoryLoad> ahead = takeReadAheadDirectory(fileName)) {
        return std::move(*ahead);
    }
    Value table = openBankTable(fileName);
    OpenDirectoryRead read(table);
    std::optional<EntrySource> source = read.takeSource();
    if (!source) {
        read.readRecordByRecord();
    }
    Send(table, kClose);
    if (!source) {
        return BankDirectoryLoad(read.directory);
    }
    // The thread holds its own reference to the image (the table is closed meanwhile) and is
    // the only one to touch the directory until it is joined.
    auto fill = startFill(
        [source = *source, directory = read.directory] { fillEntries(source, *directory); });
    if (!fill) {
        fillEntries(*source, *read.directory);
    }
    return BankDirectoryLoad(read.directory, std::move(fill));
}

} // namespace cuentas
