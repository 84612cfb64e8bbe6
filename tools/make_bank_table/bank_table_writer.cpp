#include "tools/make_bank_table/bank_table_writer.h"

#include "tools/make_bank_table/dialog_text.h"

#include <array>
#include <cstdint>

namespace cuentas::tools {
namespace {

constexpr std::uint8_t kDbase3 = 0x03;
constexpr std::uint8_t kWindows1252Mark = 0x03;

struct Field {
    const char* name;
    std::size_t width;
    std::string BankRecord::*value;
};

constexpr std::array<Field, 6> kFields{{
    {"BANCO", kCodeWidth, &BankRecord::code},
    {"NOMBRE", kNameWidth, &BankRecord::name},
    {"ESTADO", kStatusWidth, &BankRecord::status},
    {"SUCESORA", kCodeWidth, &BankRecord::successor},
    {"BIC", kBicWidth, &BankRecord::bic},
    {"RAZONSOC", kNameWidth, &BankRecord::legalName},
}};

constexpr std::size_t recordLength() {
    std::size_t length = 1; // the deletion flag
    for (const Field& field : kFields) {
        length += field.width;
    }
    return length;
}

void putLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::string descriptor(const Field& field) {
    std::string bytes(32, '\0');
    bytes.replace(0, std::char_traits<char>::length(field.name), field.name);
    bytes[11] = 'C';
    bytes[16] = static_cast<char>(field.width);
    return bytes;
}

} // namespace

std::string bankTableImage(const std::vector<BankRecord>& records, UpdateDate updated) {
    const std::size_t headerLength = 32 + 32 * kFields.size() + 1;
    std::string image(32, '\0');
    image[0] = static_cast<char>(kDbase3);
    image[1] = static_cast<char>(updated.year - 1900);
    image[2] = static_cast<char>(updated.month);
    image[3] = static_cast<char>(updated.day);
    putLittleEndian(image, 4, static_cast<std::uint32_t>(records.size()), 4);
    putLittleEndian(image, 8, static_cast<std::uint32_t>(headerLength), 2);
    putLittleEndian(image, 10, static_cast<std::uint32_t>(recordLength()), 2);
    image[29] = static_cast<char>(kWindows1252Mark);
    for (const Field& field : kFields) {
        image += descriptor(field);
    }
    image += '\x0D';
    image.reserve(headerLength + records.size() * recordLength() + 1);
    for (const BankRecord& record : records) {
        image += ' ';
        for (const Field& field : kFields) {
            // Character fields are blank-padded on the right, as every reader expects.
            std::string value = record.*field.value;
            value.resize(field.width, ' ');
            image += value;
        }
    }
    image += '\x1A';
    return image;
}

std::vector<BankRecord> bankRecords(const std::vector<Entity>& entities) {
    const EntityIndex index = indexByCode(entities);
    std::vector<BankRecord> records;
    records.reserve(entities.size());
    for (const Entity& entity : entities) {
        records.push_back({entity.code, dialogText(index, entity),
                           entity.current ? "vigente" : "baja", entity.successor, entity.bic,
                           entity.name});
    }
    return records;
}

} // namespace cuentas::tools
