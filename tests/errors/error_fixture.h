#pragma once
// Shared pieces of the error layer's tests: Error objects built property by property, a
// scoped error block, a temporary directory, and an operating system whose executable lies
// in that directory and whose clock stands still.

#include "errors/errors.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "tests/support/recording_os.h"
#include "tests/support/temporary_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <utility>

namespace cuentas::testing {

inline Value makeError(std::initializer_list<std::pair<ErrorProperty, Value>> properties) {
    declareErrorClass();
    Value error = newErrorObject();
    for (const auto& [property, value] : properties) {
        errorPut(error, property, value);
    }
    return error;
}

inline Value number(std::uint32_t n) {
    return Value::unsignedNumber(n);
}
inline Value flag(bool f) {
    return Value::logic(f);
}

class ScopedErrorBlock {
public:
    explicit ScopedErrorBlock(Value block) : previous_(ErrorBlock(std::move(block))) {}
    explicit ScopedErrorBlock(CodeBlock::Body body)
        : ScopedErrorBlock(Value(makeCodeBlock(std::move(body)))) {}
    ~ScopedErrorBlock() { ErrorBlock(previous_); }
    ScopedErrorBlock(const ScopedErrorBlock&) = delete;
    ScopedErrorBlock& operator=(const ScopedErrorBlock&) = delete;

private:
    Value previous_;
};

class TemporaryDirectory {
public:
    const std::string& path() const { return path_; }
    // A name inside the folder; slashes in it separate folders, as the system separates them.
    std::string file(const std::string& name) const {
        return (folder_.path() / std::filesystem::path(name).make_preferred()).string();
    }

private:
    testing::TemporaryFolder folder_{"cuentas-errors"};
    std::string path_ = folder_.path().string();
};

inline std::string readWhole(const std::string& nativePath) {
    std::ifstream in(nativePath, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void writeWhole(const std::string& nativePath, const std::string& content) {
    std::ofstream(nativePath, std::ios::binary) << content;
}

// 5 March 2024, 14:07:09 (the test system's local time is UTC).
inline std::chrono::system_clock::time_point fixedClock() {
    return std::chrono::sys_days(std::chrono::year(2024) / 3 / 5) + std::chrono::hours(14) +
           std::chrono::minutes(7) + std::chrono::seconds(9);
}

// The operating system of the error layer's tests: the executable "cuentas.exe" in a fresh
// temporary directory, the clock fixed, settings and exit code put back afterwards.
class ErrorLayerTest : public ::testing::Test {
protected:
    ErrorLayerTest() {
        os.executable = directory.file("cuentas.exe");
        os.clock = fixedClock();
    }
    void SetUp() override {
        declareErrorClass();
        resetRuntimeSettings();
        ErrorLevel(0);
    }
    void TearDown() override {
        resetRuntimeSettings();
        ErrorLevel(0);
    }

    std::string logPath() const { return directory.file("ERROR.LOG"); }
    std::string executableInRuntimeForm() const { return runtimePath(*os.executable); }

    TemporaryDirectory directory;
    RecordingOs os;
    ScopedOs scoped{os};
};

} // namespace cuentas::testing
