#include "dialog/account_globals.h"

#include <utility>

namespace cuentas {
namespace {

std::function<void()>& pendingFill() {
    static std::function<void()> fill;
    return fill;
}

} // namespace

void awaitBankDirectoryFill(std::function<void()> untilFilled) {
    pendingFill() = std::move(untilFilled);
}

Value& bankDirectory() {
    if (pendingFill()) {
        std::exchange(pendingFill(), nullptr)();
    }
    // Never destroyed: it lives as long as the process, and taking apart a directory of a
    // million entries at exit would only hold up the end of the process.
    static Value& directory = *new Value();
    return directory;
}

std::string& baseDirectory() {
    static std::string directory;
    return directory;
}

} // namespace cuentas
