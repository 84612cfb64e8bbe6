#include "platform/runtime/error_record.h"

#include <algorithm>

namespace cuentas {

std::uint32_t readLittleEndian32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

void writeLittleEndian32(std::uint8_t* bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint32_t RecordView::get(RecordField field) const {
    return readLittleEndian32(bytes_.data() + offsetOf(field));
}

void RecordView::set(RecordField field, std::uint32_t value) {
    writeLittleEndian32(bytes_.data() + offsetOf(field), value);
}

void RecordView::clear() { std::fill(bytes_.begin(), bytes_.end(), std::uint8_t{0}); }

} // namespace cuentas
