#include "tools/make_bank_table/register_source.h"

#include <gtest/gtest.h>

#include <array>

namespace cuentas::tools {
namespace {

using Fields = std::array<std::string, 10>;

// An absorbed entity as the register file holds it, in UTF-8.
const Fields kAbsorbed{"0004",
                       "Banco de Andaluc\xC3\xAD"
                       "a, S.A.",
                       "Banco de Andaluc\xC3\xAD"
                       "a",
                       "baja",
                       "absorci\xC3\xB3n",
                       "0075",
                       "",
                       "BANDESSS",
                       "2009-08-13",
                       "una nota"};

std::string join(const Fields& fields) {
    std::string line = fields[0];
    for (std::size_t i = 1; i < fields.size(); ++i) {
        line += "\t" + fields[i];
    }
    return line;
}

Fields with(Fields fields, std::size_t column, std::string value) {
    fields[column] = std::move(value);
    return fields;
}

std::string registerWith(const std::string& line) {
    return "# cabecera\nfecha\t2022-06-16\n" + std::string(kColumns) + "\n" + line + "\n";
}

TEST(RegisterSource, NamesTheProblemOfEachFaultyLine) {
    const Fields current{"0049", "Banco Santander, S.A.", "", "vigente", "", "", "", "", "", ""};
    struct Case {
        std::string line;
        const char* message;
    };
    const Case cases[] = {
        {"0049\tBanco", "10 fields expected, found 2"},
        {join(with(kAbsorbed, 0, "49")), "codigo \"49\" is not 4 digits"},
        {join(with(kAbsorbed, 0, "00A9")), "codigo \"00A9\" is not 4 digits"},
        {join(with(kAbsorbed, 1, "")), "nombre is empty"},
        {join(with(kAbsorbed, 1, " Banco")), "nombre has blanks at its start or end"},
        {join(with(kAbsorbed, 2, "Banco ")), "corto has blanks at its start or end"},
        {join(with(kAbsorbed, 1,
                   "\xC5\x81\xC3\xB3"
                   "d\xC5\xBA")),
         "nombre holds U+0141, which Windows-1252 lacks"},
        {join(with(kAbsorbed, 2, "\xF0\x9F\x8F\xA6")),
         "corto holds U+1F3E6, which Windows-1252 lacks"},
        {join(with(kAbsorbed, 1, "Roto \xC3")), "nombre is not valid UTF-8"},
        {join(with(kAbsorbed, 1, "Campana\x07")), "nombre holds the control character U+0007"},
        {join(with(kAbsorbed, 1, std::string(71, 'x'))),
         "nombre is 71 characters long, more than the 70 of the table"},
        {join(with(kAbsorbed, 3, "activa")), "estado \"activa\" is neither vigente nor baja"},
        {join(with(kAbsorbed, 4, "")),
         "motivo \"\" is none of absorci\xC3\xB3n, fusi\xC3\xB3n, nuevo c\xC3\xB3"
         "digo, baja"},
        {join(with(kAbsorbed, 4, "quiebra")),
         "motivo \"quiebra\" is none of absorci\xC3\xB3n, fusi\xC3\xB3n, nuevo c\xC3\xB3"
         "digo, baja"},
        {join(with(kAbsorbed, 5, "75")), "sucesora \"75\" is not 4 digits"},
        {join(with(kAbsorbed, 6, "2038")), "traspaso is only for an entity without sucesora"},
        {join(with(with(kAbsorbed, 5, ""), 6, "20 38")), "traspaso \"20 38\" is not 4 digits"},
        {join(with(kAbsorbed, 7, "BANDES")),
         "bic \"BANDES\" is not a BIC of 8 or 11 letters and digits"},
        {join(with(kAbsorbed, 7, "BANDESSS1")),
         "bic \"BANDESSS1\" is not a BIC of 8 or 11 letters and digits"},
        {join(with(kAbsorbed, 7, "bandesss")),
         "bic \"bandesss\" is not a BIC of 8 or 11 letters and digits"},
        {join(with(kAbsorbed, 7, "BAND3SSS")),
         "bic \"BAND3SSS\" is not a BIC of 8 or 11 letters and digits"},
        {join(with(kAbsorbed, 8, "2009-02-30")), "baja \"2009-02-30\" is not a date YYYY-MM-DD"},
        {join(with(kAbsorbed, 8, "13/08/2009")), "baja \"13/08/2009\" is not a date YYYY-MM-DD"},
        {join(with(current, 4, "baja")),
         "a current entity has no motivo, sucesora, traspaso or baja"},
        {join(with(current, 5, "0075")),
         "a current entity has no motivo, sucesora, traspaso or baja"},
        {join(with(current, 6, "0075")),
         "a current entity has no motivo, sucesora, traspaso or baja"},
        {join(with(current, 8, "2009-08-13")),
         "a current entity has no motivo, sucesora, traspaso or baja"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Register parsed = parseRegister(registerWith(c.line));
        ASSERT_EQ(parsed.errors.size(), 1u);
        EXPECT_EQ(parsed.errors[0].line, 4);
        EXPECT_EQ(parsed.errors[0].text, c.message);
        EXPECT_TRUE(parsed.entities.empty());
    }
}

TEST(RegisterSource, ReadsEveryColumnAndTurnsTextsIntoWindows1252) {
    // 70 characters, 140 bytes of UTF-8: it fits, since the field counts Windows-1252 bytes.
    std::string enes;
    for (int i = 0; i < 70; ++i) {
        enes += "\xC3\x91";
    }
    const std::string text = "\xEF\xBB\xBF# registro\r\n"
                             "\r\n"
                             "fecha\t2022-06-16\r\n" +
                             std::string(kColumns) + "\r\n" + join(kAbsorbed) + "\r\n" +
                             "  # comentario con sangr\xC3\xAD"
                             "a\n" +
                             "2100\tCaixa d\xE2\x80\x99"
                             "Estalvis \xE2\x82\xAC\tCaixa\tvigente\t\t\t\t"
                             "CAIXESBB\t\t\n" +
                             "2402\t" + enes + "\t\tbaja\tbaja\t\t2038\t\t2012-12-14\t\n";
    Register parsed = parseRegister(text);
    EXPECT_TRUE(parsed.errors.empty());
    EXPECT_EQ(parsed.date, (UpdateDate{2022, 6, 16}));
    ASSERT_EQ(parsed.entities.size(), 3u);

    const Entity& absorbed = parsed.entities[0];
    EXPECT_EQ(absorbed.line, 5);
    EXPECT_EQ(absorbed.code, "0004");
    EXPECT_EQ(absorbed.name, "Banco de Andaluc\xED"
                             "a, S.A.");
    EXPECT_EQ(absorbed.shortName, "Banco de Andaluc\xED"
                                  "a");
    EXPECT_FALSE(absorbed.current);
    EXPECT_EQ(absorbed.reason, Reason::Absorption);
    EXPECT_EQ(absorbed.successor, "0075");
    EXPECT_EQ(absorbed.transfer, "");
    EXPECT_EQ(absorbed.bic, "BANDESSS");
    EXPECT_EQ(absorbed.deregistered, "2009-08-13");

    const Entity& current = parsed.entities[1];
    EXPECT_EQ(current.line, 7);
    EXPECT_EQ(current.name, "Caixa d\x92"
                            "Estalvis \x80");
    EXPECT_TRUE(current.current);
    EXPECT_EQ(current.reason, Reason::None);

    const Entity& foundation = parsed.entities[2];
    EXPECT_EQ(foundation.name, std::string(70, '\xD1'));
    EXPECT_EQ(foundation.shortName, "");
    EXPECT_EQ(foundation.reason, Reason::Deregistration);
    EXPECT_EQ(foundation.transfer, "2038");
}

TEST(RegisterSource, EveryReasonHasItsWord) {
    const std::pair<const char*, Reason> words[] = {
        {"absorci\xC3\xB3n", Reason::Absorption},
        {"fusi\xC3\xB3n", Reason::Merger},
        {"nuevo c\xC3\xB3"
         "digo",
         Reason::NewCode},
        {"baja", Reason::Deregistration},
    };
    for (const auto& [word, reason] : words) {
        Register parsed = parseRegister(registerWith(join(with(kAbsorbed, 4, word))));
        ASSERT_EQ(parsed.entities.size(), 1u) << word;
        EXPECT_EQ(parsed.entities[0].reason, reason) << word;
    }
}

TEST(RegisterSource, TheDateAndTheColumnLineComeFirst) {
    struct Case {
        std::string text;
        int line;
        const char* message;
    };
    const std::string columns(kColumns);
    const Case cases[] = {
        {"# solo comentarios\n" + columns + "\n", 2, "the first line must be fecha<TAB>YYYY-MM-DD"},
        {"fecha\t2022-02-30\n", 1, "fecha \"2022-02-30\" is not a date YYYY-MM-DD"},
        {"fecha\t2022-06-16\n" + join(kAbsorbed) + "\n", 2,
         "the column line must follow the date: codigo, nombre, corto, estado, motivo, sucesora, "
         "traspaso, bic, baja, nota"},
        {"fecha\t2022-06-16\n\n", 2, "the register ends before its column line"},
        {"# nada\n", 1, "the register ends before its date"},
        {"", 0, "the register ends before its date"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Register parsed = parseRegister(c.text);
        ASSERT_EQ(parsed.errors.size(), 1u);
        EXPECT_EQ(parsed.errors[0].line, c.line);
        EXPECT_EQ(parsed.errors[0].text, c.message);
    }
}

TEST(RegisterSource, ReportsEveryFaultyLineAndKeepsTheRest) {
    Register parsed = parseRegister(registerWith(join(kAbsorbed) + "\n12\tX\n" +
                                                 join(with(kAbsorbed, 0, "0005")) + "\nsin tab"));
    ASSERT_EQ(parsed.errors.size(), 2u);
    EXPECT_EQ(parsed.errors[0].line, 5);
    EXPECT_EQ(parsed.errors[1].line, 7);
    ASSERT_EQ(parsed.entities.size(), 2u);
    EXPECT_EQ(parsed.entities[1].code, "0005");
}

TEST(RegisterSource, DatesAreCalendarDaysTheTableCanHold) {
    const std::pair<const char*, bool> dates[] = {
        {"2024-02-29", true},  {"2000-02-29", true},  {"2023-02-29", false}, {"1900-02-29", false},
        {"1900-01-01", true},  {"1899-12-31", false}, {"2155-12-31", true},  {"2156-01-01", false},
        {"2022-04-31", false}, {"2022-00-10", false}, {"2022-6-16", false},  {"2022-06-16 ", false},
    };
    for (const auto& [text, valid] : dates) {
        EXPECT_EQ(parseDate(text).has_value(), valid) << text;
    }
    EXPECT_EQ(parseDate("2022-06-16"), (UpdateDate{2022, 6, 16}));
}

} // namespace
} // namespace cuentas::tools
