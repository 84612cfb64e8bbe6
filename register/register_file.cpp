#include "register/register_file.h"

#include "platform/table/dbf_file.h"

namespace cuentas {

std::variant<DbfImage, RegisterError> readRegisterTable(const std::string& fileName) {
    // Header first, then only the declared records: a pipe, a device or a padded file given
    // as the register is refused or read within bounds, as the dialog reads its table.
    DbfResult<DbfImage> table = readDbfFile(fileName);
    if (table.ok()) {
        return std::move(table.value());
    }
    const RegisterError::Kind kind = table.fault() == DbfFault::Unreadable
                                         ? RegisterError::Kind::Open
                                         : RegisterError::Kind::Damaged;
    return RegisterError{kind, table.error()};
}

} // namespace cuentas
