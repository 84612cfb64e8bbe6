#pragma once
// Looking through text for the few bytes that matter to a line or a CSV record (line ends,
// quotes, separators), sixteen bytes at a time where the processor compares them at once.
// Written here rather than left to the C library, whose byte search is called for a few dozen
// bytes at a time and, under Wine, looks at one byte after another.

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cuentas::cli {

// The offset of the first byte of `text` that is `a`, `b`, `c` or `d` (repeat one to look
// for fewer), or the size of `text` when it holds none.
inline std::size_t findAnyOf(std::string_view text, char a, char b, char c, char d) {
    std::size_t at = 0;
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a);
    const __m128i vb = _mm_set1_epi8(b);
    const __m128i vc = _mm_set1_epi8(c);
    const __m128i vd = _mm_set1_epi8(d);
    for (; at + 16 <= text.size(); at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const __m128i found =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, va), _mm_cmpeq_epi8(bytes, vb)),
                         _mm_or_si128(_mm_cmpeq_epi8(bytes, vc), _mm_cmpeq_epi8(bytes, vd)));
        if (const int mask = _mm_movemask_epi8(found); mask != 0) {
            return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
        }
    }
#endif
    for (; at < text.size(); ++at) {
        const char x = text[at];
        if (x == a || x == b || x == c || x == d) {
            return at;
        }
    }
    return text.size();
}

// Where a line ends: CR, LF and CR LF all end a line, as files from every kind of system and
// spreadsheet come. The offset of the first CR or LF, or the size of `text`.
inline std::size_t findLineBreak(std::string_view text) {
    return findAnyOf(text, '\n', '\r', '\n', '\r');
}

// The offset of the first `byte` in `text`, or its size.
inline std::size_t findByte(std::string_view text, char byte) {
    return findAnyOf(text, byte, byte, byte, byte);
}

} // namespace cuentas::cli
