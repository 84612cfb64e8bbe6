#include "cli/output.h"

#include "platform/os/operating_system.h"

namespace cuentas::cli {

Output::Output(int fd) : fd_(fd) {
    buffer_.reserve(2 * kBlock);
}

bool Output::flush() {
    if (error_ == 0 && !buffer_.empty()) {
        const long written = operatingSystem().writeFile(fd_, buffer_.data(), buffer_.size());
        if (written < 0) {
            error_ = static_cast<int>(-written);
        }
    }
    buffer_.clear();
    return error_ == 0;
}

} // namespace cuentas::cli
