#pragma once
// Where a line ends: CR, LF and CR LF all end a line, as files from every kind of system and
// spreadsheet come.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace cuentas::cli {

// The offset of the first CR or LF in `text`, or its size when it holds none. Eight bytes at
// a time: a byte equals CR or LF when XOR with it leaves a zero byte.
inline std::size_t findLineBreak(std::string_view text) {
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighs = 0x8080808080808080;
    const auto hasZeroByte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHighs; };
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, text.data() + at, 8);
        if (hasZeroByte(bytes ^ (kOnes * '\n')) | hasZeroByte(bytes ^ (kOnes * '\r'))) {
            break;
        }
    }
    for (; at < text.size(); ++at) {
        if (text[at] == '\n' || text[at] == '\r') {
            return at;
        }
    }
    return text.size();
}

} // namespace cuentas::cli
