// Runtime paths on POSIX: the runtime's backslash is the system's slash.
#include "platform/os/paths.h"

#include <algorithm>
#include <optional>

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

std::string nativeFolderOf(std::string_view path) {
    auto slash = path.rfind('/');
    if (slash == std::string_view::npos) {
        return ".";
    }
    return slash == 0 ? "/" : std::string(path.substr(0, slash));
}

std::string nativeChild(std::string_view folder, std::string_view name) {
    std::string child(folder);
    if (child.empty() || child.back() != '/') {
        child.push_back('/');
    }
    return child.append(name);
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

} // namespace cuentas
