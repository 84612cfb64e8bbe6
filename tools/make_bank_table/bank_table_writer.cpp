#include "tools/make_bank_table/bank_table_writer.h"

#include <cstdint>

namespace cuentas::tools {
namespace {

constexpr std::uint8_t kDbase3 = 0x03;
constexpr std::uint8_t kWindows1252Mark = 0x03;
constexpr std::uint16_t kHeaderLength = 32 + 2 * 32 + 1;
constexpr std::uint16_t kRecordLength = 1 + kCodeWidth + kNameWidth;

void putLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

std::string descriptor(const char* name, std::size_t width) {
    std::string bytes(32, '\0');
    bytes.replace(0, std::char_traits<char>::length(name), name);
    bytes[11] = 'C';
    bytes[16] = static_cast<char>(width);
    return bytes;
}

} // namespace

std::string bankTableImage(const std::vector<Bank>& banks, UpdateDate updated) {
    std::string image(32, '\0');
    image[0] = static_cast<char>(kDbase3);
    image[1] = static_cast<char>(updated.year - 1900);
    image[2] = static_cast<char>(updated.month);
    image[3] = static_cast<char>(updated.day);
    putLittleEndian(image, 4, static_cast<std::uint32_t>(banks.size()), 4);
    putLittleEndian(image, 8, kHeaderLength, 2);
    putLittleEndian(image, 10, kRecordLength, 2);
    image[29] = static_cast<char>(kWindows1252Mark);
    image += descriptor("BANCO", kCodeWidth);
    image += descriptor("NOMBRE", kNameWidth);
    image += '\x0D';
    image.reserve(image.size() + banks.size() * kRecordLength + 1);
    for (const Bank& bank : banks) {
        // Character fields are blank-padded on the right, as every reader expects.
        std::string name = bank.name;
        name.resize(kNameWidth, ' ');
        image += ' ' + bank.code + name;
    }
    image += '\x1A';
    return image;
}

} // namespace cuentas::tools
