#include "controldigits/control_digits.h"

#include <array>

namespace cuentas {
namespace {

// Position i of a 10-digit sequence weighs 2^(i-1) mod 11. Bank and branch take the weights
// of positions 3 to 10, as if two zeros stood before them.
constexpr std::array<std::uint32_t, 10> kWeights{1, 2, 4, 8, 5, 10, 9, 7, 3, 6};

std::uint32_t digitValue(char c) {
    return c >= '0' && c <= '9' ? static_cast<std::uint32_t>(c - '0') : 0;
}

} // namespace

std::string CORRIGE(std::string_view text, std::uint32_t width) {
    const auto first = text.find_first_not_of(' ');
    const std::string_view trimmed =
        first == std::string_view::npos
            ? std::string_view()
            : text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (trimmed.size() >= width) {
        return std::string(trimmed.substr(0, width));
    }
    std::string result(width - trimmed.size(), '0');
    result += trimmed;
    return result;
}

std::uint32_t X(std::string_view text, std::uint32_t position) {
    return position >= 1 && position <= text.size() ? digitValue(text[position - 1]) : 0;
}

std::uint32_t controlDigit(std::string_view digits) {
    const std::size_t count = digits.size() < kWeights.size() ? digits.size() : kWeights.size();
    const std::size_t firstWeight = kWeights.size() - count;
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) {
        sum += kWeights[firstWeight + i] * digitValue(digits[i]);
    }
    // 11 - (sum mod 11), where 11 becomes 0 and 10 becomes 1.
    const std::uint32_t remainder = sum % 11;
    return remainder < 2 ? remainder : 11 - remainder;
}

std::uint32_t controlDigits(std::string_view bank, std::string_view branch,
                            std::string_view account) {
    const std::string bankAndBranch = CORRIGE(bank, 4) + CORRIGE(branch, 4);
    return 10 * controlDigit(bankAndBranch) + controlDigit(CORRIGE(account, 10));
}

} // namespace cuentas
