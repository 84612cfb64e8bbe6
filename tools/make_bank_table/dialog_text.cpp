#include "tools/make_bank_table/dialog_text.h"

#include <set>

namespace cuentas::tools {
namespace {

const std::string& shortNameOf(const Entity& entity) {
    return entity.shortName.empty() ? entity.name : entity.shortName;
}

// How the road begins decides the word: an absorption or a merger is named as such; a new code
// or any other way out of the register only says who holds the accounts today.
std::string holderWords(Reason reason) {
    switch (reason) {
    case Reason::Absorption:
        return "absorbida; hoy ";
    case Reason::Merger:
        return "fusionada; hoy ";
    default:
        return "hoy ";
    }
}

} // namespace

EntityIndex indexByCode(const std::vector<Entity>& entities) {
    EntityIndex index;
    for (const Entity& entity : entities) {
        index.emplace(entity.code, &entity);
    }
    return index;
}

const std::string& nextCode(const Entity& entity) {
    return entity.successor.empty() ? entity.transfer : entity.successor;
}

RoadEnd followRoad(const EntityIndex& index, const Entity& entity) {
    std::set<std::string_view> passed;
    const Entity* at = &entity;
    while (!at->current) {
        if (!passed.insert(at->code).second) {
            return {at, true};
        }
        auto next = index.find(nextCode(*at));
        if (next == index.end()) {
            break;
        }
        at = next->second;
    }
    return {at, false};
}

const Entity* currentHolder(const EntityIndex& index, const Entity& entity) {
    RoadEnd end = followRoad(index, entity);
    return end.last->current ? end.last : nullptr;
}

std::string dialogText(const EntityIndex& index, const Entity& entity) {
    if (entity.current) {
        return entity.name;
    }
    const std::string& name = shortNameOf(entity);
    if (const Entity* holder = currentHolder(index, entity)) {
        return name + " (" + holderWords(entity.reason) + holder->code + " " +
               shortNameOf(*holder) + ")";
    }
    // Absorbed, but the register does not say by whom.
    if (nextCode(entity).empty() && entity.reason == Reason::Absorption) {
        return name + " (absorbida)";
    }
    return name + " (dada de baja)";
}

} // namespace cuentas::tools
