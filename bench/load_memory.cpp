// load_memory DIRECTORY: loads the bank directory from DIRECTORY/NomBancos.dbf once, as
// start-up does, and prints the file's size and how much the process's peak resident memory
// grew while loading it, in bytes, on one line.
#include "app/bank_directory.h"
#include "platform/table/db_server.h"

#include <sys/resource.h>

#include <filesystem>
#include <iostream>

namespace {

std::uint64_t peakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::uint64_t>(usage.ru_maxrss) * 1024;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: load_memory DIRECTORY\n";
        return 2;
    }
    std::filesystem::current_path(argv[1]);
    cuentas::declareTableClasses();
    const std::uint64_t before = peakResidentBytes();
    cuentas::ArrayRef directory = cuentas::loadBankDirectory("NomBancos.dbf");
    const std::uint64_t after = peakResidentBytes();
    std::cout << std::filesystem::file_size("NomBancos.dbf") << ' ' << after - before << ' '
              << directory->size() << '\n';
    return 0;
}
