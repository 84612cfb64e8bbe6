#pragma once
// Reading a .dbf table from a file: the header and the field list first, checked, then only
// the records they declare, read at once from one open descriptor into a buffer the table
// owns.

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
// that memory follows the records declared, not the size of the file. A file shorter than
// that is refused before its records are read. The records go into one buffer that the table
// keeps and its texts share, read in pieces whose deletion flags are checked as they arrive
// (records that are not where the header puts them end the read at the first piece), so that
// whatever happens to the file afterwards, the table reads as it was read.
//
// Failures name what is wrong, without the file's name:
//   Unreadable: the operating system's cause ("file not found", "a named pipe where a file
//               was expected"), with the runtime's OS error number in osError();
//   TooLarge:   the records declared and the limit they pass;
//   Damaged:    the parser's text (see DbfImage::parse).
DbfResult<DbfImage> readDbfFile(const std::string& runtimePath);

} // namespace cuentas
