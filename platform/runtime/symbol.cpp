#include "platform/runtime/symbol.h"

#include "platform/runtime/text.h"

#include <deque>
#include <mutex>
#include <unordered_map>

namespace cuentas {
namespace {

struct SymbolTable {
    std::mutex mutex;
    // Number n lives at names[n]; number 0 is the null symbol's empty name.
    std::deque<std::string> names{std::string()};
    std::unordered_map<std::string, std::uint32_t> numbers;
    std::size_t calls = 0;
};

SymbolTable& table() {
    static SymbolTable instance;
    return instance;
}

} // namespace

Symbol Symbol::intern(std::string_view name) {
    std::string upper = Upper(name);
    auto& t = table();
    std::lock_guard lock(t.mutex);
    ++t.calls;
    if (upper.empty()) {
        return Symbol();
    }
    auto found = t.numbers.find(upper);
    if (found != t.numbers.end()) {
        return Symbol(found->second);
    }
    auto number = static_cast<std::uint32_t>(t.names.size());
    t.names.push_back(upper);
    t.numbers.emplace(std::move(upper), number);
    return Symbol(number);
}

Symbol Symbol::fromNumber(std::uint32_t number) {
    auto& t = table();
    std::lock_guard lock(t.mutex);
    return number < t.names.size() ? Symbol(number) : Symbol();
}

std::size_t Symbol::internedCount() {
    auto& t = table();
    std::lock_guard lock(t.mutex);
    return t.names.size() - 1;
}

std::size_t Symbol::internCalls() {
    auto& t = table();
    std::lock_guard lock(t.mutex);
    return t.calls;
}

const std::string& Symbol::name() const {
    auto& t = table();
    std::lock_guard lock(t.mutex);
    // A deque never moves its elements, so the reference stays valid.
    return t.names[number_];
}

} // namespace cuentas
