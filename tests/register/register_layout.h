#pragma once
// A table in the register's layout, as the bundled NomBancos.dbf has it, ready for records.

#include "tests/platform/table/dbf_builder.h"

namespace cuentas::testing {

inline DbfBuilder registerLayout() {
    return DbfBuilder()
        .field("BANCO", 'C', 4)
        .field("NOMBRE", 'C', 60)
        .field("ESTADO", 'C', 7)
        .field("SUCESORA", 'C', 4)
        .field("BIC", 'C', 11)
        .field("RAZONSOC", 'C', 60);
}

} // namespace cuentas::testing
