#pragma once
// The runtime value of a field's stored bytes, by the field's type: numbers (N, F), logic (L)
// and dates (D) are converted; every other type, character fields first, is its stored text.

#include "platform/runtime/value.h"
#include "platform/table/dbf_image.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cuentas {

// Character fields keep every byte, blanks included. A number field that holds no number
// gives 0, a date field that holds no valid date gives the empty date, and a logic field is
// TRUE only for T, t, Y or y.
Value fieldValue(const DbfField& field, std::string_view bytes);
// The same for a field of a record of a table, where a text shares the table's bytes.
Value fieldValue(const DbfImage& table, std::uint32_t record, std::size_t field);

} // namespace cuentas
