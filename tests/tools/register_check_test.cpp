#include "tools/make_bank_table/dialog_text.h"
#include "tools/make_bank_table/register_check.h"

#include <gtest/gtest.h>

namespace cuentas::tools {
namespace {

Entity current(std::string code, std::string name, std::string shortName = "") {
    Entity e;
    e.code = std::move(code);
    e.name = std::move(name);
    e.shortName = std::move(shortName);
    return e;
}

Entity leftBy(Reason reason, std::string code, std::string name, std::string successor,
              std::string transfer = "") {
    Entity e = current(std::move(code), name + ", S.A.", name);
    e.current = false;
    e.reason = reason;
    e.successor = std::move(successor);
    e.transfer = std::move(transfer);
    return e;
}

// Numbers the lines in order, from 10.
std::vector<Entity> numbered(std::vector<Entity> entities) {
    int line = 10;
    for (Entity& e : entities) {
        e.line = line++;
    }
    return entities;
}

std::vector<std::string> texts(const std::vector<SourceMessage>& messages) {
    std::vector<std::string> out;
    for (const SourceMessage& m : messages) {
        out.push_back(std::to_string(m.line) + ": " + m.text);
    }
    return out;
}

TEST(RegisterCheck, ASoundRegisterPasses) {
    auto entities = numbered({
        leftBy(Reason::Absorption, "0004",
               "Banco de Andaluc\xED"
               "a",
               "0075"),
        current("0049", "Banco Santander, S.A.", "Santander"),
        leftBy(Reason::Absorption, "0075", "Banco Popular", "0049"),
        leftBy(Reason::Deregistration, "0122",
               "Citibank Espa\xF1"
               "a",
               ""),
        leftBy(Reason::Deregistration, "0156", "Royal Bank of Scotland", ""),
        leftBy(Reason::NewCode, "1477", "RBS", "0156"),
    });
    EXPECT_TRUE(checkRegister(entities).empty());
}

TEST(RegisterCheck, FindsEveryFaultOfTheWhole) {
    Entity wide = current("2100", std::string(28, 'x'));
    Entity absorbedByWide = leftBy(Reason::Absorption, "2200", std::string(30, 'y'), "2100");
    absorbedByWide.shortName = std::string(20, 'y');
    auto entities = numbered({
        current("0049", "Banco Santander, S.A."),
        current("0030", "Banesto"),
        current("0049", "Otro 0049"),
        leftBy(Reason::Absorption, "0072", "Banco Pastor", "0238"),
        leftBy(Reason::Absorption, "0073", "Uno", "0073"),
        leftBy(Reason::Deregistration, "0074", "Fundaci\xF3n", "", "0999"),
        leftBy(Reason::Absorption, "0080", "A", "0081"),
        leftBy(Reason::Absorption, "0081", "B", "0082"),
        leftBy(Reason::Merger, "0082", "C", "0080"),
        wide,
        absorbedByWide,
    });
    EXPECT_EQ(texts(checkRegister(entities)),
              (std::vector<std::string>{
                  "11: codigo 0030 comes after 0049: the register goes in code order",
                  "12: codigo 0049 already on line 10",
                  "13: sucesora 0238 is not in the register",
                  "14: sucesora 0073 is the entity itself",
                  "15: traspaso 0999 is not in the register",
                  "16: following sucesora from 0080 comes back to an entity passed",
                  "17: following sucesora from 0081 comes back to an entity passed",
                  "18: following sucesora from 0082 comes back to an entity passed",
                  "20: the dialog's text is 71 characters long, more than the 70 of NOMBRE",
              }));
}

TEST(DialogText, SaysWhoHoldsTheAccountsToday) {
    auto entities = numbered({
        current("0049", "Banco Santander, S.A.", "Santander"),
        leftBy(Reason::Absorption, "0075", "Banco Popular", "0049"),
        leftBy(Reason::Absorption, "0004",
               "Banco de Andaluc\xED"
               "a",
               "0075"),
        leftBy(Reason::NewCode, "0016", "Banco Central Hispanoamericano", "0049"),
        current("0182", "Banco Bilbao Vizcaya Argentaria, S.A."),
        leftBy(Reason::Merger, "0102", "Banco de Vizcaya", "0182"),
        current("2100", "CaixaBank, S.A.", "CaixaBank"),
        leftBy(Reason::Absorption, "2038", "Bankia", "2100"),
        leftBy(Reason::Deregistration, "2402", "Caja Madrid", "", "2038"),
        leftBy(Reason::NewCode, "2077", "Bancaja", "2403"),
        leftBy(Reason::Deregistration, "2403", "Bancaja", "", "2038"),
        leftBy(Reason::Absorption, "0222", "J.P. Morgan Bank", ""),
        leftBy(Reason::Deregistration, "0122",
               "Citibank Espa\xF1"
               "a",
               ""),
        leftBy(Reason::Absorption, "0214", "Arab Bank", "1505"),
        leftBy(Reason::Deregistration, "1505", "Europe Arab Bank", ""),
        leftBy(Reason::Absorption, "0080", "A", "0081"),
        leftBy(Reason::Absorption, "0081", "B", "0080"),
    });
    entities.push_back(leftBy(Reason::Absorption, "0001", "Sin nombre breve", "0182"));
    entities.back().shortName.clear();
    const EntityIndex index = indexByCode(entities);
    const std::pair<const char*, const char*> cases[] = {
        {"0049", "Banco Santander, S.A."},
        {"0075", "Banco Popular (absorbida; hoy 0049 Santander)"},
        {"0004", "Banco de Andaluc\xED"
                 "a (absorbida; hoy 0049 Santander)"},
        {"0016", "Banco Central Hispanoamericano (hoy 0049 Santander)"},
        {"0102", "Banco de Vizcaya (fusionada; hoy 0182 Banco Bilbao Vizcaya Argentaria, S.A.)"},
        {"2038", "Bankia (absorbida; hoy 2100 CaixaBank)"},
        {"2402", "Caja Madrid (hoy 2100 CaixaBank)"},
        {"2077", "Bancaja (hoy 2100 CaixaBank)"},
        {"0222", "J.P. Morgan Bank (absorbida)"},
        {"0122", "Citibank Espa\xF1"
                 "a (dada de baja)"},
        {"0214", "Arab Bank (dada de baja)"},
        {"0080", "A (dada de baja)"},
        {"0001", "Sin nombre breve, S.A. (absorbida; hoy 0182 Banco Bilbao Vizcaya Argentaria, "
                 "S.A.)"},
    };
    for (const auto& [code, text] : cases) {
        EXPECT_EQ(dialogText(index, *index.at(code)), text) << code;
    }
    EXPECT_EQ(currentHolder(index, *index.at("0004")), index.at("0049"));
    EXPECT_EQ(currentHolder(index, *index.at("0049")), index.at("0049"));
    EXPECT_EQ(currentHolder(index, *index.at("0081")), nullptr);
}

} // namespace
} // namespace cuentas::tools
