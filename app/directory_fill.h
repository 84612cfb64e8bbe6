#pragma once
// Filling the bank directory's entries from a table's image: on the calling thread, or on a
// thread of its own that BankDirectoryLoad::Fill joins. Shared by the start-up read and the
// read-ahead.

#include "app/bank_directory.h"
#include "platform/table/dbf_image.h"

#include <exception>
#include <functional>
#include <memory>
#include <thread>

namespace cuentas {

// Where the entries come from when both fields are character fields of an open table: the
// records from `first` (0-based) on, read from the table's image alone, which any thread may do.
struct EntrySource {
    DbfImage image;
    std::size_t codeField;
    std::size_t nameField;
    std::uint32_t first;
    std::uint32_t count;
};

// One {code, name} row per record of the source, side by side in one block, appended to the
// directory, which has room for them. The texts share the table's bytes, so a record costs no
// allocation.
void fillEntries(const EntrySource& source, ArrayData& directory);

// The filling thread and what it leaves: joined by wait() or, at the latest, when the last
// holder lets go, so that it never outlives the directory's users unjoined.
// The thread's own work holds `failure`, never the Fill, so that the thread never ends up
// joining itself.
struct BankDirectoryLoad::Fill {
    std::thread thread;
    std::shared_ptr<std::exception_ptr> failure = std::make_shared<std::exception_ptr>();

    ~Fill() {
        if (thread.joinable()) {
            thread.join();
        }
    }
};

// Runs `work` on a helper thread beside the caller's (startBesideCaller); what it throws is
// kept for wait(). Null when no thread can be had: the caller then does the work itself. The
// work must hold what it needs, never the Fill.
std::shared_ptr<BankDirectoryLoad::Fill> startFill(std::function<void()> work);

} // namespace cuentas
