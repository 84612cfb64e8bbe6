#include "platform/os/paths.h"

#include "platform/os/operating_system.h"

#include <algorithm>

namespace cuentas {

std::string nativePath(std::string_view path) {
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

std::string runtimePath(std::string_view path) {
    std::string runtime(path);
    std::replace(runtime.begin(), runtime.end(), '/', '\\');
    return runtime;
}

std::optional<std::string> backslashFault(std::string_view path) {
    const std::size_t backslash = path.find('\\');
    if (backslash == std::string_view::npos) {
        return std::nullopt;
    }
    const std::size_t end = path.find('/', backslash);
    return std::string(end == std::string_view::npos ? "the file " : "the folder ") +
           std::string(path.substr(0, end)) +
           " has a backslash in its name, which this program takes for a separator between "
           "folders";
}

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
