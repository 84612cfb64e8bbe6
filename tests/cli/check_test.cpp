// `check` as users run it: one line per number on standard output, the exit status.
#include "tests/cli/cli_process.h"

namespace cuentas::testing {
namespace {

struct Case {
    const char* number;
    const char* line; // what follows "NUMBER: "
    int exitStatus;
};

void expectChecks(const CliTest& test, const std::vector<Case>& cases, const char* lang) {
    for (const Case& c : cases) {
        const CliOutcome outcome = test.run({"check", c.number}, {}, {lang});
        EXPECT_EQ(outcome.out, std::string(c.number) + ": " + c.line + "\n") << c.number;
        EXPECT_EQ(outcome.err, "") << c.number;
        EXPECT_EQ(outcome.exitStatus, c.exitStatus) << c.number;
    }
}

// The operator's view of a test fixture.
class Check : public CliTest {};

TEST_F(Check, SaysValidOrWhatIsWrongAndWhere) {
    expectChecks(
        *this,
        {
            {"21000418450200051332", "valid (CaixaBank, S.A.)", 0},
            {"ES91 2100 0418 4502 0005 1332", "valid (CaixaBank, S.A.)", 0},
            {"iban es91-2100-0418-4502-0005-1332", "valid (CaixaBank, S.A.)", 0},
            {"", "no number", 1},
            {"2100 0418 45 020005133", "19 digits given, 20 expected", 1},
            {"2", "1 digit given, 20 expected", 1},
            {"ES91 2100 0418 4502 0005 133", "23 characters given, a Spanish IBAN has 24", 1},
            {"2100 0418 45 02000513x2", "character 'x' at position 22 is not a digit", 1},
            // Positions count characters, not bytes; a byte that is no UTF-8 shows as itself.
            {"21\xF1"
             "0",
             "character 0xF1 (not UTF-8) at position 3 is not a digit", 1},
            {"DE89 3704 0044 0532 0130 00", "not a Spanish IBAN: it begins with DE, not ES", 1},
            {"2100 0418 55 0200051332",
             "the first control digit (over bank and branch) is 5, it should be 4", 1},
            {"2100 0418 46 0200051332",
             "the second control digit (over the account) is 6, it should be 5", 1},
            {"2100 0418 54 0200051332", "both control digits are wrong: 54, they should be 45", 1},
            {"ES91 2100 0418 4602 0005 1332",
             "the second control digit (over the account) fails, and the IBAN check digits "
             "fail too; one change away, this number passes every check: ES91 2100 0418 4502 "
             "0005 1332 (CaixaBank, S.A.), 5 for the 6 at position 17",
             1},
            {"ES90 2100 0418 4502 0005 1332", "the IBAN check digits are 90, they should be 91", 1},
        },
        "LANG=en_US.UTF-8");
}

TEST_F(Check, ACharacterOutsidePrintableAsciiIsShownByCodePointAndName) {
    // Each would pass for a blank, a hyphen or nothing at all if shown as it is.
    expectChecks(
        *this,
        {
            {"2100\xC2\xA0"
             "0418450200051332",
             "character U+00A0 no-break space at position 5 is not a digit", 1},
            {"2100\xE2\x80\x8B"
             "0418450200051332",
             "character U+200B zero-width space at position 5 is not a digit", 1},
            {"\xEF\xBB\xBF"
             "21000418450200051332",
             "character U+FEFF byte-order mark at position 1 is not a digit", 1},
            {"2100\xC2\xAD"
             "0418450200051332",
             "character U+00AD soft hyphen at position 5 is not a digit", 1},
            {"2100\xE2\x80\x93"
             "0418450200051332",
             "character U+2013 en dash at position 5 is not a digit", 1},
            {"2100\t0418", "character U+0009 tab at position 5 is not a digit", 1},
            {"2100\x7F", "character U+007F control character at position 5 is not a digit", 1},
            {"2100\xEF\xBC\x90"
             "418450200051332",
             "character U+FF10 fullwidth digit 0 at position 5 is not a digit", 1},
            {"2100\xE2\x81\xA3"
             "418450200051332",
             "character U+2063 invisible character at position 5 is not a digit", 1},
            // A character that shows itself keeps its glyph beside its code point.
            {"2100 0418 45 020005\xC3\xB1"
             "332",
             "character U+00F1 '\xC3\xB1' at position 20 is not a digit", 1},
        },
        "LANG=en_US.UTF-8");
    expectChecks(
        *this,
        {{"2100\xC2\xA0"
          "0418450200051332",
          "el car\xC3\xA1"
          "cter U+00A0 (espacio de no separaci\xC3\xB3n) de la posici\xC3\xB3n 5 no es una "
          "cifra",
          1}},
        "LANG=es_ES.UTF-8");
    const CliOutcome parts = run({"digits", "2100",
                                  "04\xE2\x80\x8B"
                                  "8",
                                  "0200051332"});
    EXPECT_EQ(parts.err, "cuentas-cli: 2100 04\xE2\x80\x8B"
                         "8 0200051332: character U+200B zero-width space at position 3 of the "
                         "branch code is not a digit\n");
}

TEST_F(Check, TheWordIbanAndAnUnreadableCountrySayWhatTheyAre) {
    expectChecks(
        *this,
        {
            {"IBAN", "only the word IBAN, no number after it", 1},
            {"IBANES9121000418450200051332",
             "the word IBAN runs into the number: put a blank or a colon after it", 1},
            {"E?9121000418450200051332",
             "the country code 'E?' holds a '?', which stands only for an unreadable digit; a "
             "Spanish IBAN begins with ES",
             1},
            {"?S91 2100 0418 4502 0005 1332",
             "the country code '?S' holds a '?', which stands only for an unreadable digit; a "
             "Spanish IBAN begins with ES",
             1},
            // A country of its own is still named as one.
            {"IB91 2100 0418 4502 0005 1332", "not a Spanish IBAN: it begins with IB, not ES", 1},
        },
        "LANG=en_US.UTF-8");
}

TEST_F(Check, NamesTheNumbersOneTypoAwayThatPassEveryCheck) {
    expectChecks(
        *this,
        {
            // As filed: the 20 digits pass, the IBAN check digits do not; the check digits
            // that fit the digits as typed (79) would make another valid account.
            {"ES9121000418405200051332",
             "the IBAN check digits do not fit the digits; one change away, this number passes "
             "every check: ES91 2100 0418 4502 0005 1332 (CaixaBank, S.A.), the 0 and 5 at "
             "positions 14 and 15 swapped",
             1},
            {"ES91 2100 0518 4502 0005 1332",
             "the first control digit (over bank and branch) fails, and the IBAN check digits "
             "fail too; one change away, these 2 numbers pass every check: ES91 2100 0418 4502 "
             "0005 1332 (CaixaBank, S.A.), 4 for the 5 at position 12; ES91 2100 0515 4502 0005 "
             "1332 (CaixaBank, S.A.), 5 for the 8 at position 14",
             1},
            // The check digits alone, when nothing else fits.
            {"ES90 2100 0418 4502 0005 1332", "the IBAN check digits are 90, they should be 91", 1},
            // A code: the candidates grouped by the part they change, where they are few; a
            // bank code outside the register rules one out.
            {"22000418450200051332",
             "the first control digit (over bank and branch) fails; one change away, this "
             "number passes every check: in the bank code: 2100 0418 45 0200051332 (CaixaBank, "
             "S.A.)",
             1},
            {"2100 0418 46 0200051332",
             "the second control digit (over the account) is 6, it should be 5", 1},
        },
        "LANG=en_US.UTF-8");
    expectChecks(*this,
                 {{"ES9121000418405200051332",
                   "los d\xC3\xADgitos de control del IBAN no cuadran con las cifras; a un cambio "
                   "de distancia, este n\xC3\xBAmero pasa todas las comprobaciones: ES91 2100 0418 "
                   "4502 0005 1332 (CaixaBank, S.A.), el 0 y el 5 de las posiciones 14 y 15 "
                   "intercambiados",
                   1}},
                 "LANG=es_ES.UTF-8");
    const CliOutcome json = run({"check", "--json", "IBAN ES91 2100 0518 4502 0005 1332"});
    EXPECT_NE(json.out.find(
                  "\"candidates\":[{\"number\":\"ES9121000418450200051332\",\"entity\":"
                  "\"CaixaBank, S.A.\",\"change\":\"digit\",\"positions\":[17],\"written\":"
                  "\"5\",\"becomes\":\"4\"},{\"number\":\"ES9121000515450200051332\",\"entity\":"
                  "\"CaixaBank, S.A.\",\"change\":\"digit\",\"positions\":[19],\"written\":"
                  "\"8\",\"becomes\":\"5\"}],"),
              std::string::npos)
        << json.out;
}

TEST_F(Check, RecoversAnUnreadableDigitOrSaysWhyNot) {
    expectChecks(
        *this,
        {
            {"2100 04?8 45 0200051332",
             "recovered as 2100 0418 45 0200051332 with 1 at position 8 (CaixaBank, S.A.)", 0},
            {"ES?1 2100 0418 4502 0005 1332",
             "recovered as ES91 2100 0418 4502 0005 1332 with 9 at position 3 (CaixaBank, S.A.)",
             0},
            {"2100 04?? 45 0200051332",
             "9 numbers fit the unreadable digits; the check digits cannot tell which", 1},
            {"21000?18650200051332",
             "no digit fits the unreadable place; another digit must be wrong", 1},
            {"2??? ??18 45 0200051332", "5 unreadable digits are too many to recover", 1},
        },
        "LANG=en_US.UTF-8");
}

TEST_F(Check, WarnsAboutTheEntityAndFailsAnUnknownOneOnlyWhenStrict) {
    // Numbers made valid for each entity code of the sample register.
    expectChecks(
        *this,
        {
            {"99990000100000000000", "valid; warning: entity 9999 is not in the register", 0},
            {"00300000700000000000",
             "valid (Banco Espa\xC3\xB1ol de Cr\xC3\xA9"
             "dito, S.A.); warning: entity "
             "0030 Banco Espa\xC3\xB1ol de Cr\xC3\xA9"
             "dito, S.A. was absorbed by 0049 "
             "Banco Santander, S.A.",
             0},
            {"04870000100000000000",
             "valid (Banco Mare Nostrum, S.A.); warning: entity 0487 Banco Mare Nostrum, "
             "S.A. was absorbed by 2038 Bankia, S.A., today 2100 CaixaBank, S.A.",
             0},
            {"12340000200000000000",
             "valid (Entidad Cerrada, S.A.); warning: entity 1234 Entidad Cerrada, S.A. "
             "is no longer active",
             0},
        },
        "LANG=en_US.UTF-8");
    const CliOutcome strict =
        run({"--strict", "check", "99990000100000000000", "21000418450200051332"});
    EXPECT_EQ(strict.out, "99990000100000000000: entity 9999 is not in the register\n"
                          "21000418450200051332: valid (CaixaBank, S.A.)\n");
    EXPECT_EQ(strict.exitStatus, 1);
}

TEST_F(Check, SpeaksSpanishWhenTheLocaleIsSpanish) {
    expectChecks(
        *this,
        {
            {"21000418450200051332", "v\xC3\xA1lido (CaixaBank, S.A.)", 0},
            {"2100 0418 45 020005133", "19 cifras, se esperan 20", 1},
            {"2100 O418 45 0200051332",
             "el car\xC3\xA1"
             "cter \xC2\xABO\xC2\xBB de la posici\xC3\xB3n 6 no es una cifra",
             1},
            {"2100 0418 55 0200051332",
             "el primer d\xC3\xADgito de control (de entidad y oficina) es 5, deber\xC3\xAD"
             "a ser 4",
             1},
            {"2100 04?8 45 0200051332",
             "recuperado como 2100 0418 45 0200051332 con 1 en la posici\xC3\xB3n 8 (CaixaBank, "
             "S.A.)",
             0},
            {"99990000100000000000",
             "v\xC3\xA1lido; aviso: la entidad 9999 no figura en el registro", 0},
        },
        "LANG=es_ES.UTF-8");
}

TEST_F(Check, TheFirstLocaleVariableThatIsSetChoosesTheLanguage) {
    struct Locale {
        std::vector<std::string> environment;
        const char* valid;
    };
    const Locale locales[] = {
        {{"LC_ALL=es_ES.UTF-8", "LANG=en_US.UTF-8"}, "v\xC3\xA1lido"},
        {{"LC_ALL=C", "LC_MESSAGES=es_ES.UTF-8"}, "valid"},
        {{"LC_ALL=", "LC_MESSAGES=es", "LANG=en_GB.UTF-8"}, "v\xC3\xA1lido"},
        {{"LC_MESSAGES=en_US.UTF-8", "LANG=es_ES.UTF-8"}, "valid"},
        {{"LANG=es_AR.UTF-8"}, "v\xC3\xA1lido"},
        {{"LANG=est_EE.UTF-8"}, "valid"}, // "es" only as a whole language code
        {{}, "valid"},
    };
    for (const Locale& locale : locales) {
        const CliOutcome outcome = run({"check", "21000418450200051332"}, {}, locale.environment);
        EXPECT_EQ(outcome.out,
                  "21000418450200051332: " + std::string(locale.valid) + " (CaixaBank, S.A.)\n")
            << ::testing::PrintToString(locale.environment);
    }
}

TEST_F(Check, ExitStatusIsOneWhenAnyNumberOfManyFails) {
    EXPECT_EQ(run({"check", "21000418450200051332", "ES9121000418450200051332"}).exitStatus, 0);
    EXPECT_EQ(run({"check", "21000418450200051332", "2100"}).exitStatus, 1);
}

} // namespace
} // namespace cuentas::testing
