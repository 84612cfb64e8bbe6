#include "platform/runtime/value.h"

#include <new>
#include <stdexcept>

namespace cuentas {
namespace {

// Elements past the inline ones live in raw storage, constructed and destroyed one by one.
Value* allocateElements(std::size_t capacity) {
    return static_cast<Value*>(::operator new(capacity * sizeof(Value)));
}

void freeElements(Value* elements) {
    ::operator delete(elements);
}

} // namespace

void ArrayData::throwOutOfRange() {
    throw std::out_of_range("array position out of range");
}

ArrayData::ArrayData(std::size_t size) : ArrayData() {
    reserve(size);
    for (; size_ < size; ++size_) {
        new (data_ + size_) Value();
    }
}

ArrayData::ArrayData(std::vector<Value> elements) : ArrayData() {
    reserve(elements.size());
    for (Value& element : elements) {
        new (data_ + size_) Value(std::move(element));
        ++size_;
    }
}

ArrayData::ArrayData(Value first, Value second) noexcept : ArrayData() {
    new (data_) Value(std::move(first));
    new (data_ + 1) Value(std::move(second));
    size_ = 2;
}

ArrayData::~ArrayData() {
    truncate(0);
    if (data_ != inlineElements()) {
        freeElements(data_);
    }
}

void ArrayData::put(std::size_t position, Value value) {
    if (position < 1 || position > size_) {
        throwOutOfRange();
    }
    data_[position - 1] = std::move(value);
}

void ArrayData::append(Value value) {
    if (size_ == capacity_) {
        reserve(std::size_t{capacity_} * 2);
    }
    new (data_ + size_) Value(std::move(value));
    ++size_;
}

void ArrayData::truncate(std::size_t size) {
    while (size_ > size) {
        data_[--size_].~Value();
    }
}

void ArrayData::reserve(std::size_t capacity) {
    if (capacity <= capacity_) {
        return;
    }
    if (capacity > 0xFFFFFFFF) {
        throw std::length_error("array of 4,294,967,296 elements or more");
    }
    Value* elements = allocateElements(capacity);
    for (std::uint32_t i = 0; i < size_; ++i) {
        new (elements + i) Value(std::move(data_[i]));
        data_[i].~Value();
    }
    if (data_ != inlineElements()) {
        freeElements(data_);
    }
    data_ = elements;
    capacity_ = static_cast<std::uint32_t>(capacity);
}

} // namespace cuentas
