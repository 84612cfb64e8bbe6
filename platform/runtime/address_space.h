#pragma once
// The runtime's 32-bit address space: texts, argument blocks, boxed values and functions that
// runtime error records and pointer values refer to by a 32-bit address, on any machine.

#include "platform/runtime/value.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cuentas {

using Address = std::uint32_t;

class AddressSpace {
public:
    using Function = std::function<Value(Arguments)>;

    // Raw bytes, zero-filled; readable and writable through bytes().
    Address allocate(std::size_t size);
    // A NUL-terminated copy of `text`.
    Address storeText(std::string_view text);
    // A string that the runtime manages: IsDynPtr is true for its address.
    Address storeDynamicString(std::string text);
    // A value in the runtime's value form; argument blocks hold the addresses of such boxes.
    Address storeValue(Value value);
    // A callable function, for function pointers such as the installed error function.
    Address storeFunction(Function function);
    void release(Address address);

    // The bytes of the block that starts at `address`, or an empty span for any other address.
    std::span<std::uint8_t> bytes(Address address);
    // Reads `count` bytes at `address`, which may lie inside a block; nullopt when any of them
    // lies outside every block.
    std::optional<std::vector<std::uint8_t>> read(Address address, std::size_t count) const;
    // The NUL-terminated text at `address`; 0 or an address outside every block gives "".
    std::string cString(Address address) const;
    bool isDynamicString(Address address) const;
    std::optional<std::string> dynamicString(Address address) const;
    std::optional<Value> value(Address address) const;
    const Function* function(Address address) const;


private:
    enum class Kind { Bytes, DynamicString, Value, Function };
    struct Block {
        Kind kind;
        std::vector<std::uint8_t> bytes; // for DynamicString: the text and a NUL
        Value value;
        Function function;
    };
    Address reserve(std::size_t size);
    const Block* blockAt(Address address) const;
    // Finds the block holding `address` and the offset of `address` inside it.
    const Block* blockContaining(Address address, std::size_t& offset) const;

    std::map<Address, Block> blocks_;
    Address next_ = kFirstAddress;
    static constexpr Address kFirstAddress = 0x00100000;
};

// The process's address space.
AddressSpace& addressSpace();

// IsDynPtr: TRUE when the address points to a string that the runtime manages.
bool IsDynPtr(Address address);
// IsPtr: TRUE for a pointer value.
bool IsPtr(const Value& value);

// Frees the blocks it is given when it goes out of scope.
class AddressScope {
public:
    AddressScope() = default;
    ~AddressScope();
    AddressScope(const AddressScope&) = delete;
    AddressScope& operator=(const AddressScope&) = delete;
    Address keep(Address address) {
        if (address != 0) {
            owned_.push_back(address);
        }
        return address;
    }

private:
    std::vector<Address> owned_;
};

} // namespace cuentas
