#pragma once
// The runtime's file functions over runtime paths (backslashes). Every call records the
// operating-system error of its outcome, which FError reports (0 after success).

#include "platform/os/os_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace cuentas {

using FileHandle = std::int64_t;
inline constexpr FileHandle kNoFile = -1;

// Open modes of FOpen: access in the low bits, sharing in 0x70, appending writes in 0x100,
// creation of a missing file (never emptying an existing one) in 0x200.
namespace openmode {
inline constexpr std::uint32_t kRead = 0;
inline constexpr std::uint32_t kWrite = 1;
inline constexpr std::uint32_t kReadWrite = 2;
inline constexpr std::uint32_t kShareExclusive = 0x10;
inline constexpr std::uint32_t kShareDenyWrite = 0x20;
inline constexpr std::uint32_t kShareDenyRead = 0x30;
inline constexpr std::uint32_t kShareDenyNone = 0x40;
inline constexpr std::uint32_t kAppend = 0x100;
inline constexpr std::uint32_t kCreate = 0x200;
} // namespace openmode

// Files are regular files: FOpen, FCreate, FCopy and MemoRead never wait to open a named
// pipe, and refuse a pipe, a device, a socket or a folder at once as access denied (5), with
// what it is in FErrorCause.

// Opens an existing file. Sharing modes are the system's (on POSIX, advisory locks among the
// processes of this runtime): an exclusive or deny mode conflicts with any other open of the
// file that does what it denies, and every other open conflicts with an exclusive one
// (sharing violation, 32).
//
// FOpen and FCreate set the network-error flag (NetErr) on every call: raised when they fail
// with a sharing or lock violation (32, 33), that is when another open holds the file and a
// later try may succeed; lowered on success and on any other failure.
FileHandle FOpen(const std::string& name, std::uint32_t mode);
// Creates a file, or empties an existing one, open for reading and writing.
// Attribute 0x01 makes it read-only; others are accepted and ignored.
FileHandle FCreate(const std::string& name, std::uint32_t attributes = 0);
// Origin 0 start, 1 current position, 2 end. Returns the new position, or -1.
std::int64_t FSeek(FileHandle handle, std::int64_t offset, int origin);
// Writes the text in one call; returns the bytes written.
std::size_t FWrite(FileHandle handle, std::string_view text);
// Writes the text followed by CR LF; returns the bytes written, line end included.
std::size_t FPutS(FileHandle handle, std::string_view text);
bool FClose(FileHandle handle);
// Cuts an open file back to `size` bytes, as a writer puts back a file that a failed write
// left longer. FALSE, with FError set, on failure.
bool FTruncate(FileHandle handle, std::int64_t size);
// Closes an open file and removes it, so that nothing another open of it writes afterwards
// lands in a removed file: removed while held where the system allows it, else right after
// it is closed (where an exclusive open of another process then keeps it). FALSE, with FError
// set, when it could not be removed.
bool FCloseErasing(FileHandle handle, const std::string& name);
// The operating-system error of the last file call, in the runtime's numbering.
std::uint32_t FError();
// What really went wrong in the last file call, where FError's number alone would mislead
// (a folder and a missing permission are both access denied); Unknown after success.
OsCause FErrorCause();

// A regular file open for reading, with its size when it was opened.
struct ReadableFile {
    FileHandle handle = kNoFile;
    std::uint64_t size = 0;
};
// Opens a regular file for reading without taking any sharing lock; nullopt with FError set
// on failure. The caller closes the handle with FClose.
std::optional<ReadableFile> openToRead(const std::string& name);
// Reads `size` bytes, or fewer at the end of the file: the count read, or -1 with FError set.
std::int64_t readUpTo(FileHandle handle, char* buffer, std::size_t size);

// The network-error flag that FOpen and FCreate raise and lower; the runtime's NetErr reads and
// sets it here, so that the file layer needs nothing of the runtime. Setting returns the
// previous state.
bool networkErrorFlag();
bool setNetworkErrorFlag(bool raised);

// TRUE when a file (not a directory) of that name exists.
bool File(const std::string& name);
// Copies a file whole, in pieces; an existing target is replaced as MemoWrit replaces it, so
// it never holds a part of the copy. FALSE, with FError set, on any failure.
bool FCopy(const std::string& from, const std::string& to);

// Writes `text` as the whole content of `name`, atomically: the text goes to a temporary
// file in the same directory, is flushed to disk and takes the place of `name` in one step,
// so a reader sees either the old or the new content, never a part. FALSE, with FError set,
// on failure; an existing file is then left as it was.
bool MemoWrit(const std::string& name, std::string_view text);
// The most MemoRead reads: a file that is larger, or grows larger while it is read, fails
// with not enough memory (8) and the cause TooLarge instead of exhausting the memory.
inline constexpr std::uint64_t kMemoReadLimit = std::uint64_t{1} << 30; // 1 GiB

// The whole content of a file, read in one pass; nullopt with FError set on failure.
std::optional<std::string> MemoRead(const std::string& name);

} // namespace cuentas
