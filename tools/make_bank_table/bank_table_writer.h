#pragma once
// Lays out the bank table as a dBASE III file image: code page mark Windows-1252, fields
// BANCO C(4) and NOMBRE C(60), one live record per bank in the given order.

#include "tools/make_bank_table/bank_source.h"

#include <string>
#include <vector>

namespace cuentas::tools {

struct UpdateDate {
    int year = 2000; // 1900 to 2155, as one byte counts
    int month = 1;
    int day = 1;
};

std::string bankTableImage(const std::vector<Bank>& banks, UpdateDate updated);

} // namespace cuentas::tools
