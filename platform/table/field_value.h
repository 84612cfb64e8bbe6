#pragma once
// The runtime value of a field's stored bytes, by the field's type: numbers (N, F), logic (L)
// and dates (D) are converted; every other type, character fields first, is its stored text.

#include "platform/runtime/value.h"
#include "platform/table/dbf_image.h"

#include <string_view>

namespace cuentas {

// Character fields keep every byte, blanks included. A number field that holds no number
// gives 0, a date field that holds no valid date gives the empty date, and a logic field is
// TRUE only for T, t, Y or y.
Value fieldValue(const DbfField& field, std::string_view bytes);

} // namespace cuentas
