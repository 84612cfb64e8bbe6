// dbf_dump FILE: prints what our parser reads from a table, one line per field descriptor and
// per record with every field's bytes in hex, for comparison with independent readers.

#include "platform/os/paths.h"
#include "platform/table/dbf_file.h"

#include <cstdio>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: dbf_dump FILE\n";
        return 2;
    }
    auto parsed = cuentas::readDbfFile(cuentas::runtimePath(argv[1]));
    if (!parsed.ok() && parsed.fault() == cuentas::DbfFault::Unreadable) {
        std::cerr << argv[1] << ": cannot read: " << parsed.error() << "\n";
        return 1;
    }
    if (!parsed.ok()) {
        std::cout << "error " << parsed.error() << "\n";
        return 0;
    }
    const cuentas::DbfImage& table = parsed.value();
    for (const auto& field : table.fields()) {
        std::cout << "field " << field.name << " " << field.type << " " << field.width << "\n";
    }
    for (std::uint32_t record = 0; record < table.recordCount(); ++record) {
        std::cout << "record " << (table.isDeleted(record) ? "deleted" : "live");
        for (std::size_t field = 0; field < table.fields().size(); ++field) {
            std::cout << " " << table.fields()[field].name << "=";
            for (char c : table.fieldBytes(record, field)) {
                char hex[3];
                std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned char>(c));
                std::cout << hex;
            }
        }
        std::cout << "\n";
    }
    return 0;
}
