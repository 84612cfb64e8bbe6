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

inline std::filesystem::path writeBenchTable(std::size_t count) {
    std::vector<tools::Bank> banks;
    banks.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char code[8];
        std::snprintf(code, sizeof code, "%04zu", i % 10000);
        banks.push_back({code, "Entidad de cr\xE9" "dito n\xFAmero " + std::to_string(i),
                         static_cast<int>(i + 1)});
    }
    auto dir = std::filesystem::temp_directory_path() /
               ("cuentas-bench-" + std::to_string(::getpid()) + "-" + std::to_string(count));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "NomBancos.dbf", std::ios::binary)
        << tools::bankTableImage(banks, tools::UpdateDate{2026, 12, 7});
    return dir;
}

} // namespace cuentas::bench
