#pragma once
// Checks the register as a whole, beyond each line: every code once and in order, every
// successor present, no road of successors that comes back on itself, and every dialog text
// within its field. It never touches a file.

#include "tools/make_bank_table/register_source.h"

#include <vector>

namespace cuentas::tools {

// The problems found, each on the line of the entity concerned, in line order.
std::vector<SourceMessage> checkRegister(const std::vector<Entity>& entities);

} // namespace cuentas::tools
