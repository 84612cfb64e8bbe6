#include "platform/os/paths.h"

#include "platform/os/operating_system.h"

namespace cuentas {

std::string executableName() {
    return runtimePath(operatingSystem().executablePath());
}

std::string WorkDir() {
    std::string exe = executableName();
    auto slash = exe.rfind('\\');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash + 1);
}

std::string CurrentDirectory() {
    std::string dir = runtimePath(operatingSystem().currentDirectory());
    if (dir.empty() || dir.back() != '\\') {
        dir.push_back('\\');
    }
    return dir;
}

} // namespace cuentas
