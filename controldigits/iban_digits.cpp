#include "controldigits/iban_digits.h"

#include "controldigits/control_digits.h"

#include <array>
#include <cstdint>

namespace cuentas {
namespace {

// Appends one character to a remainder mod 97: a digit is one decimal place, a letter
// (10 to 35, in either case) two, anything else the digit 0.
std::uint64_t fold(std::uint64_t remainder, char c) {
    if (c >= '0' && c <= '9') {
        return (remainder * 10 + static_cast<std::uint64_t>(c - '0')) % 97;
    }
    const char upper = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    if (upper >= 'A' && upper <= 'Z') {
        return (remainder * 100 + static_cast<std::uint64_t>(upper - 'A' + 10)) % 97;
    }
    return remainder * 10 % 97;
}

// Digits only, nine at a time: each piece is read on its own, and only the short chain of
// remainders depends on the one before.
std::uint64_t foldDigits(std::string_view digits) {
    std::uint64_t remainder = 0;
    for (std::size_t start = 0; start < digits.size(); start += 9) {
        const std::size_t end = start + 9 < digits.size() ? start + 9 : digits.size();
        std::uint64_t piece = 0;
        std::uint64_t scale = 1;
        for (std::size_t i = start; i < end; ++i) {
            piece = piece * 10 + static_cast<std::uint64_t>(digits[i] - '0');
            scale *= 10;
        }
        remainder = (remainder * scale + piece) % 97;
    }
    return remainder;
}

// A Spanish IBAN, the common case, is one sum: each of its 20 digits times what its place
// is worth mod 97, with "ES00" folded in beforehand.
constexpr std::array<std::uint32_t, 20> kSpanishPlaces = [] {
    std::array<std::uint32_t, 20> places{};
    std::uint32_t place = 1000000 % 97; // "ES00" follows the 20 digits: 1428 and 00
    for (std::size_t i = 20; i-- > 0;) {
        places[i] = place;
        place = place * 10 % 97;
    }
    return places;
}();
constexpr std::uint32_t kSpanishTail = 142800 % 97;

#if defined(__SSE2__)
// The places as the processor multiplies them, eight at a time: those of digits 1 to 16, then
// of digits 13 to 20 with the first four (already counted) worth nothing.
alignas(16) constexpr auto kPlaceVectors = [] {
    std::array<std::int16_t, 24> vectors{};
    for (std::size_t i = 0; i < 16; ++i) {
        vectors[i] = static_cast<std::int16_t>(kSpanishPlaces[i]);
    }
    for (std::size_t i = 16; i < 20; ++i) {
        vectors[i + 4] = static_cast<std::int16_t>(kSpanishPlaces[i]);
    }
    return vectors;
}();
#endif

std::uint32_t spanishCheckDigits(std::string_view digits) {
    std::uint32_t sum = kSpanishTail;
#if defined(__SSE2__)
    const auto places = [](std::size_t at) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(kPlaceVectors.data() + at));
    };
    const detail::DigitValues values = detail::digitValues(digits.data());
    __m128i sums = _mm_add_epi32(_mm_madd_epi16(values.digits1to8, places(0)),
                                 _mm_madd_epi16(values.digits9to16, places(8)));
    sums = _mm_add_epi32(sums, _mm_madd_epi16(values.digits13to20, places(16)));
    sums = _mm_add_epi32(sums, _mm_srli_si128(sums, 8));
    sums = _mm_add_epi32(sums, _mm_srli_si128(sums, 4));
    sum += static_cast<std::uint32_t>(_mm_cvtsi128_si32(sums));
#else
    for (std::size_t i = 0; i < 20; ++i) {
        sum += kSpanishPlaces[i] * static_cast<std::uint32_t>(digits[i] - '0');
    }
#endif
    return 98 - sum % 97;
}

} // namespace

std::uint32_t ibanCheckDigits(std::string_view country, std::string_view bban) {
    if (country == "ES" && bban.size() == 20 && detail::allDigits(bban)) {
        return spanishCheckDigits(bban);
    }
    std::uint64_t remainder = 0;
    if (detail::allDigits(bban)) {
        remainder = foldDigits(bban);
    } else {
        for (char c : bban) {
            remainder = fold(remainder, c);
        }
    }
    for (char c : country) {
        remainder = fold(remainder, c);
    }
    remainder = remainder * 100 % 97; // the check digits' place, "00"
    return static_cast<std::uint32_t>(98 - remainder);
}

} // namespace cuentas
