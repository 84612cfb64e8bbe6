#include "dialog/account_globals.h"

namespace cuentas {

Value& bankDirectory() {
    static Value directory;
    return directory;
}

std::string& baseDirectory() {
    static std::string directory;
    return directory;
}

} // namespace cuentas
