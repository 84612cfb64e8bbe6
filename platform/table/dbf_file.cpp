#include "platform/table/dbf_file.h"

#include "platform/os/files.h"

#include <algorithm>

namespace cuentas {
namespace {

constexpr std::size_t kHeaderSize = 32;

std::uint16_t word(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[at]) |
                                      static_cast<std::uint8_t>(bytes[at + 1]) << 8);
}

// Appends up to `count` bytes read from the file, or fewer at its end, in pieces, so that
// what a header declares is never reserved before the file has shown it holds it.
// False with FError set when reading fails.
bool readMore(FileHandle handle, std::string& bytes, std::uint64_t count) {
    constexpr std::uint64_t kPiece = std::uint64_t{1} << 20;
    while (count > 0) {
        const std::size_t before = bytes.size();
        const auto piece = static_cast<std::size_t>(std::min(count, kPiece));
        bytes.resize(before + piece);
        std::int64_t got = readUpTo(handle, bytes.data() + before, piece);
        bytes.resize(before + static_cast<std::size_t>(std::max<std::int64_t>(got, 0)));
        if (got < 0) {
            return false;
        }
        if (static_cast<std::size_t>(got) < piece) {
            return true; // the end of the file
        }
        count -= piece;
    }
    return true;
}

DbfResult<DbfImage> unreadable() {
    return DbfResult<DbfImage>::failure(osErrorText(FError(), FErrorCause()), DbfFault::Unreadable,
                                        FError());
}

// Reads the bytes from `done` to `end` of the table into `image`, in pieces; gives how far
// it got (less at the end of the file). Each record's deletion flag is looked at as soon as
// it is read: records that are not where the header puts them (a wrong count, a file padded
// with zeros) end the read at the first piece instead of after a gigabyte.
DbfResult<std::size_t> readRecords(FileHandle handle, TextBuffer& image, std::size_t done,
                                   std::size_t end, const DbfHeader& header) {
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    std::uint32_t checked = 0;
    while (done < end) {
        const std::size_t piece = std::min(kPiece, end - done);
        std::int64_t got = readUpTo(handle, image.data() + done, piece);
        if (got < 0) {
            return DbfResult<std::size_t>::failure(unreadable());
        }
        done += static_cast<std::size_t>(got);
        if (static_cast<std::size_t>(got) < piece) {
            break; // the end of the file
        }
        for (; checked < header.recordCount; ++checked) {
            const std::uint64_t at =
                header.headerLength + std::uint64_t{checked} * header.recordLength;
            if (at >= done) {
                break;
            }
            if (auto fault =
                    deletionFlagFault(static_cast<std::uint8_t>(image.data()[at]), checked + 1)) {
                // The first record out of place may be the field list running on past a
                // header length too small for it, which the bytes now read show.
                DbfResult<DbfLayout> layout = DbfImage::parseLayout({image.data(), done});
                return layout.ok() || checked > 0 ? DbfResult<std::size_t>::failure(*fault)
                                                  : DbfResult<std::size_t>::failure(layout);
            }
        }
    }
    return done;
}

DbfResult<DbfImage> readOpenTable(const ReadableFile& file) {
    using Result = DbfResult<DbfImage>;
    std::string bytes;
    if (!readMore(file.handle, bytes, kHeaderSize)) {
        return unreadable();
    }
    if (bytes.size() == kHeaderSize) {
        const std::uint16_t headerLength = word(bytes, 8);
        if (headerLength > kHeaderSize &&
            !readMore(file.handle, bytes, headerLength - kHeaderSize)) {
            return unreadable();
        }
    }
    DbfResult<DbfLayout> layout = DbfImage::parseLayout(bytes);
    if (!layout.ok()) {
        return Result::failure(layout);
    }
    const DbfHeader& header = layout.value().header;
    const std::uint64_t records = std::uint64_t{header.recordCount} * header.recordLength;
    if (records > kMaxTableRecordBytes) {
        return Result::failure(std::to_string(header.recordCount) + " records of " +
                                   std::to_string(header.recordLength) + " bytes need " +
                                   std::to_string(records) + " bytes, more than the " +
                                   std::to_string(kMaxTableRecordBytes) + " bytes a table may hold",
                               DbfFault::TooLarge);
    }
    if (header.recordCount > kMaxTableRecords) {
        return Result::failure(std::to_string(header.recordCount) + " records are more than the " +
                                   std::to_string(kMaxTableRecords) + " records a table may hold",
                               DbfFault::TooLarge);
    }
    // A file shorter than declared is refused before its records are read.
    if (auto fault =
            missingRecordsFault(header, std::max<std::uint64_t>(file.size, bytes.size()))) {
        return Result::failure(*fault);
    }
    // The header and the records in one buffer that the table owns and its texts share.
    const auto wanted = static_cast<std::size_t>(records);
    TextBuffer image = TextBuffer::allocate(bytes.size() + wanted);
    std::copy(bytes.begin(), bytes.end(), image.data());
    DbfResult<std::size_t> read =
        readRecords(file.handle, image, bytes.size(), bytes.size() + wanted, header);
    if (!read.ok()) {
        return Result::failure(read);
    }
    image.shrink(read.value());
    return DbfImage::parse(std::move(image));
}

} // namespace

DbfResult<DbfImage> readDbfFile(const std::string& runtimePath) {
    std::optional<ReadableFile> file = openToRead(runtimePath);
    if (!file) {
        return unreadable();
    }
    DbfResult<DbfImage> result = readOpenTable(*file);
    FClose(file->handle);
    return result;
}

} // namespace cuentas
