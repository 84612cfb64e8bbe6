#pragma once
// The bytes of a file as they were when it was opened, without copying them: the file is
// mapped into memory under a read lease. Another program that opens the file to write it, or
// truncates it, waits until the bytes have been copied into memory of our own, so the bytes
// never change or vanish under the texts that refer to them (a truncated mapping would end
// the program at the next read).

#include <cstddef>
#include <optional>

namespace cuentas {

class FileSnapshot {
public:
    // The first `length` bytes of the open regular file `fd` (opened for reading), preceded
    // by `room` writable bytes for the caller's bookkeeping. Nothing when the bytes cannot be
    // held so: a lease refused (a file of another user, one open for writing elsewhere, a file
    // system without leases or whose files may change from another machine), a length of 0
    // or past the file's end, or no memory left. The caller then reads the file instead.
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
    // True once another program's write or truncation made the bytes be copied.
    bool copied() const;

private:
    FileSnapshot(int slot, char* bytes, std::size_t length, std::size_t room)
        : slot_(slot), bytes_(bytes), length_(length), room_(room) {}

    int slot_;
    char* bytes_;
    std::size_t length_;
    std::size_t room_;
};

} // namespace cuentas
