#include "platform/table/dbf_image.h"

#include "platform/runtime/letter_case.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace cuentas {
namespace {

constexpr std::size_t kHeaderSize = 32;
constexpr std::size_t kDescriptorSize = 32;
constexpr std::size_t kNameSize = 11;
constexpr std::uint8_t kFieldListEnd = 0x0D;
constexpr std::uint8_t kFieldListEndLf = 0x0A; // some writers' end mark
constexpr std::size_t kBacklinkSize = 263;
constexpr std::uint8_t kLiveRecord = 0x20;
constexpr std::uint8_t kDeletedRecord = 0x2A;
constexpr std::uint8_t kEndOfFile = 0x1A;

constexpr std::array<std::uint8_t, 7> kAcceptedTypes{0x03, 0x83, 0x30, 0x31, 0x32, 0xF5, 0x8B};
// Tables of this level use 48-byte descriptors; reading them as 32-byte ones would misparse.
constexpr std::array<std::uint8_t, 2> kWideDescriptorTypes{0x04, 0x8C};
// Tables of these types keep a backlink area between the end mark and the records.
constexpr std::array<std::uint8_t, 3> kBacklinkTypes{0x30, 0x31, 0x32};

std::string hexByte(std::uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(byte));
    return text;
}

// Names and type letters from a damaged file may hold any byte; messages stay readable.
std::string printable(std::string_view text) {
    std::string shown(text);
    for (char& c : shown) {
        auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            c = '?';
        }
    }
    return shown;
}

std::string typeText(char type) {
    auto byte = static_cast<unsigned char>(type);
    return byte > 0x20 && byte < 0x7F ? std::string(1, type) : hexByte(byte);
}

