#pragma once
// Interned upper-case names: class, method, property, field and control names.
// Two symbols of the same name are the same number, so they compare by identity.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace cuentas {

class Symbol {
public:
    // The null symbol (number 0, empty name).
    constexpr Symbol() = default;

    // Interns `name` in upper case; the same name always gives the same symbol.
    static Symbol intern(std::string_view name);
    // Rebuilds a symbol from its number; an unknown number gives the null symbol.
    static Symbol fromNumber(std::uint32_t number);
    // How many distinct names have been interned, and how many times intern has been called
    // (for tests: a path that runs often must use the symbols interned at start-up).
    static std::size_t internedCount();
    static std::size_t internCalls();

    std::uint32_t number() const { return number_; }
    const std::string& name() const;
    bool isNull() const { return number_ == 0; }

    friend bool operator==(Symbol, Symbol) = default;
    friend auto operator<=>(Symbol, Symbol) = default;

private:
    constexpr explicit Symbol(std::uint32_t number) : number_(number) {}
    std::uint32_t number_ = 0;
};

// Name of a symbol as text; the null symbol gives the empty text.
inline std::string Symbol2String(Symbol symbol) {
    return symbol.name();
}

} // namespace cuentas

template <> struct std::hash<cuentas::Symbol> {
    std::size_t operator()(cuentas::Symbol s) const noexcept { return s.number(); }
};
