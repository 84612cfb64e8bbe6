#pragma once
// A .dbf table parsed from the whole file image held in memory: header facts, field
// descriptors and byte-exact field access. It never touches a file, Qt or the error block:
// every failure comes back as a value with a short English text naming what is wrong.

#include "platform/runtime/text_storage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace cuentas {

// What the 32-byte header of a table says.
struct DbfHeader {
    std::uint8_t tableType = 0;
    int lastUpdateYear = 0; // 1900 + the stored year byte, which may exceed 99
    int lastUpdateMonth = 0;
    int lastUpdateDay = 0;
    std::uint32_t recordCount = 0;
    std::uint16_t headerLength = 0;
    std::uint16_t recordLength = 0;
    std::uint8_t flags = 0;        // 0x01 structural index, 0x02 memo, 0x04 database container
    std::uint8_t codePageMark = 0; // kept as information: field bytes are never transcoded
};

// One field descriptor.
struct DbfField {
    std::string name;          // as stored, cut at the first NUL
    char type = 0;             // 'C', 'N', 'L', 'D', ... (letters in upper case)
    std::uint32_t width = 0;   // character fields may carry a high byte in the decimals byte
    std::uint8_t decimals = 0; // 0 for character fields
    std::uint32_t offset = 0;  // position in the record; the deletion flag is byte 0
};

// The header and the field list of a table: everything but its records.
struct DbfLayout {
    DbfHeader header;
    std::vector<DbfField> fields;
};

// Why a table could not be had: its bytes are not a table, the file could not be read, or
// its records would take more memory than a table may.
enum class DbfFault { Damaged, Unreadable, TooLarge };

// A value or the text of what went wrong, with the runtime's operating-system error number
// when the file could not be read (0 otherwise).
template <class T> class DbfResult {
public:
    DbfResult(T value) : state_(std::move(value)) {}
    static DbfResult failure(std::string message, DbfFault fault = DbfFault::Damaged,
                             std::uint32_t osError = 0) {
        return DbfResult(Failure{std::move(message), fault, osError});
    }
    // The failure of another result, carried on.
    template <class U> static DbfResult failure(const DbfResult<U>& failed) {
        return failure(failed.error(), failed.fault(), failed.osError());
    }

    bool ok() const { return state_.index() == 0; }
    // Only when ok().
    const T& value() const { return std::get<0>(state_); }
    T& value() { return std::get<0>(state_); }
    // Empty when ok().
    std::string error() const { return ok() ? std::string() : std::get<1>(state_).message; }
    // Only when !ok().
    DbfFault fault() const { return std::get<1>(state_).fault; }
    std::uint32_t osError() const { return ok() ? 0 : std::get<1>(state_).osError; }

private:
    struct Failure {
        std::string message;
        DbfFault fault;
        std::uint32_t osError;
    };
    explicit DbfResult(Failure failure) : state_(std::move(failure)) {}
    std::variant<T, Failure> state_;
};

class DbfImage {
public:
    // Parses a whole file image. Every fact of the header is checked against the image
    // before anything is reserved, and every record's deletion flag is checked, so that
    // later access cannot fail. The image is kept as it is: texts taken from it share it.
    static DbfResult<DbfImage> parse(TextBuffer bytes);
    static DbfResult<DbfImage> parse(std::string_view bytes);
    // Checks the header and the field list alone, from the first bytes of a file: all of
    // them up to the header length, or the whole file when it is shorter. Given bytes past
    // the header length, it also sees a field list that runs on past a header length too
    // small for it. A layout that passes here fails parse() only for its records, or for
    // such a field list when only the header's bytes were given.
    static DbfResult<DbfLayout> parseLayout(std::string_view bytes);

    const DbfHeader& header() const { return layout_.header; }
    const std::vector<DbfField>& fields() const { return layout_.fields; }
    std::uint32_t recordCount() const { return layout_.header.recordCount; }

    // Position of a field in fields(), by name compared as sameFieldName does.
    std::optional<std::size_t> fieldIndex(std::string_view name) const;
    // The field a caller reads as text: a missing or non-character field is an error, and so
    // is one of another width than `width`, when given.
    DbfResult<std::size_t> characterField(std::string_view name,
                                          std::optional<std::uint32_t> width = {}) const;

    // Record numbers count from 0 up to recordCount() - 1; field positions index fields().
    // The bytes are exactly as stored, width bytes long; a record or field out of range
    // gives an empty view.
    std::string_view fieldBytes(std::uint32_t record, std::size_t field) const;
    // The same bytes as a text that shares the image instead of copying it, and keeps it
    // alive for as long as the text lives.
    Text fieldText(std::uint32_t record, std::size_t field) const;
    // The whole image, as parsed.
    const TextBuffer& bytes() const { return bytes_; }
    // The whole record, deletion flag included.
    std::string_view recordBytes(std::uint32_t record) const;
    bool isDeleted(std::uint32_t record) const;

private:
    DbfImage() = default;

    TextBuffer bytes_;
    DbfLayout layout_;
};

// Field names compared without regard to letter case, by the runtime's Windows-1252 rule, so
// that a symbol (interned in upper case by the same rule) finds the field of its name.
bool sameFieldName(std::string_view left, std::string_view right);

// What is wrong with the deletion flag of record `record` (counted from 1), if anything: only
// a blank (live) or '*' (deleted) belongs there.
std::optional<std::string> deletionFlagFault(std::uint8_t flag, std::uint32_t record);

// What is missing when a table of `size` bytes is too short for the records its header
// declares, if anything: the record cut short, or the bytes the count needs.
std::optional<std::string> missingRecordsFault(const DbfHeader& header, std::uint64_t size);

} // namespace cuentas
