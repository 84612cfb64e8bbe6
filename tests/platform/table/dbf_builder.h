#pragma once
// Builds .dbf file images byte by byte for the reader's tests: a valid table from fields and
// records, whose header facts a test can then falsify one at a time.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cuentas::testing {

class DbfBuilder {
public:
    struct Field {
        std::string name; // written as up to 11 bytes, NUL-padded
        char type = 'C';
        std::uint8_t width = 0;
        std::uint8_t decimals = 0;
    };

    DbfBuilder& tableType(std::uint8_t type) {
        type_ = type;
        return *this;
    }
    DbfBuilder& field(std::string name, char type, std::uint8_t width, std::uint8_t decimals = 0) {
        fields_.push_back({std::move(name), type, width, decimals});
        return *this;
    }
    // Values are cut or blank-padded to their field's width.
    DbfBuilder& record(std::vector<std::string> values, bool deleted = false) {
        records_.push_back({std::move(values), deleted});
        return *this;
    }
    // The 263-byte area that Visual FoxPro keeps between the field list and the records.
    DbfBuilder& backlink() {
        backlink_ = true;
        return *this;
    }
    DbfBuilder& codePageMark(std::uint8_t mark) {
        codePage_ = mark;
        return *this;
    }
    // Header facts as stored, in place of the computed ones.
    DbfBuilder& recordCount(std::uint32_t count) {
        count_ = count;
        return *this;
    }
    DbfBuilder& headerLength(std::uint16_t length) {
        headerLength_ = length;
        return *this;
    }
    DbfBuilder& recordLength(std::uint16_t length) {
        recordLength_ = length;
        return *this;
    }
    // Bytes appended to every record after the fields (a record longer than its fields).
    DbfBuilder& recordPadding(std::uint16_t bytes) {
        padding_ = bytes;
        return *this;
    }
    DbfBuilder& withoutFieldListEnd() {
        fieldListEnd_.reset();
        return *this;
    }
    DbfBuilder& fieldListEnd(char mark) {
        fieldListEnd_ = mark;
        return *this;
    }
    DbfBuilder& withoutEndOfFile() {
        endOfFile_ = false;
        return *this;
    }

    std::string build() const {
        std::string out(32, '\0');
        out[0] = static_cast<char>(type_);
        out[1] = 124; // 2024
        out[2] = 5;
        out[3] = 17;
        std::uint32_t length = 1 + padding_;
        for (const Field& f : fields_) {
            length += f.width;
        }
        for (const Field& f : fields_) {
            std::string descriptor(32, '\0');
            descriptor.replace(0, std::min<std::size_t>(f.name.size(), 11), f.name, 0, 11);
            descriptor[11] = f.type;
            descriptor[16] = static_cast<char>(f.width);
            descriptor[17] = static_cast<char>(f.decimals);
            out += descriptor;
        }
        if (fieldListEnd_) {
            out += *fieldListEnd_;
        }
        if (backlink_) {
            out += std::string(263, '\0');
        }
        put32(out, 4, count_.value_or(static_cast<std::uint32_t>(records_.size())));
        put16(out, 8, headerLength_.value_or(static_cast<std::uint16_t>(out.size())));
        put16(out, 10, recordLength_.value_or(static_cast<std::uint16_t>(length)));
        out[29] = static_cast<char>(codePage_);
        for (const auto& [values, deleted] : records_) {
            out += deleted ? '*' : ' ';
            for (std::size_t i = 0; i < fields_.size(); ++i) {
                std::string value = i < values.size() ? values[i] : std::string();
                value.resize(fields_[i].width, ' ');
                out += value;
            }
            out += std::string(padding_, '#');
        }
        if (endOfFile_) {
            out += '\x1A';
        }
        return out;
    }

    static void put16(std::string& bytes, std::size_t at, std::uint16_t value) {
        bytes[at] = static_cast<char>(value & 0xFF);
        bytes[at + 1] = static_cast<char>(value >> 8);
    }
    static void put32(std::string& bytes, std::size_t at, std::uint32_t value) {
        put16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
        put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
    }

private:
    struct Record {
        std::vector<std::string> values;
        bool deleted;
    };
    std::uint8_t type_ = 0x03;
    std::uint8_t codePage_ = 0x03;
    std::vector<Field> fields_;
    std::vector<Record> records_;
    bool backlink_ = false;
    std::optional<char> fieldListEnd_ = '\x0D';
    bool endOfFile_ = true;
    std::uint16_t padding_ = 0;
    std::optional<std::uint32_t> count_;
    std::optional<std::uint16_t> headerLength_;
    std::optional<std::uint16_t> recordLength_;
};

// The bank table's usual shape: BANCO C(4), NOMBRE C(40), record length 45.
inline DbfBuilder bankTable() {
    return DbfBuilder()
        .field("BANCO", 'C', 4)
        .field("NOMBRE", 'C', 40)
        .record({"0049", "Banco Santander"})
        .record({"0081", "Banco de Sabadell"})
        .record({"0128", "Bankinter"});
}

} // namespace cuentas::testing
