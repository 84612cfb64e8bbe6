// Runtime paths on Windows are native paths.
#include "platform/os/paths.h"

namespace cuentas {
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

} // namespace

std::string nativePath(std::string_view path) {
    return std::string(path);
}

std::string runtimePath(std::string_view path) {
    return std::string(path);
}

std::string nativeFolderOf(std::string_view path) {
    const auto separator = path.find_last_of("\\/");
    const auto drive = path.size() >= 2 && path[1] == ':' ? std::size_t{2} : std::size_t{0};
    if (separator == std::string_view::npos) {
        // "C:name" lies in the current folder of drive C.
        return drive ? std::string(path.substr(0, 2)) : std::string(".");
    }
    // The root of a drive keeps its separator: "C:\" is a folder, "C:" is not the same.
    const bool root = separator == drive;
    return std::string(path.substr(0, root ? separator + 1 : separator));
}

std::string nativeChild(std::string_view folder, std::string_view name) {
    std::string child(folder);
    if (!child.empty() && !isSeparator(child.back()) && child.back() != ':') {
        child.push_back('\\');
    }
    return child.append(name);
}

std::optional<std::string> backslashFault(std::string_view) {
    return std::nullopt; // the backslash is the separator here
}

} // namespace cuentas
