#pragma once
// Generated bank tables for the benchmarks: `count` records with four-digit codes cycling
// through 0000-9999 and names padded to the field width, written by the bank-table writer.

#include "tools/make_bank_table/bank_table_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace cuentas::bench {

inline std::string benchTableImage(std::size_t count) {
    std::vector<tools::BankRecord> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char code[8];
        std::snprintf(code, sizeof code, "%04zu", i % 10000);
        std::string name = "Entidad de cr\xE9"
                           "dito n\xFAmero " +
                           std::to_string(i);
        records.push_back({code, name, "vigente", "", "", name});
    }
    return tools::bankTableImage(records, tools::UpdateDate{2026, 12, 7});
}

inline void writeBenchTable(std::size_t count, const std::filesystem::path& file) {
    std::ofstream(file, std::ios::binary) << benchTableImage(count);
}

// A fresh directory holding NomBancos.dbf with `count` records.
inline std::filesystem::path writeBenchTable(std::size_t count) {
    auto dir = std::filesystem::temp_directory_path() /
               ("cuentas-bench-" + std::to_string(::getpid()) + "-" + std::to_string(count));
    std::filesystem::create_directories(dir);
    writeBenchTable(count, dir / "NomBancos.dbf");
    return dir;
}

} // namespace cuentas::bench
