#include "controldigits/control_digits.h"

namespace cuentas {
namespace {

std::string_view withoutBlanksAround(std::string_view text) {
    std::size_t first = 0;
    std::size_t end = text.size();
    while (first < end && text[first] == ' ') {
        ++first;
    }
    while (end > first && text[end - 1] == ' ') {
        --end;
    }
    return text.substr(first, end - first);
}

// The weighted sum of a field as CORRIGE normalises it to Width characters, its positions
// taking the weights from FirstWeight on. The zeros CORRIGE would put in front weigh nothing,
// so the field is read where it stands, without making the normalised text.
template <std::size_t Width, std::size_t FirstWeight>
std::uint32_t fieldSum(std::string_view field) {
    const std::string_view digits = withoutBlanksAround(field);
    if (digits.size() >= Width) {
        return detail::weightedSum<Width, FirstWeight>(digits.data()); // the leftmost Width
    }
    const std::size_t firstWeight = FirstWeight + Width - digits.size();
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        sum += detail::kWeights[firstWeight + i] * detail::digitValue(digits[i]);
    }
    return sum;
}

} // namespace

std::string CORRIGE(std::string_view text, std::uint32_t width) {
    const std::string_view trimmed = withoutBlanksAround(text);
    if (trimmed.size() >= width) {
        return std::string(trimmed.substr(0, width));
    }
    std::string result(width - trimmed.size(), '0');
    result += trimmed;
    return result;
}

std::uint32_t X(std::string_view text, std::uint32_t position) {
    return position >= 1 && position <= text.size() ? detail::digitValue(text[position - 1]) : 0;
}

std::uint32_t controlDigits(std::string_view bank, std::string_view branch,
                            std::string_view account) {
    const std::uint32_t first = fieldSum<4, 2>(bank) + fieldSum<4, 6>(branch);
    const std::uint32_t second = fieldSum<10, 0>(account);
    return 10 * detail::controlDigitOfSum(first) + detail::controlDigitOfSum(second);
}

} // namespace cuentas
