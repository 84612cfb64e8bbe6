#pragma once
// Reading the bank directory from the bank table, in table order.

#include "platform/runtime/source_location.h"
#include "platform/runtime/value.h"

#include <memory>
#include <string>

namespace cuentas {

// One {BANCO, NOMBRE} element per record, from the table's current record to its end, the
// code read before the name, each exactly as stored. Both must be character fields: a
// missing one or one of another type (a memo's block number, a number) is raised as the
// table's field error before any record is read. Sized once from RECCOUNT; never holds
// unfilled elements.
ArrayRef readBankDirectory(const Value& table);

// Makes "DBFCDX" the default table driver, opens the table `fileName` as a DBSERVER, reads
// the bank directory from it and closes it: the start-up read of the bank table. An error on
// the way shows the caller's line in the call stack.
ArrayRef loadBankDirectory(const std::string& fileName,
                           SourceLocation where = SourceLocation::current());

// A bank directory whose entries may still be being filled on a thread of their own.
class BankDirectoryLoad {
public:
    struct Fill;
    explicit BankDirectoryLoad(ArrayRef directory, std::shared_ptr<Fill> fill = nullptr);

    // Not to be read, copied from or changed before wait() has returned.
    const ArrayRef& directory() const { return directory_; }
    // Returns once every entry is in place; from the thread that started the load only. A
    // failure of the filling thread (memory exhausted) is thrown here, once.
    void wait() const;

private:
    ArrayRef directory_;
    std::shared_ptr<Fill> fill_;
};

// loadBankDirectory, but the entries are filled on a thread of their own while the caller
// goes on (building the dialog). The table is opened, checked and its fields found here, so
// every error is raised here, as loadBankDirectory raises it; only the copying of codes and
// names into the entries, which cannot fail short of memory, is left to the thread. Without
// records to fill, or when the table cannot be read so, it is all done here.
BankDirectoryLoad loadBankDirectoryInBackground(const std::string& fileName,
                                                SourceLocation where = SourceLocation::current());

} // namespace cuentas
