#include "platform/runtime/text_storage.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace cuentas {

TextBuffer TextBuffer::allocate(std::size_t size) {
    // Slices keep their offset in 32 bits.
    if (size > 0xFFFFFFFF) {
        throw std::length_error("text buffer of 4 GiB or more");
    }
    TextBuffer buffer;
    buffer.block_ = static_cast<Block*>(::operator new(sizeof(Block) + size));
    new (buffer.block_) Block{{1}, static_cast<std::uint32_t>(size)};
    return buffer;
}

TextBuffer::TextBuffer(const TextBuffer& other) noexcept : block_(other.block_) {
    retain(block_);
}

TextBuffer::TextBuffer(TextBuffer&& other) noexcept
    : block_(std::exchange(other.block_, nullptr)) {}

TextBuffer& TextBuffer::operator=(TextBuffer other) noexcept {
    std::swap(block_, other.block_);
    return *this;
}

TextBuffer::~TextBuffer() {
    release(block_);
}

char* TextBuffer::data() {
    return block_ ? bytesOf(block_) : nullptr;
}

const char* TextBuffer::data() const {
    return block_ ? bytesOf(block_) : nullptr;
}

std::size_t TextBuffer::size() const {
    return block_ ? block_->size : 0;
}

void TextBuffer::shrink(std::size_t size) {
    if (block_ && size < block_->size) {
        block_->size = static_cast<std::uint32_t>(size);
    }
}

void TextBuffer::retain(Block* block) noexcept {
    if (block) {
        block->references.fetch_add(1, std::memory_order_relaxed);
    }
}

void TextBuffer::release(Block* block) noexcept {
    if (block && block->references.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        block->~Block();
        ::operator delete(block);
    }
}

Text::Text(std::string_view text) {
    if (text.size() <= kInlineSize) {
        setInline(text.data(), text.size());
        return;
    }
    if (text.size() > kMaxSize) {
        throw std::length_error("text of 2 GiB or more");
    }
    TextBuffer copy = TextBuffer::allocate(text.size());
    std::memcpy(copy.data(), text.data(), text.size());
    setShared(std::exchange(copy.block_, nullptr), 0, text.size());
}

Text Text::slice(const TextBuffer& buffer, std::size_t offset, std::size_t size) {
    if (offset > buffer.size() || size > buffer.size() - offset) {
        throw std::out_of_range("text slice outside its buffer");
    }
    if (size > kMaxSize) {
        throw std::length_error("text of 2 GiB or more");
    }
    Text text;
    if (size <= kInlineSize) {
        text.setInline(buffer.data() + offset, size);
    } else {
        TextBuffer::retain(buffer.block_);
        text.setShared(buffer.block_, static_cast<std::uint32_t>(offset), size);
    }
    return text;
}

Text::Text(const Text& other) noexcept : sizeAndForm_(other.sizeAndForm_) {
    std::memcpy(bytes_, other.bytes_, sizeof bytes_);
    if (isShared()) {
        TextBuffer::retain(block());
    }
}

Text::Text(Text&& other) noexcept : sizeAndForm_(std::exchange(other.sizeAndForm_, 0)) {
    std::memcpy(bytes_, other.bytes_, sizeof bytes_);
    std::memset(other.bytes_, 0, sizeof other.bytes_);
}

Text& Text::operator=(const Text& other) noexcept {
    if (this != &other) {
        Text copy(other);
        *this = std::move(copy);
    }
    return *this;
}

Text& Text::operator=(Text&& other) noexcept {
    if (this != &other) {
        if (isShared()) {
            TextBuffer::release(block());
        }
        sizeAndForm_ = std::exchange(other.sizeAndForm_, 0);
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        std::memset(other.bytes_, 0, sizeof other.bytes_);
    }
    return *this;
}

Text::~Text() {
    if (isShared()) {
        TextBuffer::release(block());
    }
}

void Text::setShared(TextBuffer::Block* block, std::uint32_t offset, std::size_t size) {
    std::memcpy(bytes_, &block, sizeof block);
    std::memcpy(bytes_ + sizeof block, &offset, sizeof offset);
    sizeAndForm_ = kSharedForm | static_cast<std::uint32_t>(size);
}

void Text::setInline(const char* bytes, std::size_t size) {
    // Fixed-size copies, overlapping where the size falls between them, compile to plain
    // moves; a copy of any size would be a call for every short text of a table.
    std::memset(bytes_, 0, sizeof bytes_);
    if (size >= 8) {
        std::memcpy(bytes_, bytes, 8);
        std::memcpy(bytes_ + size - 8, bytes + size - 8, 8);
    } else if (size >= 4) {
        std::memcpy(bytes_, bytes, 4);
        std::memcpy(bytes_ + size - 4, bytes + size - 4, 4);
    } else if (size > 0) {
        bytes_[0] = bytes[0];
        bytes_[size / 2] = bytes[size / 2];
        bytes_[size - 1] = bytes[size - 1];
    }
    sizeAndForm_ = static_cast<std::uint32_t>(size);
}

} // namespace cuentas
