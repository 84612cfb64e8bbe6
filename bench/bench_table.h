#pragma once
// Generated bank tables for the benchmarks: `count` records with four-digit codes cycling
// through the first `codes` of 0000-9999 (by default 0000-9998, so that 9999 is never found and
// its lookup scans every entry) and names padded to the field width, written by the bank-table
// writer.

#include "tools/make_bank_table/bank_table_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace cuentas::bench {

// A code that no generated table holds.
inline constexpr const char* kAbsentCode = "9999";

inline std::string benchTableImage(std::size_t count, std::size_t codes = 9999) {
    std::vector<tools::BankRecord> records;
    records.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        char code[12];
        std::snprintf(code, sizeof code, "%04u", static_cast<unsigned>(i % codes % 10000));
        std::string name = "Entidad de cr\xE9"
                           "dito n\xFAmero " +
                           std::to_string(i);
        records.push_back({code, name, "vigente", "", "", name});
    }
    return tools::bankTableImage(records, tools::UpdateDate{2026, 12, 7});
}

inline void writeBenchTable(std::size_t count, const std::filesystem::path& file,
                            std::size_t codes = 9999) {
    std::ofstream(file, std::ios::binary) << benchTableImage(count, codes);
}

// A fresh directory holding NomBancos.dbf with `count` records, removed when the object goes.
class BenchTableDirectory {
public:
    explicit BenchTableDirectory(std::size_t count)
        : path_(std::filesystem::temp_directory_path() /
                ("cuentas-bench-" + std::to_string(::getpid()) + "-" + std::to_string(count))) {
        std::filesystem::create_directories(path_);
        writeBenchTable(count, table());
    }
    ~BenchTableDirectory() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    BenchTableDirectory(const BenchTableDirectory&) = delete;
    BenchTableDirectory& operator=(const BenchTableDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path table() const { return path_ / "NomBancos.dbf"; }

private:
    std::filesystem::path path_;
};

} // namespace cuentas::bench
