#include "platform/runtime/address_space.h"

#include <algorithm>
#include <stdexcept>

namespace cuentas {

AddressSpace& addressSpace() {
    static AddressSpace space;
    return space;
}

Address AddressSpace::reserve(std::size_t size) {
    // Blocks are 16-byte aligned and never overlap; a span of at least one byte keeps
    // empty blocks distinct.
    std::uint64_t span = (std::max<std::size_t>(size, 1) + 15) & ~std::uint64_t{15};
    if (span >= 0x80000000ULL) {
        throw std::length_error("block too large for the 32-bit address space");
    }
    if (std::uint64_t{next_} + span >= 0xFFFF0000ULL) {
        // Wrap around once and look for a gap between live blocks.
        Address candidate = kFirstAddress;
        for (const auto& [start, block] : blocks_) {
            if (std::uint64_t{candidate} + span <= start) {
                break;
            }
            std::uint64_t end = start + std::max<std::size_t>(block.bytes.size(), 1);
            candidate = static_cast<Address>((end + 15) & ~std::uint64_t{15});
        }
        if (std::uint64_t{candidate} + span >= 0xFFFF0000ULL) {
            throw std::length_error("32-bit address space exhausted");
        }
        next_ = candidate;
    }
    Address address = next_;
    next_ = static_cast<Address>(next_ + span);
    return address;
}

Address AddressSpace::allocate(std::size_t size) {
    Address address = reserve(size);
    blocks_.emplace(address, Block{Kind::Bytes, std::vector<std::uint8_t>(size), Value(), {}});
    return address;
}

Address AddressSpace::storeText(std::string_view text) {
    Address address = allocate(text.size() + 1);
    std::copy(text.begin(), text.end(), blocks_.at(address).bytes.begin());
    return address;
}

Address AddressSpace::storeDynamicString(std::string text) {
    Address address = reserve(text.size() + 1);
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    blocks_.emplace(address, Block{Kind::DynamicString, std::move(bytes), Value(), {}});
    return address;
}

Address AddressSpace::storeValue(Value value) {
    Address address = reserve(1);
    blocks_.emplace(address, Block{Kind::Value, {}, std::move(value), {}});
    return address;
}

Address AddressSpace::storeFunction(Function function) {
    Address address = reserve(1);
    blocks_.emplace(address, Block{Kind::Function, {}, Value(), std::move(function)});
    return address;
}

void AddressSpace::release(Address address) { blocks_.erase(address); }

const AddressSpace::Block* AddressSpace::blockAt(Address address) const {
    auto found = blocks_.find(address);
    return found == blocks_.end() ? nullptr : &found->second;
}

const AddressSpace::Block* AddressSpace::blockContaining(Address address,
                                                         std::size_t& offset) const {
    auto after = blocks_.upper_bound(address);
    if (after == blocks_.begin()) {
        return nullptr;
    }
    const auto& [start, block] = *std::prev(after);
    offset = address - start;
    if (offset >= block.bytes.size()) {
        return nullptr;
    }
    return &block;
}

std::span<std::uint8_t> AddressSpace::bytes(Address address) {
    auto found = blocks_.find(address);
    if (found == blocks_.end() || found->second.kind != Kind::Bytes) {
        return {};
    }
    return found->second.bytes;
}

std::optional<std::vector<std::uint8_t>> AddressSpace::read(Address address,
                                                            std::size_t count) const {
    if (count == 0) {
        return std::vector<std::uint8_t>();
    }
    std::size_t offset = 0;
    const Block* block = blockContaining(address, offset);
    if (!block || block->bytes.size() - offset < count) {
        return std::nullopt;
    }
    auto first = block->bytes.begin() + static_cast<std::ptrdiff_t>(offset);
    return std::vector<std::uint8_t>(first, first + static_cast<std::ptrdiff_t>(count));
}

std::string AddressSpace::cString(Address address) const {
    std::size_t offset = 0;
    const Block* block = address == 0 ? nullptr : blockContaining(address, offset);
    if (!block) {
        return {};
    }
    std::string text;
    // A text without NUL ends with its block: never read past it.
    for (std::size_t i = offset; i < block->bytes.size() && block->bytes[i] != 0; ++i) {
        text.push_back(static_cast<char>(block->bytes[i]));
    }
    return text;
}

bool AddressSpace::isDynamicString(Address address) const {
    const Block* block = blockAt(address);
    return block && block->kind == Kind::DynamicString;
}

std::optional<std::string> AddressSpace::dynamicString(Address address) const {
    if (!isDynamicString(address)) {
        return std::nullopt;
    }
    const auto& bytes = blockAt(address)->bytes;
    return std::string(bytes.begin(), bytes.end() - 1);
}

std::optional<Value> AddressSpace::value(Address address) const {
    const Block* block = blockAt(address);
    if (!block || block->kind != Kind::Value) {
        return std::nullopt;
    }
    return block->value;
}

const AddressSpace::Function* AddressSpace::function(Address address) const {
    const Block* block = blockAt(address);
    return block && block->kind == Kind::Function ? &block->function : nullptr;
}

bool IsDynPtr(Address address) { return addressSpace().isDynamicString(address); }

bool IsPtr(const Value& value) { return value.isPointer(); }

AddressScope::~AddressScope() {
    for (Address address : owned_) {
        addressSpace().release(address);
    }
}

} // namespace cuentas
