#include "platform/runtime/error_box.h"

#include "platform/os/operating_system.h"

namespace cuentas {

std::uint32_t ErrorMessageBox(const std::string& text, const std::string& caption,
                              std::uint32_t defaultCode, std::uint32_t retryCode,
                              std::uint32_t breakCode) {
    return operatingSystem().errorMessageBox(text, caption,
                                             ErrorBoxButtons{defaultCode, retryCode, breakCode});
}

int MessageBoxA(const std::string& text, const std::string& caption, std::uint32_t flags) {
    return operatingSystem().messageBox(text, caption, flags);
}

void Tone(std::uint32_t frequency, std::uint32_t duration) {
    operatingSystem().tone(frequency, duration);
}

} // namespace cuentas
