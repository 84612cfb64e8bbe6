#include "platform/runtime/symbol.h"

#include "platform/runtime/text.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

namespace cuentas {
namespace {

// Names live in chunks that never move once made, so that reading a symbol's name takes no
// lock: a symbol's number is only handed out after its name is in place.
constexpr std::uint32_t kChunkBits = 10;
constexpr std::uint32_t kChunkSize = 1u << kChunkBits;
constexpr std::uint32_t kMaxChunks = 4096; // over four million names

struct SymbolTable {
    SymbolTable() {
        chunks[0].store(new std::string[kChunkSize], std::memory_order_release); // 0: ""
    }
    ~SymbolTable() {
        for (auto& chunk : chunks) {
            delete[] chunk.load(std::memory_order_acquire);
        }
    }
    SymbolTable(const SymbolTable&) = delete;
    SymbolTable& operator=(const SymbolTable&) = delete;

    const std::string& name(std::uint32_t number) const {
        return chunks[number >> kChunkBits].load(std::memory_order_acquire)[number % kChunkSize];
    }

    std::mutex mutex; // held while interning
    std::array<std::atomic<std::string*>, kMaxChunks> chunks{};
    std::atomic<std::uint32_t> count{1}; // names held, the null symbol's included
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
    const std::uint32_t number = t.count.load(std::memory_order_relaxed);
    const std::uint32_t chunk = number >> kChunkBits;
    if (chunk >= kMaxChunks) {
        throw std::length_error("too many symbols");
    }
    if (t.chunks[chunk].load(std::memory_order_relaxed) == nullptr) {
        t.chunks[chunk].store(new std::string[kChunkSize], std::memory_order_release);
    }
    t.chunks[chunk].load(std::memory_order_relaxed)[number % kChunkSize] = upper;
    t.numbers.emplace(std::move(upper), number);
    t.count.store(number + 1, std::memory_order_release);
    return Symbol(number);
}

Symbol Symbol::fromNumber(std::uint32_t number) {
    return number < table().count.load(std::memory_order_acquire) ? Symbol(number) : Symbol();
}

std::size_t Symbol::internedCount() {
    return table().count.load(std::memory_order_acquire) - 1;
}

std::size_t Symbol::internCalls() {
    auto& t = table();
    std::lock_guard lock(t.mutex);
    return t.calls;
}

const std::string& Symbol::name() const {
    return table().name(number_);
}

} // namespace cuentas
