#pragma once
// The directory part of a runtime path.

#include <string>
#include <string_view>

namespace cuentas {

// The path up to and including its last backslash; a path without one is returned whole.
// Only the backslash separates directories; a forward slash is an ordinary character.
std::string FILEPATH(std::string_view path);

// The 1-based position of the last "." in the file name part of `path` (after its last
// backslash), or 0 when the file name has none.
std::uint32_t fileNameDot(std::string_view path);

} // namespace cuentas
