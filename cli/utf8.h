#pragma once
// Just enough UTF-8 for the tool's boundary: where characters begin, and which bytes are none.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cuentas::cli {

// The length of the well-formed UTF-8 sequence that starts at `at`, or 0 when none does.
std::size_t utf8SequenceLength(std::string_view text, std::size_t at);

// A character of a text given by its byte offset: its bytes (one byte when they are no UTF-8)
// and its 1-based position counted in characters.
struct CharacterAt {
    std::string_view bytes;
    std::uint32_t position = 0;
    bool wellFormed = false;
};
CharacterAt characterAt(std::string_view text, std::size_t byteOffset);

} // namespace cuentas::cli
