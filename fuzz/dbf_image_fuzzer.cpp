// Feeds arbitrary bytes to the .dbf image parser and, when it accepts them, reads every field
// of every record. A crash, a hang, an out-of-bounds read, an allocation past the limit or a
// broken promise of the parser (checked below) is a finding.

#include "platform/table/dbf_image.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using cuentas::DbfImage;
    auto parsed = DbfImage::parse(std::string(reinterpret_cast<const char*>(data), size));
    if (!parsed.ok()) {
        require(!parsed.error().empty());
        return 0;
    }
    const DbfImage& table = parsed.value();
    const auto& header = table.header();
    require(!table.fields().empty());
    require(std::uint64_t{header.headerLength} +
                std::uint64_t{header.recordCount} * header.recordLength <=
            size);
    std::size_t blanks = 0;
    for (std::uint32_t record = 0; record < table.recordCount(); ++record) {
        require(table.recordBytes(record).size() == header.recordLength);
        for (std::size_t field = 0; field < table.fields().size(); ++field) {
            const auto& descriptor = table.fields()[field];
            require(descriptor.offset + descriptor.width <= header.recordLength);
            std::string_view bytes = table.fieldBytes(record, field);
            require(bytes.size() == descriptor.width);
            blanks += bytes.find(' ') != std::string_view::npos;
        }
        table.isDeleted(record);
    }
    for (const char* name : {"BANCO", "NOMBRE"}) {
        auto field = table.characterField(name);
        require(field.ok() || !field.error().empty());
    }
    require(table.fieldBytes(table.recordCount(), 0).empty());
    return blanks == 0xFFFFFFFF; // keeps the reads from being optimised away
}
