#pragma once
// The two control digits of a Spanish customer account code, and the zero-filling of digit
// fields. Texts in, digits out: it never sees a widget, a file or the log.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cuentas {

// The text without its leading and trailing blanks, right-aligned in `width` characters and
// filled with "0" on the left. A trimmed text longer than `width` keeps its leftmost
// characters (the edit masks never let one arise).
std::string CORRIGE(std::string_view text, std::uint32_t width);

// The numeric value of the character at a 1-based position: "0" to "9" give 0 to 9, any other
// character (a blank included) and a position outside the text give 0.
std::uint32_t X(std::string_view text, std::uint32_t position);

namespace detail {
// Position i of a 10-digit sequence weighs 2^(i-1) mod 11.
inline constexpr std::array<std::uint32_t, 10> kWeights{1, 2, 4, 8, 5, 10, 9, 7, 3, 6};

// Characters weigh as X reads them: a digit its value, anything else 0.
inline std::uint32_t digitValue(char c) {
    const auto value = static_cast<std::uint32_t>(static_cast<unsigned char>(c) - '0');
    return value <= 9 ? value : 0;
}

// 11 - (sum mod 11), where 11 becomes 0 and 10 becomes 1.
inline std::uint32_t controlDigitOfSum(std::uint32_t sum) {
    const std::uint32_t remainder = sum % 11;
    return remainder < 2 ? remainder : 11 - remainder;
}

// Written out term by term, so that no loop is left to run. The digits take the weights from
// position First on; by default the last Count weights.
template <std::size_t Count, std::size_t First, std::size_t... I>
std::uint32_t weightedSum(const char* digits, std::index_sequence<I...>) {
    static_assert(First + Count <= kWeights.size());
    return ((kWeights[First + I] * digitValue(digits[I])) + ...);
}
template <std::size_t Count, std::size_t First = kWeights.size() - Count>
std::uint32_t weightedSum(const char* digits) {
    return weightedSum<Count, First>(digits, std::make_index_sequence<Count>());
}

#if defined(__SSE2__)
// The values of 20 digits '0' to '9' as 16-bit numbers, eight to a vector, for sums that the
// processor multiplies and adds eight at a time: digits 1 to 8, 9 to 16, 5 to 12 and 13 to 20
// (20 digits fill two 16-byte loads only with an overlap).
struct DigitValues {
    __m128i digits1to8;
    __m128i digits9to16;
    __m128i digits5to12;
    __m128i digits13to20;
};
inline DigitValues digitValues(const char* digits) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i ascii = _mm_set1_epi8('0');
    const __m128i front =
        _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(digits)), ascii);
    const __m128i back =
        _mm_sub_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(digits + 4)), ascii);
    return {_mm_unpacklo_epi8(front, zero), _mm_unpackhi_epi8(front, zero),
            _mm_unpacklo_epi8(back, zero), _mm_unpackhi_epi8(back, zero)};
}
#endif

// Whether every character is a digit, eight at a time: a byte is one when its high half is 3
// and stays 3 after adding 6.
inline bool allDigits(std::string_view text) {
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0;
    constexpr std::uint64_t kThrees = 0x3030303030303030;
    constexpr std::uint64_t kSixes = 0x0606060606060606;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, text.data() + i, 8);
        if ((bytes & kHigh) != kThrees || ((bytes + kSixes) & kHigh) != kThrees) {
            return false;
        }
    }
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return true;
}
} // namespace detail

// One control digit over at most 10 digits, right-aligned under the weights 1, 2, 4, 8, 5, 10,
// 9, 7, 3, 6 (bank and branch, 8 digits, take the last eight). Characters weigh as X reads them;
// any past the tenth are ignored. Inline, with the two usual lengths unrolled: the account
// reader calls it for every number.
inline std::uint32_t controlDigit(std::string_view digits) {
    std::uint32_t sum = 0;
    if (digits.size() >= 10) {
        sum = detail::weightedSum<10>(digits.data());
    } else if (digits.size() == 8) {
        sum = detail::weightedSum<8>(digits.data());
    } else {
        const std::size_t firstWeight = detail::kWeights.size() - digits.size();
        for (std::size_t i = 0; i < digits.size(); ++i) {
            sum += detail::kWeights[firstWeight + i] * detail::digitValue(digits[i]);
        }
    }
    return detail::controlDigitOfSum(sum);
}

// The weighted sums of the two groups of a 20-digit code (bank and branch; account), each of
// its 20 characters a digit '0' to '9' (the control digits' places weigh nothing): every
// number read goes through here, so both sums are made at once, eight digits to a step where
// the processor multiplies and adds them so.
struct CodeSums {
    std::uint32_t bankBranch = 0;
    std::uint32_t account = 0;
};
inline CodeSums codeSums(const char* digits) {
#if defined(__SSE2__)
    const detail::DigitValues values = detail::digitValues(digits);
    const __m128i bankBranch =
        _mm_madd_epi16(values.digits1to8, _mm_setr_epi16(4, 8, 5, 10, 9, 7, 3, 6));
    const __m128i account =
        _mm_add_epi32(_mm_madd_epi16(values.digits5to12, _mm_setr_epi16(0, 0, 0, 0, 0, 0, 1, 2)),
                      _mm_madd_epi16(values.digits13to20, _mm_setr_epi16(4, 8, 5, 10, 9, 7, 3, 6)));
    // Four partial sums each, added across: bank and branch first, then the account.
    const __m128i pairs = _mm_add_epi32(_mm_unpacklo_epi32(bankBranch, account),
                                        _mm_unpackhi_epi32(bankBranch, account));
    const __m128i sums = _mm_add_epi32(pairs, _mm_srli_si128(pairs, 8));
    return {static_cast<std::uint32_t>(_mm_cvtsi128_si32(sums)),
            static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 4)))};
#else
    return {detail::weightedSum<8>(digits), detail::weightedSum<10>(digits + 10)};
#endif
}

// Both control digits of such a code.
inline std::array<std::uint32_t, 2> codeControlDigits(const char* digits) {
    const CodeSums sums = codeSums(digits);
    return {detail::controlDigitOfSum(sums.bankBranch), detail::controlDigitOfSum(sums.account)};
}

// Both control digits as one number, 10 x first + second (0 to 99), for the bank, branch and
// account fields as typed; each field is read as CORRIGE zero-fills it to its width (4, 4,
// 10), without making the filled text.
std::uint32_t controlDigits(std::string_view bank, std::string_view branch,
                            std::string_view account);

} // namespace cuentas
