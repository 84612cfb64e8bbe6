#pragma once
// UTF-8 and the system's UTF-16, where a text meets the console or a wide system call.

#include <string>
#include <string_view>

namespace cuentas::win32 {

// A malformed sequence becomes U+FFFD, as the system converts it.
std::wstring wideFromUtf8(std::string_view utf8);
std::string utf8FromWide(std::wstring_view wide);

} // namespace cuentas::win32
