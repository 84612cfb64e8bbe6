#pragma once
// The runtime error record: 100 bytes, 25 little-endian 32-bit fields, in which the runtime
// describes an error it has detected before the installed error function converts it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace cuentas {

enum class RecordField : std::uint8_t {
    Subsystem,     // address of text
    SubCode,
    GenCode,
    OsCode,
    Severity,
    CanDefault,    // 32-bit logic
    CanRetry,
    CanSubstitute,
    Operation,     // address of text
    Description,   // address of text
    FileName,      // address of text
    Args,          // address of an argument block, or 0
    Tries,
    FuncSym,       // symbol number
    Handle,        // file handle
    ArgNum,
    FuncPtr,       // address
    SubCodeText,   // address of text
    Arg,           // address of text, or of a runtime-managed string
    ArgType,
    ArgTypeReq,
    MaxSize,
    SubstituteType,
    Choice,
    CallFuncSym,   // symbol number
};

inline constexpr std::size_t kRecordFieldCount = 25;
inline constexpr std::size_t kRecordSize = kRecordFieldCount * 4;

constexpr std::size_t offsetOf(RecordField field) { return static_cast<std::size_t>(field) * 4; }

// A view of 100 bytes as the record's fields.
class RecordView {
public:
    explicit RecordView(std::span<std::uint8_t, kRecordSize> bytes) : bytes_(bytes) {}
    std::uint32_t get(RecordField field) const;
    void set(RecordField field, std::uint32_t value);
    void clear();

private:
    std::span<std::uint8_t, kRecordSize> bytes_;
};

// Argument block: two 16-bit counts, then from offset 4 one 32-bit value address per argument.
inline constexpr std::size_t kArgumentBlockHeader = 4;

std::uint32_t readLittleEndian32(const std::uint8_t* bytes);
void writeLittleEndian32(std::uint8_t* bytes, std::uint32_t value);

} // namespace cuentas
