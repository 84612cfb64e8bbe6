#pragma once
// The log-file object's tests: the executable PROG.EXE in a fresh temporary directory, the
// clock fixed, the registry's machine hive a file in that directory (never the system's) and
// SystemRoot unset until a test sets it.

#include "logfile/logfile.h"
#include "tests/errors/error_fixture.h"
#include "tests/logfile/log_directory_value.h"

#include <initializer_list>

namespace cuentas::testing {

// The same type and the same content (objects: the same object).
inline bool sameValue(const Value& a, const Value& b) {
    if (a.typeNumber() != b.typeNumber()) {
        return false;
    }
    if (a.isObject()) {
        return a.asObject() == b.asObject();
    }
    return AsString(a) == AsString(b);
}

class LogFileTest : public ErrorLayerTest {
protected:
    LogFileTest() {
        os.executable = directory.file("PROG.EXE");
        os.environment["CUENTAS_HKEY_LOCAL_MACHINE"] = hivePath();
        os.environment["SystemRoot"] = std::nullopt;
    }
    void SetUp() override {
        ErrorLayerTest::SetUp();
        declareLogFileClass();
    }

    std::string hivePath() const { return directory.file("HKEY_LOCAL_MACHINE.reg"); }
    void setLogFileDirectory(const std::string& value) { logDirectory.set(value); }

    // The executable's directory in runtime form, with its trailing backslash.
    std::string serverPath() const { return runtimePath(directory.path()) + "\\"; }
    std::string runtimeFile(const std::string& name) const { return serverPath() + name; }

    static Value newLog(std::initializer_list<Value> arguments = {}) {
        std::vector<Value> list(arguments);
        return Value(CreateInstance(logFileClassSymbol(), list));
    }
    static Value get(const Value& log, const char* property) {
        return IVarGet(log, Symbol::intern(property));
    }
    static Value put(const Value& log, const char* property, const Value& value) {
        return IVarPut(log, Symbol::intern(property), value);
    }
    static std::string text(const Value& log, const char* property) {
        return std::string(get(log, property).asString());
    }
    static bool logic(const Value& log, const char* property) {
        return get(log, property).asLogic();
    }

    LogDirectoryValue logDirectory{hivePath()};
};

} // namespace cuentas::testing
