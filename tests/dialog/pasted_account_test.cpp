#include "dialog/pasted_account.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

using Action = PastedAccount::Action;

const std::string kUntouched = "\n\nCompruebe el n\xFAmero; no se ha cambiado ning\xFAn campo.";

TEST(PastedAccount, AValidIbanOrCodeAsPeopleWriteItFillsTheFields) {
    const char* const written[] = {
        "ES9121000418450200051332",
        "ES91 2100 0418 4502 0005 1332",
        "es91 2100 0418 4502 0005 1332",
        "IBAN ES91 2100 0418 4502 0005 1332",
        "21000418450200051332",
        "2100-0418-45-0200051332",
        "2100 0418 45 0200051332\r\n",
        "\tES91\xA0"
        "2100\xA0"
        "0418\xA0"
        "4502\xA0"
        "0005\xA0"
        "1332",
        // Soft hyphens, as a page that may break the number leaves in it.
        "2100\xAD"
        "0418\xAD"
        "45\xAD"
        "0200051332",
    };
    for (const char* text : written) {
        const PastedAccount pasted = readPastedAccount(text);
        EXPECT_EQ(pasted.action, Action::Fill) << text;
        EXPECT_EQ(pasted.bank, "2100") << text;
        EXPECT_EQ(pasted.branch, "0418") << text;
        EXPECT_EQ(pasted.account, "0200051332") << text;
        EXPECT_EQ(pasted.message, "") << text;
    }
}

TEST(PastedAccount, AFailingCheckDigitIsRefusedByName) {
    const std::pair<const char*, std::string> cases[] = {
        {"ES92 2100 0418 4502 0005 1332",
         "El IBAN pegado no es v\xE1lido: sus d\xEDgitos de control son 92 y deber\xED"
         "an ser 91."},
        {"2100 0418 55 0200051332",
         "El c\xF3"
         "digo pegado no es v\xE1lido: el primer d\xEDgito de control, el de la entidad y la "
         "oficina, es 5 y deber\xED"
         "a ser 4."},
        {"21000418460200051332",
         "El c\xF3"
         "digo pegado no es v\xE1lido: el segundo d\xEDgito de control, el de la cuenta, es 6 y "
         "deber\xED"
         "a ser 5."},
        {"2100 0418 56 0200051332",
         "El c\xF3"
         "digo pegado no es v\xE1lido: los dos d\xEDgitos de control est\xE1n mal: son 56 y "
         "deber\xED"
         "an ser 45."},
        // The IBAN's own check digits fit a code whose control digit does not.
        {"ES29 2100 0418 4602 0005 1332",
         "El IBAN pegado no es v\xE1lido: el segundo d\xEDgito de control, el de la cuenta, es 6 "
         "y deber\xED"
         "a ser 5."},
        {"ES91 2100 0418 4602 0005 1332",
         "El IBAN pegado no es v\xE1lido: el segundo d\xEDgito de control, el de la cuenta, es 6 "
         "y deber\xED"
         "a ser 5. Tampoco cuadran los d\xEDgitos de control del IBAN."},
    };
    for (const auto& [text, why] : cases) {
        const PastedAccount pasted = readPastedAccount(text);
        EXPECT_EQ(pasted.action, Action::Refuse) << text;
        EXPECT_EQ(pasted.message, why + kUntouched) << text;
        EXPECT_EQ(pasted.bank + pasted.branch + pasted.account, "") << text;
    }
}

TEST(PastedAccount, AnIbanOfAnotherCountryIsRefusedSayingOnlySpanishOnesAreTaken) {
    const std::pair<const char*, const char*> cases[] = {
        {"DE89 3704 0044 0532 0130 00", "DE"},
        {"IBAN GB82 WEST 1234 5698 7654 32", "GB"},
        {"fr7630006000011234567890189", "FR"},
        {"NO93 8601 1117 947", "NO"}, // the shortest there is
    };
    for (const auto& [text, country] : cases) {
        const PastedAccount pasted = readPastedAccount(text);
        EXPECT_EQ(pasted.action, Action::Refuse) << text;
        EXPECT_EQ(pasted.message, std::string("El IBAN pegado es de otro pa\xEDs (") + country +
                                      "): solo se admiten n\xFAmeros de cuenta espa\xF1oles."
                                      "\n\nNo se ha cambiado ning\xFAn campo.")
            << text;
        EXPECT_EQ(pasted.bank + pasted.branch + pasted.account, "") << text;
    }
}

TEST(PastedAccount, WhatIsNoWholeAccountNumberIsLeftToTheEdit) {
    const char* const texts[] = {
        "2100",                           // ordinary digits
        "12345",                          // more than a field holds, still no number
        "2100041845020005133",            // a digit short
        "210004184502000513321",          // a digit over
        "2100 O418 45 0200051332",        // a letter O for a zero
        "Banco Santander",                // letters first, but no IBAN
        "DE89 3704",                      // too short for any IBAN
        "2100 04?8 45 0200051332",        // an unreadable digit, never guessed at here
        "ES91 2100 0418 4502 0005 1332?", // a character the code page lacks
        "",
        "  ",
    };
    for (const char* text : texts) {
        const PastedAccount pasted = readPastedAccount(text);
        EXPECT_EQ(pasted.action, Action::LeaveToEdit) << text;
        EXPECT_EQ(pasted.message, "") << text;
    }
}

} // namespace
} // namespace cuentas
