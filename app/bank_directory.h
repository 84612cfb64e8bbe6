#pragma once
// Reading the bank directory from an open table, in table order.

#include "platform/runtime/value.h"

namespace cuentas {

// One {BANCO, NOMBRE} element per record, from the table's current record to its end, the
// code read before the name. Sized once from RECCOUNT; never holds unfilled elements.
ArrayRef readBankDirectory(const Value& table);

} // namespace cuentas
