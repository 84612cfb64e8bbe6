#include "tools/make_bank_table/register_check.h"

#include "tools/make_bank_table/dialog_text.h"

namespace cuentas::tools {

std::vector<SourceMessage> checkRegister(const std::vector<Entity>& entities) {
    std::vector<SourceMessage> problems;
    const EntityIndex index = indexByCode(entities);
    const Entity* previous = nullptr;
    for (const Entity& entity : entities) {
        auto report = [&](std::string text) { problems.push_back({entity.line, std::move(text)}); };
        const Entity* first = index.at(entity.code);
        if (first != &entity) {
            report("codigo " + entity.code + " already on line " + std::to_string(first->line));
        } else if (previous != nullptr && entity.code < previous->code) {
            report("codigo " + entity.code + " comes after " + previous->code +
                   ": the register goes in code order");
        }
        previous = &entity;
        bool roadKnown = true;
        for (auto [column, code] :
             {std::pair{"sucesora", &entity.successor}, std::pair{"traspaso", &entity.transfer}}) {
            if (code->empty()) {
                continue;
            }
            if (*code == entity.code) {
                report(std::string(column) + " " + *code + " is the entity itself");
                roadKnown = false;
            } else if (!index.contains(*code)) {
                report(std::string(column) + " " + *code + " is not in the register");
                roadKnown = false;
            }
        }
        if (roadKnown && followRoad(index, entity).loops) {
            report("following sucesora from " + entity.code + " comes back to an entity passed");
        }
        std::size_t width = dialogText(index, entity).size();
        if (width > kNameWidth) {
            report("the dialog's text is " + std::to_string(width) + " characters long, more " +
                   "than the " + std::to_string(kNameWidth) + " of NOMBRE");
        }
    }
    return problems;
}

} // namespace cuentas::tools
