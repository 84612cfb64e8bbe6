#include "controldigits/control_digits.h"

#include "platform/runtime/text.h"

#include <array>

namespace cuentas {
namespace {

// Position i of a 10-digit sequence weighs 2^(i-1) mod 11. Bank and branch take the weights
// of positions 3 to 10, as if two zeros stood before them.
constexpr std::array<std::uint32_t, 10> kWeights{1, 2, 4, 8, 5, 10, 9, 7, 3, 6};

std::uint32_t weightedSum(std::string_view digits, std::size_t firstWeight) {
    std::uint32_t sum = 0;
    for (std::uint32_t i = 1; i <= digits.size(); ++i) {
        sum += kWeights[firstWeight + i - 1] * X(digits, i);
    }
    return sum;
}

// 11 - (sum mod 11), where 11 becomes 0 and 10 becomes 1.
std::uint32_t digitOf(std::uint32_t sum) {
    std::uint32_t remainder = sum % 11;
    if (remainder == 0) {
        return 0;
    }
    if (remainder == 1) {
        return 1;
    }
    return 11 - remainder;
}

} // namespace

std::string CORRIGE(std::string_view text, std::uint32_t width) {
    return PadL(Value(AllTrim(text)), width, "0");
}

std::uint32_t X(std::string_view text, std::uint32_t position) {
    return Val(CharPos(text, position)).asUnsigned();
}

std::uint32_t controlDigits(std::string_view bank, std::string_view branch,
                            std::string_view account) {
    std::string bankAndBranch = CORRIGE(bank, 4) + CORRIGE(branch, 4);
    std::string accountDigits = CORRIGE(account, 10);
    std::uint32_t first = digitOf(weightedSum(bankAndBranch, 2));
    std::uint32_t second = digitOf(weightedSum(accountDigits, 0));
    return 10 * first + second;
}

} // namespace cuentas
