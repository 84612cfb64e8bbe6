#include "regional/locale_answers.h"

#include "platform/os/operating_system.h"
#include "platform/runtime/text.h"

#include <algorithm>

namespace cuentas {

std::optional<std::string> LocaleAnswers::text(std::uint32_t item) {
    buffer_.fill('\0');
    int result = operatingSystem().localeInfo(locale_, item, buffer_.data(),
                                              static_cast<int>(buffer_.size()));
    if (result <= 0) {
        return std::nullopt;
    }
    // A count beyond the buffer cannot be true; never read past it.
    auto length = std::min(static_cast<std::size_t>(result) - 1, buffer_.size() - 1);
    return std::string(buffer_.data(), length);
}

std::uint32_t LocaleAnswers::firstCharacter(std::uint32_t item, std::uint32_t fallback) {
    auto answer = text(item);
    // An empty answer would make the NUL byte a separator: treat it as no answer.
    if (!answer || answer->empty()) {
        return fallback;
    }
    return static_cast<unsigned char>(answer->front());
}

std::int64_t LocaleAnswers::number(std::uint32_t item, std::int64_t fallback) {
    auto answer = text(item);
    return answer ? Val(*answer).asWholeNumber() : fallback;
}

} // namespace cuentas
