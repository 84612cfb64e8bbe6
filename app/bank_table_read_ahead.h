#pragma once
// Reading the bank table ahead, while the GUI toolkit comes up: from the moment the program
// knows it will start, a thread of its own maps the table, checks it and fills the bank
// directory's entries. START takes that work over when the table it opens is the same file,
// unchanged since; otherwise it reads the table itself, as it always does, and raises what it
// finds there. Nothing of the runtime is touched by the thread.

#include "app/bank_directory.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>

namespace cuentas {

class BankTableReadAhead {
public:
    // Starts reading `fileName` (as a DBSERVER would name it, from the current directory).
    // One read-ahead at a time: a later one replaces an earlier one not yet taken.
    explicit BankTableReadAhead(const std::string& fileName);
    // Joins the thread, when START did not take the work over.
    ~BankTableReadAhead();
    // Returns once the table has been read and checked (its entries may still be filling).
    void waitUntilChecked() const;
    // Whether START took the work over.
    bool taken() const;
    BankTableReadAhead(const BankTableReadAhead&) = delete;
    BankTableReadAhead& operator=(const BankTableReadAhead&) = delete;

    struct State;

private:
    // Not an owner: a read-ahead START turns down is let go at once, not kept for the session.
    std::weak_ptr<State> state_;
    std::shared_ptr<const std::atomic<bool>> taken_;
};

// The directory read ahead for `fileName`, when there is one for the file that name opens now,
// mapped and unchanged since it was read, with both fields of character type; its entries may
// still be being filled. Nothing otherwise. Taken once: a second call finds nothing.
std::optional<BankDirectoryLoad> takeReadAheadDirectory(const std::string& fileName);

} // namespace cuentas
