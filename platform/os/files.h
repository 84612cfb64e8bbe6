#pragma once
// The runtime's file functions over runtime paths (backslashes). Every call records the
// operating-system error of its outcome, which FError reports (0 after success).

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

// Opens an existing file. Sharing modes are advisory locks among the processes of this
// runtime: an exclusive or deny mode conflicts with any other open of the file, and every
// other open conflicts with an exclusive or deny one (sharing violation, 32).
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
// The operating-system error of the last file call, in the runtime's numbering.
std::uint32_t FError();

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
// file in the same directory, is flushed to disk and replaces `name` by rename, so a reader
// sees either the old or the new content, never a part. FALSE, with FError set, on failure;
// an existing file is then left as it was.
bool MemoWrit(const std::string& name, std::string_view text);
// The whole content of a file, read in one pass; nullopt with FError set on failure.
std::optional<std::string> MemoRead(const std::string& name);

} // namespace cuentas
