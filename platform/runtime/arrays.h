#pragma once
// Array functions of the runtime; elements count from 1.

#include "platform/runtime/value.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <new>
#include <vector>

namespace cuentas {

// An array of `size` nil elements, reserved in one step.
ArrayRef ArrayCreate(std::uint32_t size);
// An array of the given elements, in order.
ArrayRef ArrayBuild(std::initializer_list<Value> elements);
// The same, taking the elements over without copying them.
ArrayRef ArrayBuild(std::vector<Value> elements);
// The length of an array; 0 for anything that is not one.
std::uint32_t ALen(const Value& array);

// Many small arrays side by side in one block, one cache line each: the rows of a table read
// into memory. Each row is an ordinary array (reference semantics; it may grow, its further
// elements then go to the heap) whose reference keeps the whole block alive.
class ArrayRows {
public:
    // `count` empty arrays.
    explicit ArrayRows(std::size_t count);
    // `count` arrays of two elements, {first(index), second(index)}, made in one pass over
    // fresh memory. Neither may throw.
    template <class First, class Second>
    ArrayRows(std::size_t count, First first, Second second) : count_(count) {
        static_assert(noexcept(first(std::size_t{}))&& noexcept(second(std::size_t{})));
        ArrayData* rows = allocateRows(count);
        for (std::size_t index = 0; index < count; ++index) {
            new (rows + index) ArrayData(first(index), second(index));
        }
        own(rows);
    }

    std::size_t size() const { return count_; }
    // 0-based, unchecked: the row to fill.
    ArrayData& operator[](std::size_t index) const { return block_.get()[index]; }
    // A reference to row `index` (0-based, checked), sharing the block.
    ArrayRef reference(std::size_t index) const;

private:
    static ArrayData* allocateRows(std::size_t count);
    void own(ArrayData* rows); // the constructed rows, from now on freed with the last reference

    std::shared_ptr<ArrayData> block_;
    std::size_t count_;
};

} // namespace cuentas
