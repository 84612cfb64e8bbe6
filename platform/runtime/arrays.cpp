#include "platform/runtime/arrays.h"

#include <algorithm>
#include <new>
#include <stdexcept>

namespace cuentas {
namespace {

// Rows start on a cache line of their own.
constexpr std::align_val_t kRowAlignment{64};

std::size_t rowsSize(std::size_t count) {
    return std::max<std::size_t>(count, 1) * sizeof(ArrayData);
}

// Destroys the rows of a block and frees it, when its last reference goes.
struct RowsDeleter {
    std::size_t count;
    void operator()(ArrayData* rows) const {
        for (std::size_t i = count; i > 0; --i) {
            rows[i - 1].~ArrayData();
        }
        ::operator delete(rows, kRowAlignment);
    }
};

} // namespace

ArrayRef ArrayCreate(std::uint32_t size) {
    return std::make_shared<ArrayData>(std::size_t{size});
}

ArrayRef ArrayBuild(std::initializer_list<Value> elements) {
    return std::make_shared<ArrayData>(std::vector<Value>(elements));
}

ArrayRef ArrayBuild(std::vector<Value> elements) {
    return std::make_shared<ArrayData>(std::move(elements));
}

std::uint32_t ALen(const Value& array) {
    const ArrayRef& data = array.asArray();
    return data ? static_cast<std::uint32_t>(data->size()) : 0;
}

ArrayData* ArrayRows::allocateRows(std::size_t count) {
    return static_cast<ArrayData*>(::operator new(rowsSize(count), kRowAlignment));
}

void ArrayRows::own(ArrayData* rows) {
    // Without memory for the count, shared_ptr hands the rows to the deleter itself.
    block_ = std::shared_ptr<ArrayData>(rows, RowsDeleter{count_});
}

ArrayRows::ArrayRows(std::size_t count) : count_(count) {
    ArrayData* rows = allocateRows(count);
    // Empty arrays cannot fail to construct.
    for (std::size_t i = 0; i < count; ++i) {
        new (rows + i) ArrayData();
    }
    own(rows);
}

ArrayRef ArrayRows::reference(std::size_t index) const {
    if (index >= count_) {
        throw std::out_of_range("array row out of range");
    }
    return ArrayRef(block_, block_.get() + index);
}

} // namespace cuentas
