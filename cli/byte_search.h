#pragma once
// Where a line ends: CR, LF and CR LF all end a line, as files from every kind of system and
// spreadsheet come.

#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cuentas::cli {

// The offset of the first CR or LF in `text`, or its size when it holds none; sixteen bytes
// at a time where the processor compares them at once.
inline std::size_t findLineBreak(std::string_view text) {
    std::size_t at = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    for (; at + 16 <= text.size(); at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
        const int found =
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, lf), _mm_cmpeq_epi8(bytes, cr)));
        if (found != 0) {
            return at + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(found)));
        }
    }
#endif
    for (; at < text.size(); ++at) {
        if (text[at] == '\n' || text[at] == '\r') {
            return at;
        }
    }
    return text.size();
}

} // namespace cuentas::cli
