#pragma once
// Lays out the bank table NomBancos.dbf as a dBASE III file image, code page mark
// Windows-1252, one live record per entry in the given order, with the fields
//   BANCO C(4)  NOMBRE C(70)  ESTADO C(7)  SUCESORA C(4)  BIC C(11)  RAZONSOC C(70).
// It never touches a file.

#include "tools/make_bank_table/register_source.h"

#include <string>
#include <vector>

namespace cuentas::tools {

// One record, texts in Windows-1252; each is blank-padded to its field's width and must not
// be wider.
struct BankRecord {
    std::string code;      // BANCO: four digits
    std::string name;      // NOMBRE: what the dialog shows
    std::string status;    // ESTADO: "vigente" or "baja"
    std::string successor; // SUCESORA: the register's successor code, or blank
    std::string bic;       // BIC, or blank
    std::string legalName; // RAZONSOC
};

std::string bankTableImage(const std::vector<BankRecord>& records, UpdateDate updated);

// The records of a checked register, in its order.
std::vector<BankRecord> bankRecords(const std::vector<Entity>& entities);

} // namespace cuentas::tools
