#include "app/bank_table_read_ahead.h"

#include "app/directory_fill.h"
#include "platform/os/files.h"
#include "platform/runtime/arrays.h"
#include "platform/table/db_server.h"
#include "platform/table/dbf_file.h"

#include <atomic>
#include <latch>

namespace cuentas {

struct BankTableReadAhead::State {
    std::string path;
    // Counted down once the table is read and checked; what is above `checked` is set before
    // and only read after it.
    std::latch checked{1};
    std::shared_ptr<std::atomic<bool>> taken = std::make_shared<std::atomic<bool>>(false);
    TableFile file;
    std::optional<DbfImage> image; // set when the table can be read ahead
    ArrayRef directory;            // being filled after `checked`
};

namespace {

using State = BankTableReadAhead::State;

// The read-ahead START may take, with the thread that fills it; set and taken on the
// program's own thread.
struct Pending {
    std::shared_ptr<State> state;
    std::shared_ptr<BankDirectoryLoad::Fill> fill;
};

Pending& pendingReadAhead() {
    static Pending pending;
    return pending;
}

// The entries to fill, when the table could be read, is held unchanged and has both fields as
// texts. Anything else (a missing table, a damaged one, no memory) is left for START to find.
std::optional<EntrySource> readAndCheck(State& state) {
    try {
        TableFile file;
        DbfResult<DbfImage> read = readDbfFile(state.path, file);
        if (!read.ok() || !stillAsInFile(read.value())) {
            return std::nullopt;
        }
        const DbfImage& image = read.value();
        DbfResult<std::size_t> code = image.characterField("BANCO");
        DbfResult<std::size_t> name = image.characterField("NOMBRE");
        if (!code.ok() || !name.ok()) {
            return std::nullopt;
        }
        state.directory = ArrayCreate(0);
        state.directory->reserve(image.recordCount());
        state.file = file;
        state.image = image;
        return EntrySource{image, code.value(), name.value(), 0, image.recordCount()};
    } catch (...) {
        state.image.reset();
        return std::nullopt;
    }
}

void readAhead(State& state) {
    std::optional<EntrySource> source = readAndCheck(state);
    state.checked.count_down();
    if (source) {
        fillEntries(*source, *state.directory);
    }
}

// Whether the name opens, now, the very file that was read ahead.
bool opensTheSameFile(const std::string& path, const TableFile& read) {
    std::optional<ReadableFile> now = openToRead(path);
    if (!now) {
        return false;
    }
    FClose(now->handle);
    return now->device == read.device && now->inode == read.inode;
}

} // namespace

BankTableReadAhead::BankTableReadAhead(const std::string& fileName) {
    auto state = std::make_shared<State>();
    state->path = tablePath(fileName);
    auto fill = startFill([state] { readAhead(*state); });
    if (!fill) {
        return; // no thread to be had: START reads the table as ever
    }
    state_ = state;
    taken_ = state->taken;
    pendingReadAhead() = {std::move(state), std::move(fill)};
}

BankTableReadAhead::~BankTableReadAhead() {
    // The thread is joined here, unless START took it over.
    if (std::shared_ptr<State> state = state_.lock(); state && pendingReadAhead().state == state) {
        pendingReadAhead() = {};
    }
}

void BankTableReadAhead::waitUntilChecked() const {
    if (std::shared_ptr<State> state = state_.lock()) {
        state->checked.wait();
    }
}

bool BankTableReadAhead::taken() const {
    return taken_ && *taken_;
}

std::optional<BankDirectoryLoad> takeReadAheadDirectory(const std::string& fileName) {
    Pending taken = std::exchange(pendingReadAhead(), {});
    const std::shared_ptr<State>& state = taken.state;
    if (!state) {
        return std::nullopt;
    }
    state->checked.wait();
    const std::string path = tablePath(fileName);
    if (!state->image || state->path != path || !opensTheSameFile(path, state->file) ||
        !stillAsInFile(*state->image)) {
        return std::nullopt; // START reads it again; the thread is joined, its work let go
    }
    *state->taken = true;
    return BankDirectoryLoad(state->directory, std::move(taken.fill));
}

} // namespace cuentas
