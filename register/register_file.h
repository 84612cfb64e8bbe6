#pragma once
// The one place where the register's file is read, through the table layer's bounded reader.

#include "register/entity_register.h"

#include <string>
#include <variant>

namespace cuentas {

std::variant<DbfImage, RegisterError> readRegisterTable(const std::string& fileName);

} // namespace cuentas
