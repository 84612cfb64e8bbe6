#pragma once
// Reading a .dbf table from a file: the header and the field list first, checked, then only
// the records they declare, in one pass from one open descriptor.

#include "platform/table/dbf_image.h"

#include <cstdint>
#include <string>

namespace cuentas {

// The most a table may declare. The records are read into memory whole (count x record
// length bytes), and every record read costs its entry of the bank directory besides, so
// both are bounded: a bank register needs far less (4,000,000 records of the bundled layout,
// 167 bytes each, take 668 MB). A table that declares more is refused before anything is
// reserved for it.
inline constexpr std::uint64_t kMaxTableRecordBytes = std::uint64_t{1} << 30; // 1 GiB
inline constexpr std::uint32_t kMaxTableRecords = std::uint32_t{1} << 23;     // 8,388,608

// Reads the table that `runtimePath` names (backslashes). The file is opened without waiting
// and must be a regular file; its header and field list are read and checked first, then
// only the header length plus count x record length bytes, never the bytes after them, so
// that memory follows the records declared, not the size of the file. The records are mapped
// where the system can hold them unchanged (FileSnapshot), and otherwise read in pieces into
// the buffer that the table keeps; its texts share either. A table rewritten meanwhile is read
// from the one descriptor opened, never half and half.
//
// Failures name what is wrong, without the file's name:
//   Unreadable: the operating system's cause ("file not found", "a named pipe where a file
//               was expected"), with the runtime's OS error number in osError();
//   TooLarge:   the records declared and the limit they pass;
//   Damaged:    the parser's text (see DbfImage::parse).
DbfResult<DbfImage> readDbfFile(const std::string& runtimePath);

// Which file a table was read from.
struct TableFile {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
};
// The same, telling which file it read.
DbfResult<DbfImage> readDbfFile(const std::string& runtimePath, TableFile& file);

// Whether the image is still, byte for byte, what the file holds: true while its bytes are
// held mapped (see FileSnapshot) and nobody has opened the file to write it or cut it short
// since. False for an image that had to be read: nothing tells when its file changes.
bool stillAsInFile(const DbfImage& image);

} // namespace cuentas
