#include "controldigits/control_digits.h"

namespace cuentas {

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
    return position >= 1 && position <= text.size() ? detail::digitValue(text[position - 1]) : 0;
}

std::uint32_t controlDigits(std::string_view bank, std::string_view branch,
                            std::string_view account) {
    const std::string bankAndBranch = CORRIGE(bank, 4) + CORRIGE(branch, 4);
    return 10 * controlDigit(bankAndBranch) + controlDigit(CORRIGE(account, 10));
}

} // namespace cuentas
