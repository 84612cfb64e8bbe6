// Feeds arbitrary bytes, as the file NomBancos.dbf on disk, through the start-up read of the
// bank table (open, field checks, records, close) into the bank directory. Each input is
// read three ways: as a plain file, through a symbolic link, and with a sparse tail that
// makes the file 3 GiB long. A crash, a hang, memory past the limit, a difference between
// the three or a directory that is not the table's BANCO and NOMBRE bytes is a finding.

#include "app/bank_directory.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "platform/table/table.h"
#include "tests/support/recording_errors.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace cuentas;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The folder the table lies in, the program's current directory.
class FuzzOs : public OperatingSystem {
public:
    fs::path folder;
    std::string currentDirectory() override { return folder.string(); }
};

FuzzOs& fuzzOs() {
    static FuzzOs os;
    return os;
}

using Directory = std::vector<std::pair<std::string, std::string>>;

// The bank directory as start-up reads it, or nothing when an error was raised (answered
// "default", as a user may).
std::optional<Directory> load() {
    testing::RecordingErrors errors;
    ArrayRef directory = loadBankDirectory("NomBancos.dbf");
    for (const auto& error : errors.errors) {
        require(error.subsystem == "DBFCDX" && !error.description.empty());
    }
    Directory entries;
    for (const Value& element : directory->elements()) {
        require(element.isArray() && element.asArray()->size() == 2);
        const Value& code = element.asArray()->at(1);
        const Value& name = element.asArray()->at(2);
        require(code.isString() && name.isString());
        entries.emplace_back(code.asString(), name.asString());
    }
    if (!errors.errors.empty()) {
        return std::nullopt;
    }
    return entries;
}

// What the table holds, read by the parser from the bytes alone.
std::optional<Directory> expected(const std::string& bytes) {
    auto parsed = DbfImage::parse(bytes);
    if (!parsed.ok()) {
        return std::nullopt;
    }
    const DbfImage& table = parsed.value();
    auto banco = table.characterField("BANCO", 4);
    auto nombre = table.characterField("NOMBRE");
    if (!banco.ok() || !nombre.ok()) {
        return std::nullopt;
    }
    Directory entries;
    for (std::uint32_t record = 0; record < table.recordCount(); ++record) {
        entries.emplace_back(table.fieldBytes(record, banco.value()),
                             table.fieldBytes(record, nombre.value()));
    }
    return entries;
}

void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/cuentas-fuzz-XXXXXX";
    require(::mkdtemp(pattern) != nullptr);
    fuzzOs().folder = pattern;
    static ScopedOs scoped(fuzzOs());
    declareTableClasses();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const fs::path table = fuzzOs().folder / "NomBancos.dbf";
    const fs::path real = fuzzOs().folder / "real.dbf";
    fs::remove(table);
    fs::remove(real);

    write(table, bytes);
    std::optional<Directory> plain = load();
    if (plain) {
        // A table whose records are longer than what the file holds is refused, so what the
        // parser accepts from the bytes alone must be what start-up read.
        std::optional<Directory> fromBytes = expected(bytes);
        require(fromBytes && *fromBytes == *plain);
    }

    fs::rename(table, real);
    fs::create_symlink("real.dbf", table);
    require(load() == plain);

    fs::remove(table);
    fs::rename(real, table);
    fs::resize_file(table, std::uint64_t{3} << 30); // the bytes after the records are never read
    std::optional<Directory> sparse = load();
    require(!plain || sparse == plain);
    return 0;
}
