#pragma once
// Where a call was written, for the routines' call stack (ProcLine). std::source_location where
// the standard library has it; clang 14 with the GNU library lacks it (the library needs a
// compiler builtin that came later), so there the same is built from the builtins that every
// compiler of the project has, evaluated where the defaulted argument is: at the caller.

#include <cstdint>
#include <version>
#if defined(__cpp_lib_source_location)
#include <source_location>
#endif

namespace cuentas {

#if defined(__cpp_lib_source_location)
using SourceLocation = std::source_location;
#else
class SourceLocation {
public:
    constexpr SourceLocation() = default;
    static constexpr SourceLocation current(const char* file = __builtin_FILE(),
                                            std::uint_least32_t line = __builtin_LINE()) noexcept {
        SourceLocation where;
        where.file_ = file;
        where.line_ = line;
        return where;
    }
    constexpr const char* file_name() const noexcept { return file_; }
    constexpr std::uint_least32_t line() const noexcept { return line_; }

private:
    const char* file_ = "";
    std::uint_least32_t line_ = 0;
};
#endif

} // namespace cuentas
