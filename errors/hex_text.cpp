#include "errors/hex_text.h"

#include "platform/os/paths.h"
#include "platform/runtime/settings.h"
#include "platform/runtime/text.h"

#include <cmath>
#include <cstring>
#include <type_traits>

namespace cuentas {
namespace {

std::string floatText(const Value& value) {
    double number = value.asNumber();
    // The standard text tells fractional numbers from whole 32-bit words. Str writes the
    // regional decimal separator, which is "," under a Spanish locale: look for that one.
    std::string standard = Str(value);
    bool showsDecimals =
        standard.find(runtimeSettings().regional.decimalSeparator) != std::string::npos;
    bool fractional = !std::isfinite(number) || number != std::trunc(number);
    if (showsDecimals || fractional || number > 4294967295.0 || number < -2147483647.0) {
        std::uint32_t words[2];
        static_assert(sizeof words == sizeof number);
        std::memcpy(words, &number, sizeof words);
        return hexWord(words[0]) + hexWord(words[1]);
    }
    auto whole = static_cast<std::int64_t>(number);
    return hexWord(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

template <class Reference> std::uint32_t lowWordOf(const Reference& reference) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(reference.get()));
}

std::uint32_t wordOf(const Value& value) {
    switch (value.type()) {
    case Type::Nil:
        return 0;
    case Type::Integer:
    case Type::Unsigned:
    case Type::Float:
        return value.asUnsigned();
    case Type::Date:
        return static_cast<std::uint32_t>(value.asDate().julianDay);
    case Type::Logic:
        return value.asLogic() ? 1 : 0;
    case Type::Symbol:
        return value.asSymbol().number();
    case Type::Pointer:
        return value.asAddress();
    case Type::String:
        return 0; // shown by HEXBYTES
    case Type::Array:
        return lowWordOf(value.asArray());
    case Type::Object:
        return lowWordOf(value.asObject());
    case Type::CodeBlock:
        return lowWordOf(value.asCodeBlock());
    }
    return 0;
}

} // namespace

std::string HEXTEXT(const Value& value) {
    if (value.type() == Type::Float) {
        return floatText(value);
    }
    if (value.isString()) {
        return HEXBYTES(value.asString());
    }
    return hexWord(wordOf(value));
}

std::string HEXBYTES(std::string_view text) {
    std::string hex;
    hex.reserve(3 * text.size());
    for (char c : text) {
        hex += hexByte(static_cast<std::uint8_t>(c));
        hex += ' ';
    }
    return hex;
}

std::string EXEFILENAME(ExePath form) {
    std::string path = executableName();
    if (form == ExePath::FullPath) {
        return path;
    }
    auto slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace cuentas