std::string byteCount(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

template <class Container> bool contains(const Container& values, std::uint8_t value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    std::uint8_t byte(std::size_t at) const { return static_cast<std::uint8_t>(bytes_[at]); }
    std::uint16_t word(std::size_t at) const {
        return static_cast<std::uint16_t>(byte(at) | byte(at + 1) << 8);
    }
    std::uint32_t doubleWord(std::size_t at) const {
        return std::uint32_t{word(at)} | std::uint32_t{word(at + 2)} << 16;
    }

private:
    std::string_view bytes_;
};

DbfHeader readHeader(const Reader& in) {
    DbfHeader header;
    header.tableType = in.byte(0);
    header.lastUpdateYear = 1900 + in.byte(1);
    header.lastUpdateMonth = in.byte(2);
    header.lastUpdateDay = in.byte(3);
    header.recordCount = in.doubleWord(4);
    header.headerLength = in.word(8);
    header.recordLength = in.word(10);
    header.flags = in.byte(28);
    header.codePageMark = in.byte(29);
    return header;
}

DbfField readField(std::string_view bytes, std::size_t at) {
    Reader in(bytes);
    std::string_view raw = bytes.substr(at, kNameSize);
    DbfField field;
    field.name = std::string(raw.substr(0, raw.find('\0')));
    // Type letters are ASCII; any other byte stays as stored, to be named in messages.
    const auto type = static_cast<char>(in.byte(at + 11));
    field.type = type >= 'a' && type <= 'z' ? upperCase1252(type) : type;
    field.width = in.byte(at + 16);
    if (field.type == 'C') {
        // Character fields wider than 255 keep the width's high byte where decimals would be.
        field.width += std::uint32_t{in.byte(at + 17)} << 8;
    } else {
        field.decimals = in.byte(at + 17);
    }
    return field;
}

// The count of descriptors that the header length leaves room for, with the end mark and,
// for the types that have it, the backlink area after them.
std::size_t descriptorsInHeader(const DbfHeader& header) {
    std::size_t after = 1 + (contains(kBacklinkTypes, header.tableType) ? kBacklinkSize : 0);
    if (header.headerLength < kHeaderSize + after) {
        return 0;
    }
    return (header.headerLength - kHeaderSize - after) / kDescriptorSize;
}

// A CR ends the field list wherever it stands. An LF ends it only where the header length
// says the list ends, so that a damaged name beginning with LF is not taken for the end.
bool endsFieldList(std::uint8_t byte, std::size_t fieldsBefore, const DbfHeader& header) {
    return byte == kFieldListEnd ||
           (byte == kFieldListEndLf && fieldsBefore == descriptorsInHeader(header));
}

bool isAsciiLetter(std::uint8_t byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

// Descriptors that fill the header exactly may still be followed by more of them: where the
// first record should begin stands a descriptor or the end mark, not a record, and the list
// ends further on. The header length is then too small for the field list.
std::optional<std::string> fieldListPastHeader(const Reader& in, std::size_t size,
                                               const DbfHeader& header) {
    const std::size_t first = header.headerLength;
    if (first >= size) {
        return std::nullopt;
    }
    const std::uint8_t byte = in.byte(first);
    if (byte == kLiveRecord || byte == kDeletedRecord || byte == kEndOfFile) {
        return std::nullopt; // records follow, or nothing does
    }
    // A list that ends past 64 KiB is none that a 16-bit header length could have held.
    const std::size_t limit = std::min<std::size_t>(size, 0x10000);
    for (std::size_t at = first; at < limit; at += kDescriptorSize) {
        if (in.byte(at) == kFieldListEnd) {
            const bool backlink = contains(kBacklinkTypes, header.tableType);
            const std::size_t needed = at + 1 + (backlink ? kBacklinkSize : 0);
            return "header length " + std::to_string(header.headerLength) +
                   " is too small for its field list, which takes " + std::to_string(needed) +
                   " bytes (" + std::to_string((at - kHeaderSize) / kDescriptorSize) +
                   (backlink ? " fields, the end mark and the backlink)"
                             : " fields and the end mark)");
        }
        if (at + kDescriptorSize > size || !isAsciiLetter(in.byte(at + 11))) {
            return std::nullopt; // no descriptor: the records are out of place otherwise
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> deletionFlagFault(std::uint8_t flag, std::uint32_t record) {
    // A flag other than blank or '*' means the records are not where the header puts them.
    if (flag == kEndOfFile) {
        return "record " + std::to_string(record) + " begins with the end-of-file mark 0x1A";
    }
    if (flag != kLiveRecord && flag != kDeletedRecord) {
        return "record " + std::to_string(record) + " has an invalid deletion flag " +
               hexByte(flag);
    }
    return std::nullopt;
}

std::optional<std::string> missingRecordsFault(const DbfHeader& header, std::uint64_t size) {
    // 64-bit arithmetic: a count of 0xFFFFFFFF times 65535 fits, and nothing is reserved
    // before the records are known to be in the file.
    const std::uint64_t length = header.recordLength;
    const std::uint64_t body = size - header.headerLength;
    if (std::uint64_t{header.recordCount} * length <= body) {
        return std::nullopt;
    }
    const std::uint64_t before = (std::uint64_t{header.recordCount} - 1) * length;
    if (before < body) {
        return "record " + std::to_string(header.recordCount) + " is cut short: the file ends " +
               byteCount(body - before) + " into it";
    }
    return "record count " + std::to_string(header.recordCount) + " needs " +
           std::to_string(header.headerLength + std::uint64_t{header.recordCount} * length) +
           " bytes but the file has " + std::to_string(size);
}

bool sameFieldName(std::string_view left, std::string_view right) {
    return left.size() == right.size() &&
           std::equal(left.begin(), left.end(), right.begin(),
                      [](char a, char b) { return upperCase1252(a) == upperCase1252(b); });
}

DbfResult<DbfLayout> DbfImage::parseLayout(std::string_view bytes) {
    using Result = DbfResult<DbfLayout>;
    const std::size_t size = bytes.size();
    if (size < kHeaderSize) {
        return Result::failure("file is " + std::to_string(size) +
                               " bytes long, shorter than the 32-byte header");
    }
    Reader in(bytes);
    DbfLayout layout;
    layout.header = readHeader(in);
    const DbfHeader& header = layout.header;
    if (contains(kWideDescriptorTypes, header.tableType)) {
        return Result::failure("table type " + hexByte(header.tableType) +
                               " is not supported (48-byte field descriptors)");
    }
    if (!contains(kAcceptedTypes, header.tableType)) {
        return Result::failure("unknown table type " + hexByte(header.tableType));
    }
    if (header.headerLength < kHeaderSize + kDescriptorSize) {
        return Result::failure("header length " + std::to_string(header.headerLength) +
                               " is too small for one field");
    }

    // Descriptors follow in 32-byte steps up to the end mark, never past the header length
    // nor past the end of the file.
    const std::size_t limit = std::min<std::size_t>(header.headerLength, size);
    std::size_t at = kHeaderSize;
    bool endMarked = false;
    while (at < limit) {
        if (endsFieldList(in.byte(at), layout.fields.size(), header)) {
            endMarked = true;
            break;
        }
        if (at + kDescriptorSize > limit) {
            break;
        }
        layout.fields.push_back(readField(bytes, at));
        at += kDescriptorSize;
    }
    if (header.headerLength > size) {
        if (!endMarked) {
            return Result::failure("file ends inside the field list (" + std::to_string(size) +
                                   " bytes)");
        }
        return Result::failure("header length " + std::to_string(header.headerLength) +
                               " is larger than the file (" + std::to_string(size) + " bytes)");
    }
    // Without an end mark the descriptors must fill the header exactly, and end there.
    if (!endMarked && at != header.headerLength) {
        return Result::failure("field list has no end mark within the header length " +
                               std::to_string(header.headerLength));
    }
    if (!endMarked) {
        if (auto fault = fieldListPastHeader(in, size, header)) {
            return Result::failure(*fault);
        }
    }
    if (layout.fields.empty()) {
        return Result::failure("table has no fields");
    }

    std::uint64_t needed = 1; // the deletion flag
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        DbfField& field = layout.fields[i];
        if (field.name.empty()) {
            return Result::failure("field " + std::to_string(i + 1) + " has no name");
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (sameFieldName(layout.fields[j].name, field.name)) {
                return Result::failure("field name " + printable(field.name) + " appears twice");
            }
        }
        field.offset = static_cast<std::uint32_t>(needed);
        needed += field.width;
    }
    if (header.recordLength < needed) {
        return Result::failure("record length " + std::to_string(header.recordLength) +
                               " is smaller than the fields need (" + std::to_string(needed) + ")");
    }
    if (header.recordLength < 2) {
        return Result::failure("record length " + std::to_string(header.recordLength) +
                               " is too small");
    }
    return layout;
}

DbfResult<DbfImage> DbfImage::parse(std::string_view bytes) {
    TextBuffer buffer = TextBuffer::allocate(bytes.size());
    std::copy(bytes.begin(), bytes.end(), buffer.data());
    return parse(std::move(buffer));
}

DbfResult<DbfImage> DbfImage::parse(TextBuffer buffer) {
    using Result = DbfResult<DbfImage>;
    const std::string_view bytes = buffer.view();
    DbfResult<DbfLayout> layout = parseLayout(bytes);
    if (!layout.ok()) {
        return Result::failure(layout);
    }
    const DbfHeader& header = layout.value().header;
    Reader in(bytes);
    if (auto fault = missingRecordsFault(header, bytes.size())) {
        return Result::failure(*fault);
    }
    const std::uint64_t length = header.recordLength;
    for (std::uint32_t record = 0; record < header.recordCount; ++record) {
        const std::uint8_t flag = in.byte(header.headerLength + record * length);
        if (flag == kLiveRecord || flag == kDeletedRecord) {
            continue; // the usual case, without building an empty fault
        }
        if (auto fault = deletionFlagFault(flag, record + 1)) {
            return Result::failure(*fault);
        }
    }
    DbfImage image;
    image.bytes_ = std::move(buffer);
    image.layout_ = std::move(layout.value());
    return image;
}

std::optional<std::size_t> DbfImage::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < fields().size(); ++i) {
        if (sameFieldName(fields()[i].name, name)) {
            return i;
        }
    }
    return std::nullopt;
}

DbfResult<std::size_t> DbfImage::characterField(std::string_view name,
                                                std::optional<std::uint32_t> width) const {
    auto index = fieldIndex(name);
    if (!index) {
        return DbfResult<std::size_t>::failure("no field " + printable(name));
    }
    const DbfField& field = fields()[*index];
    if (field.type != 'C') {
        return DbfResult<std::size_t>::failure("field " + printable(name) + " is of type " +
                                               typeText(field.type) + ", not character");
    }
    if (width && field.width != *width) {
        return DbfResult<std::size_t>::failure("field " + printable(name) + " is of width " +
                                               std::to_string(field.width) + ", not " +
                                               std::to_string(*width));
    }
    return *index;
}

std::string_view DbfImage::recordBytes(std::uint32_t record) const {
    if (record >= header().recordCount) {
        return {};
    }
    std::size_t start = header().headerLength + std::size_t{record} * header().recordLength;
    return bytes_.view().substr(start, header().recordLength);
}

std::string_view DbfImage::fieldBytes(std::uint32_t record, std::size_t field) const {
    if (record >= header().recordCount || field >= fields().size()) {
        return {};
    }
    const DbfField& descriptor = fields()[field];
    return recordBytes(record).substr(descriptor.offset, descriptor.width);
}

Text DbfImage::fieldText(std::uint32_t record, std::size_t field) const {
    if (record >= header().recordCount || field >= fields().size()) {
        return Text();
    }
    const std::size_t start = header().headerLength + std::size_t{record} * header().recordLength +
                              fields()[field].offset;
    return Text::slice(bytes_, start, fields()[field].width);
}

bool DbfImage::isDeleted(std::uint32_t record) const {
    std::string_view bytes = recordBytes(record);
    return !bytes.empty() && static_cast<std::uint8_t>(bytes.front()) == kDeletedRecord;
}

} // namespace cuentas
