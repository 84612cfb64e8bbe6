#pragma once
// Reading the bank directory from the bank table, in table order.

#include "platform/runtime/source_location.h"
#include "platform/runtime/value.h"

#include <string>

namespace cuentas {

// One {BANCO, NOMBRE} element per record, from the table's current record to its end, the
// code read before the name, each exactly as stored. Both must be character fields, BANCO
// four characters wide: a missing one, one of another type (a memo's block number, a
// number) or a BANCO of another width is raised as the table's field error before any
// record is read. Sized once from RECCOUNT; never holds unfilled elements.
ArrayRef readBankDirectory(const Value& table);

// Makes "DBFCDX" the default table driver, opens the table `fileName` as a DBSERVER, reads
// the bank directory from it and closes it: the start-up read of the bank table. An error on
// the way shows the caller's line in the call stack.
ArrayRef loadBankDirectory(const std::string& fileName,
                           SourceLocation where = SourceLocation::current());

} // namespace cuentas
