#include "cli/text_builder.h"

#include <algorithm>
#include <functional>

namespace cuentas::cli {

void TextBuilder::reserve(std::size_t capacity) {
    if (capacity <= static_cast<std::size_t>(limit_ - begin_)) {
        return;
    }
    auto storage = std::make_unique_for_overwrite<char[]>(capacity);
    const std::size_t used = size();
    if (used > 0) {
        std::memcpy(storage.get(), begin_, used);
    }
    storage_ = std::move(storage);
    begin_ = storage_.get();
    end_ = begin_ + used;
    limit_ = begin_ + capacity;
}

const char* TextBuilder::grow(std::string_view piece) {
    const std::less_equal<const char*> notAfter;
    const bool own = !piece.empty() && notAfter(begin_, piece.data()) &&
                     !notAfter(end_, piece.data());
    const std::size_t offset = own ? static_cast<std::size_t>(piece.data() - begin_) : 0;
    const std::size_t capacity = static_cast<std::size_t>(limit_ - begin_);
    reserve(std::max({capacity * 2, size() + piece.size(), std::size_t{64}}));
    return own ? begin_ + offset : piece.data();
}

} // namespace cuentas::cli
