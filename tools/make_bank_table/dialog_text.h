#pragma once
// What the account dialog shows for an entity of the register, and so what the transfer file
// carries: a current entity's legal name; for one that left the register, who holds its
// accounts today. Works on parsed entities only; it never touches a file.

#include "tools/make_bank_table/register_source.h"

#include <functional>
#include <map>
#include <string>

namespace cuentas::tools {

// Entities by code; a code given twice keeps its first entity.
using EntityIndex = std::map<std::string, const Entity*, std::less<>>;
EntityIndex indexByCode(const std::vector<Entity>& entities);

// The next entity on the road of an entity that left the register: the successor the register
// names or, for a savings bank turned foundation, the bank that carries on its business.
// Empty for a current entity and at the end of the road.
const std::string& nextCode(const Entity& entity);

// Where the road of successors that starts at `entity` ends: at a current entity, at one whose
// next code is empty or not in the register, or where it comes back to an entity passed.
struct RoadEnd {
    const Entity* last = nullptr;
    bool loops = false;
};
RoadEnd followRoad(const EntityIndex& index, const Entity& entity);

// The current entity at the end of the road that starts at `entity` (itself when current),
// or nullptr when the road ends at an entity that nobody succeeded, leaves the register or
// comes back on itself.
const Entity* currentHolder(const EntityIndex& index, const Entity& entity);

// The dialog's text, in Windows-1252:
//   "Banco Santander, S.A."                        current: the legal name
//   "Bankia (absorbida; hoy 2100 CaixaBank)"       absorbed; who holds its accounts today
//   "Caja Vizcaína (fusionada; hoy 2095 Kutxabank)" merged into a new entity
//   "Bancaja (hoy 2100 CaixaBank)"                 new code, or left for another reason
//   "J.P. Morgan Bank (absorbida)"                 absorbed, the register names nobody
//   "Banco de Madrid (dada de baja)"               nobody holds its accounts today
// The names inside are the short names where there are any.
std::string dialogText(const EntityIndex& index, const Entity& entity);

} // namespace cuentas::tools
