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
    // The header and the records in one buffer that the table's texts will share, the
    // records read in one go. Reserved for what the file holds when it is shorter than
    // declared: the parser then names the cut record.
    const std::uint64_t present = file.size > bytes.size() ? file.size - bytes.size() : 0;
    const auto wanted = static_cast<std::size_t>(std::min(records, present));
    TextBuffer image = TextBuffer::allocate(bytes.size() + wanted);
    std::copy(bytes.begin(), bytes.end(), image.data());
    std::int64_t got = readUpTo(file.handle, image.data() + bytes.size(), wanted);
    if (got < 0) {
        return unreadable();
    }
    image.shrink(bytes.size() + static_cast<std::size_t>(got));
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
