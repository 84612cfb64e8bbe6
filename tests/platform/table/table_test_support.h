#pragma once
// A temporary current directory for the table tests, reached through the operating-system
// seam, with helpers to place tables in it and to open them through the object model.

#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "platform/table/table.h"
#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace cuentas::testing {

// An operating system whose current directory is the test's own.
class TableOs : public RecordingOs {
public:
    std::string currentDirectoryPath;
    std::string currentDirectory() override { return currentDirectoryPath; }
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string fixture(const std::string& name) {
    const char* data = std::getenv("CUENTAS_TEST_DATA");
    return readFile(std::filesystem::path(data ? data : "tests/data") / "dbf" / name);
}

// Creates a DBSERVER for the file through the object model, as the program does.
inline Value openTable(const std::string& name = "NomBancos.dbf") {
    Value argument(name);
    return Value(CreateInstance(Symbol::intern("DBSERVER"), Arguments(&argument, 1)));
}
inline Value send(const Value& table, const char* method, Value argument = Value()) {
    if (argument.isNil()) {
        return Send(table, Symbol::intern(method));
    }
    return Send(table, Symbol::intern(method), Arguments(&argument, 1));
}
inline Value field(const Value& table, const char* name) {
    return send(table, "FIELDGET", Value(Symbol::intern(name)));
}

class TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("cuentas-table-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        os.currentDirectoryPath = dir.string();
        declareTableClasses();
    }
    void TearDown() override {
        DbCloseAll();
        std::filesystem::remove_all(dir);
    }

    void place(const std::string& bytes, const std::string& name = "NomBancos.dbf") {
        writeFile(dir / name, bytes);
    }
    // The directory as the runtime names it: backslashes, ending in one.
    std::string runtimeDir() const { return runtimePath(dir.string()) + "\\"; }

    std::filesystem::path dir;
    TableOs os;
    ScopedOs scoped{os};
};

} // namespace cuentas::testing
