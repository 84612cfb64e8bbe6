#pragma once
// How the runtime holds a text: short ones inline, longer ones as a slice of a shared,
// reference-counted buffer (a table's records, or a copy of their own). Bytes only; no code page.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace cuentas {

// A block of bytes shared by reference. It is filled once, through data(), before any text
// refers to it, and never changed afterwards: a text taken from it stays as it was for as long
// as the text lives, whatever happens to the buffer's other holders.
class TextBuffer {
public:
    TextBuffer() = default;
    // `size` bytes, not initialised. A size of 4 GiB or more is refused (std::length_error).
    static TextBuffer allocate(std::size_t size);

    TextBuffer(const TextBuffer& other) noexcept;
    TextBuffer(TextBuffer&& other) noexcept;
    TextBuffer& operator=(TextBuffer other) noexcept;
    ~TextBuffer();

    explicit operator bool() const { return block_ != nullptr; }
    char* data();
    const char* data() const;
    std::size_t size() const;
    // The bytes in use, when fewer than allocated were filled (the memory stays reserved).
    void shrink(std::size_t size);
    std::string_view view() const { return {data(), size()}; }

private:
    friend class Text;
    struct Block {
        std::atomic<std::size_t> references;
        std::uint32_t size;
    };
    static char* bytesOf(Block* block) { return reinterpret_cast<char*>(block + 1); }
    static void retain(Block* block) noexcept;
    static void release(Block* block) noexcept;

    Block* block_ = nullptr;
};

// An immutable text of single bytes. Texts of up to kInlineSize bytes are held in the object
// itself; longer ones refer to a slice of a TextBuffer and keep it alive. Copying is cheap
// (at most a reference count), and so is comparing two short texts.
class Text {
public:
    static constexpr std::size_t kInlineSize = 12;
    // Texts as long as 2 GiB or longer are refused (std::length_error).
    static constexpr std::size_t kMaxSize = 0x7FFFFFFF;

    constexpr Text() noexcept = default;
    // A copy of the bytes.
    explicit Text(std::string_view text);
    // The bytes [offset, offset + size) of the buffer, without copying them when they are
    // longer than kInlineSize. The slice must lie within the buffer (std::out_of_range) and
    // be shorter than 2 GiB (std::length_error).
    static Text slice(const TextBuffer& buffer, std::size_t offset, std::size_t size);

    Text(const Text& other) noexcept;
    Text(Text&& other) noexcept;
    Text& operator=(const Text& other) noexcept;
    Text& operator=(Text&& other) noexcept;
    ~Text();

    std::size_t size() const { return sizeAndForm_ & kSizeMask; }
    const char* data() const {
        return isShared() ? TextBuffer::bytesOf(block()) + offset() : bytes_;
    }
    std::string_view view() const { return {data(), size()}; }
    operator std::string_view() const { return view(); }
    std::string str() const { return std::string(view()); }

    friend bool operator==(const Text& left, const Text& right) noexcept {
        if (left.sizeAndForm_ != right.sizeAndForm_) {
            return false;
        }
        // Short texts are always inline with zeros after their bytes, so that their whole
        // storage compares; longer ones compare their bytes wherever they lie.
        if (!left.isShared()) {
            return std::memcmp(left.bytes_, right.bytes_, kInlineSize) == 0;
        }
        return std::memcmp(left.data(), right.data(), left.size()) == 0;
    }
    friend bool operator==(const Text& left, std::string_view right) noexcept {
        return left.view() == right;
    }

private:
    static constexpr std::uint32_t kSharedForm = 0x80000000;
    static constexpr std::uint32_t kSizeMask = 0x7FFFFFFF;

    bool isShared() const { return (sizeAndForm_ & kSharedForm) != 0; }
    TextBuffer::Block* block() const {
        TextBuffer::Block* b;
        std::memcpy(&b, bytes_, sizeof b);
        return b;
    }
    std::uint32_t offset() const {
        std::uint32_t o;
        std::memcpy(&o, bytes_ + sizeof(TextBuffer::Block*), sizeof o);
        return o;
    }
    void setShared(TextBuffer::Block* block, std::uint32_t offset, std::size_t size);
    void setInline(const char* bytes, std::size_t size);

    // Inline: the bytes, zero-filled after the size. Shared: the block's address, then the
    // slice's offset in it.
    alignas(8) char bytes_[kInlineSize] = {};
    std::uint32_t sizeAndForm_ = 0;
};

static_assert(sizeof(Text) == 16);
static_assert(sizeof(void*) + sizeof(std::uint32_t) <= Text::kInlineSize);

} // namespace cuentas
