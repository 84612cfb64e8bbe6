#include "dialog/account_globals.h"

namespace cuentas {

Value& bankDirectory() {
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
