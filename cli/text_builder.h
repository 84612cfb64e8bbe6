#pragma once
// Text built of many short pieces, as a result line is: the number, ": ", a message of a few
// texts, an entity's name. Each piece is copied in place with a few word moves instead of a
// call into the C library, which for a handful of bytes costs more than the copy itself (and
// under Wine, whose library copies short pieces a byte or a word at a time, several times more).

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace cuentas::cli {

namespace detail {

template <std::size_t Size> struct Block {
    unsigned char bytes[Size];
};

// Copies Size bytes with moves of that width (the compiler turns a copy of a known small
// size into them).
template <std::size_t Size> inline void move(char* to, const char* from) {
    Block<Size> block;
    std::memcpy(&block, from, Size);
    std::memcpy(to, &block, Size);
}

// `to` and `from` do not overlap. Short pieces are copied as two moves that may overlap in
// the middle; up to 64 bytes in blocks of 16, the last one ending at the last byte.
inline void copyText(char* to, const char* from, std::size_t size) {
    if (size >= 16) {
        if (size > 64) {
            std::memcpy(to, from, size);
            return;
        }
        for (std::size_t at = 0; at + 16 < size; at += 16) {
            move<16>(to + at, from + at);
        }
        move<16>(to + size - 16, from + size - 16);
    } else if (size >= 8) {
        move<8>(to, from);
        move<8>(to + size - 8, from + size - 8);
    } else if (size >= 4) {
        move<4>(to, from);
        move<4>(to + size - 4, from + size - 4);
    } else if (size > 0) {
        to[0] = from[0];
        to[size / 2] = from[size / 2];
        to[size - 1] = from[size - 1];
    }
}

} // namespace detail

class TextBuilder {
public:
    TextBuilder() = default;
    explicit TextBuilder(std::size_t capacity) { reserve(capacity); }
    TextBuilder(const TextBuilder&) = delete;
    TextBuilder& operator=(const TextBuilder&) = delete;

    void append(std::string_view piece) {
        const char* from = piece.data();
        if (piece.size() > static_cast<std::size_t>(limit_ - end_)) {
            from = grow(piece);
        }
        detail::copyText(end_, from, piece.size());
        end_ += piece.size();
    }
    void append(const char* data, std::size_t size) { append(std::string_view(data, size)); }
    void push_back(char c) {
        if (end_ == limit_) {
            grow({});
        }
        *end_++ = c;
    }
    TextBuilder& operator+=(std::string_view piece) {
        append(piece);
        return *this;
    }
    TextBuilder& operator+=(char c) {
        push_back(c);
        return *this;
    }

    void clear() { end_ = begin_; }
    // Room for `capacity` bytes in all, kept across clear().
    void reserve(std::size_t capacity);

    const char* data() const { return begin_; }
    std::size_t size() const { return static_cast<std::size_t>(end_ - begin_); }
    bool empty() const { return end_ == begin_; }
    std::string_view view() const { return {begin_, size()}; }
    operator std::string_view() const { return view(); }

private:
    // Makes room for `piece` and more; returns where its bytes are now (a piece of this text
    // itself moves with it).
    const char* grow(std::string_view piece);

    std::unique_ptr<char[]> storage_;
    char* begin_ = nullptr;
    char* end_ = nullptr;
    char* limit_ = nullptr;
};

} // namespace cuentas::cli
