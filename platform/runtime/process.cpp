#include "platform/runtime/process.h"

#include "platform/os/operating_system.h"
#include "platform/runtime/settings.h"

#include <cfenv>
#include <cstdlib>
#include <exception>
#include <map>

#ifndef CUENTAS_VERSION
#define CUENTAS_VERSION "1.0"
#endif

namespace cuentas {
namespace {

struct ProcessState {
    std::uint32_t exitCode = 0;
    std::map<std::uint32_t, TableCloser> closers;
    std::uint32_t nextCloser = 1;
    std::string lastInternalError;
};

ProcessState& state() {
    static ProcessState instance;
    return instance;
}

} // namespace

std::uint32_t ErrorLevel() {
    return state().exitCode;
}

std::uint32_t ErrorLevel(std::uint32_t code) {
    std::uint32_t previous = state().exitCode;
    state().exitCode = code;
    return previous;
}

void quitApplication() {
    operatingSystem().exitProcess(static_cast<int>(state().exitCode));
    std::abort(); // a replaced exitProcess must not return either
}

std::uint32_t addTableCloser(TableCloser closer) {
    std::uint32_t handle = state().nextCloser++;
    state().closers.emplace(handle, std::move(closer));
    return handle;
}

void removeTableCloser(std::uint32_t handle) {
    state().closers.erase(handle);
}

void closeAllTables() {
    // A copy: a closer may remove its own registration while it runs.
    auto closers = state().closers;
    for (auto it = closers.rbegin(); it != closers.rend(); ++it) {
        try {
            it->second();
        } catch (const std::exception& failure) {
            operatingSystem().debugOutput(std::string("closing tables: ") + failure.what() + "\n");
        }
    }
}

void MathInit() {
    std::feclearexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
}

std::string Version() {
    return "Cuentas runtime " CUENTAS_VERSION;
}

std::string GetDefaultDir() {
    return runtimeSettings().defaultDirectory;
}
void SetDefaultDir(const std::string& directory) {
    runtimeSettings().defaultDirectory = directory;
}
std::string GetDefault() {
    return runtimeSettings().defaultPath;
}
void SetDefault(const std::string& path) {
    runtimeSettings().defaultPath = path;
}

void internalError(std::uint32_t code, std::uint32_t subcode, const std::string& message) {
    std::string line =
        "Internal error " + std::to_string(code) + "/" + std::to_string(subcode) + ": " + message;
    state().lastInternalError = line;
    operatingSystem().debugOutput(line + "\n");
}

std::string lastInternalError() {
    return state().lastInternalError;
}

void debugOut(const char* text) {
    if (text) {
        operatingSystem().debugOutput(text);
    }
}

} // namespace cuentas
