#pragma once
// File names inside the program use the backslash as separator. On POSIX the native path is
// shown with '/' turned into '\', and turned back at every file-system call; on Windows
// paths are native.

#include <optional>
#include <string>
#include <string_view>

namespace cuentas {

std::string nativePath(std::string_view runtimePath);
std::string runtimePath(std::string_view nativePath);

// The folder that holds a native path's last part ("." when the path has no folder), and the
// native path of `name` inside `folder`.
std::string nativeFolderOf(std::string_view nativePath);
std::string nativeChild(std::string_view folder, std::string_view name);

// On POSIX, a native path whose folder or file names hold a backslash cannot be named inside
// the program, where the backslash is a separator: /srv/a\b/ would be taken for /srv/a/b/. What
// stands in the way, naming the first folder (or, last, the file) whose name holds one; nothing
// for a path without a backslash, and nothing on Windows, where the backslash is the
// separator. A path ending in '/' names a folder.
std::optional<std::string> backslashFault(std::string_view nativePath);

// The directory of the running executable, ending in a backslash.
std::string WorkDir();
// The running executable's full path in runtime form (the runtime's _ExecName).
std::string executableName();
// The process's current directory in runtime form, ending in a backslash.
std::string CurrentDirectory();

} // namespace cuentas
