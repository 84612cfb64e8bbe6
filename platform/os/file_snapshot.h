#pragma once
// The bytes of a file as they were when it was opened, without copying them: the file is
// mapped into memory under a read lease. Another program that opens the file to write it, or
// truncates it, waits until the bytes have been copied into memory of our own, so the bytes
// never change under the texts that refer to them, and a file cut short never ends the program
// at its next read (as a mapping past a file's end otherwise would). Two cases the lease cannot
// cover leave zeros instead of the bytes, never a crash: no memory for the copy, and a program
// that empties the file by opening it to read with O_TRUNC.

#include <cstddef>
#include <optional>

namespace cuentas {

class FileSnapshot {
public:
    // The first `length` bytes of the open regular file `fd` (opened for reading), preceded
    // by `room` writable bytes for the caller's bookkeeping. Nothing when the bytes cannot be
    // held so: a lease refused (a file of another user, one open for writing elsewhere, a file
    // system without leases or whose files may change from another machine), a length of 0
    // or past the file's end, no memory left, or SIGIO blocked on this thread, so that the break
    // would never be heard. The caller then reads the file instead.
    // `fd` stays the caller's to close.
    static std::optional<FileSnapshot> take(int fd, std::size_t length, std::size_t room);

    FileSnapshot(FileSnapshot&& other) noexcept;
    FileSnapshot& operator=(FileSnapshot&& other) = delete;
    FileSnapshot(const FileSnapshot&) = delete;
    ~FileSnapshot();

    const char* bytes() const { return bytes_; }
    std::size_t size() const { return length_; }
    // The `room` bytes just before bytes().
    char* room() { return bytes_ - room_; }
    // True while the bytes are still what the file holds: nobody has opened it to write it or
    // cut it short since.
    bool asInFile() const;

private:
    FileSnapshot(int slot, char* bytes, std::size_t length, std::size_t room)
        : slot_(slot), bytes_(bytes), length_(length), room_(room) {}

    int slot_;
    char* bytes_;
    std::size_t length_;
    std::size_t room_;
};

} // namespace cuentas
