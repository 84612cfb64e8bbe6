// Pasting into the account dialog through the real clipboard and the paste keys.
#include "platform/os/codepage.h"
#include "tests/dialog/account_dialog_fixture.h"

namespace cuentas::testing {
namespace {

using enum MainDialogId;

class PasteTest : public AccountDialogTest {
protected:
    void paste(MainDialogId into, const char* text) {
        pasteUtf8(into, utf8FromWindows1252(text).c_str());
    }
    // Text as another program puts it on the clipboard, in UTF-8.
    void pasteUtf8(MainDialogId into, const char* text) { driver->paste(idOf(into), text); }
    // Types into the three fields, leaving the focus in the account field.
    void typeFields(const char* bank, const char* branch, const char* account) {
        type(bank);
        tab();
        type(branch);
        tab();
        type(account);
    }
};

TEST_F(PasteTest, AWholeNumberPastedIntoAnyFieldFillsAllThreeAndSavesAsTyped) {
    const char* const texts[] = {
        "ES9121000418450200051332",
        "ES91 2100 0418 4502 0005 1332",
        "es91 2100 0418 4502 0005 1332",
        "2100-0418-45-0200051332",
    };
    for (MainDialogId into : {Banco, Sucursal, Cuenta}) {
        for (const char* text : texts) {
            SCOPED_TRACE(std::string(text) + " into " + std::to_string(static_cast<int>(into)));
            fs::remove(transferPath());
            newDialog();
            const int result = run([&] {
                typeFields("49", "1", "77"); // whatever was there goes
                clickInto(into);
                paste(into, text);
                EXPECT_EQ(this->text(Banco), "2100");
                EXPECT_EQ(this->text(Sucursal), "0418");
                EXPECT_EQ(this->text(Cuenta), "0200051332");
                EXPECT_EQ(caption(Nombre), "CAIXABANK");
                EXPECT_EQ(caption(Dc), "45");
                EXPECT_TRUE(focusIs(into));
                click(Grabar);
            });
            EXPECT_EQ(result, 0);
            EXPECT_EQ(transferFile(), "BANCO=CAIXABANK\r\n20DIGITOS=21000418450200051332");
            EXPECT_TRUE(os.messageBoxes.empty());
        }
    }
}

// Text copied from web pages and documents carries invisible formatting characters: zero-width
// spaces and joiners, direction marks, embeddings and isolates, soft hyphens, a byte-order mark.
TEST_F(PasteTest, InvisibleFormattingCharactersInAPastedNumberAreDropped) {
    const char* const texts[] = {
        "ES91\u200B2100\u200B0418\u200B4502\u200B0005\u200B1332",
        "\u200EES91 2100 0418 4502 0005 1332\u200F",
        "\u202AES91 2100 0418 4502 0005 1332\u202C",
        "\u202B\u202D\u202EES91 2100 0418 4502 0005 1332\u202C",
        "\u2066ES91 2100 0418 4502 0005 1332\u2069",
        "\u2067\u2068ES91 2100 0418 4502 0005 1332\u2069\u2069",
        "\uFEFFES91\u2060 2100\u200C 0418\u200D 4502 0005 1332",
        "2100\u00AD0418\u00AD45\u00AD0200051332",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        newDialog();
        run([&] {
            clickInto(Sucursal);
            pasteUtf8(Sucursal, text);
            EXPECT_EQ(this->text(Banco), "2100");
            EXPECT_EQ(this->text(Sucursal), "0418");
            EXPECT_EQ(this->text(Cuenta), "0200051332");
            EXPECT_EQ(caption(Nombre), "CAIXABANK");
            EXPECT_EQ(caption(Dc), "45");
        });
    }
    EXPECT_TRUE(os.messageBoxes.empty());
}

TEST_F(PasteTest, AnIbanOfAnotherCountryIsRefusedAndTheFieldsStayAsTheyWere) {
    for (MainDialogId into : {Banco, Cuenta}) {
        SCOPED_TRACE(static_cast<int>(into));
        os.messageBoxes.clear();
        newDialog();
        run([&] {
            typeFields("49", "1", "77");
            clickInto(into);
            pasteUtf8(into, "\u200EDE89 3704 0044 0532 0130 00");
            EXPECT_EQ(text(Banco), "0049");
            EXPECT_EQ(text(Sucursal), "1");
            EXPECT_EQ(text(Cuenta), "77");
            EXPECT_EQ(caption(Nombre), "BANCO SANTANDER");
            ASSERT_EQ(os.messageBoxes.size(), 1u);
            EXPECT_EQ(os.messageBoxes[0].text,
                      "El IBAN pegado es de otro pa\xEDs (DE): solo se admiten n\xFAmeros de "
                      "cuenta espa\xF1oles.\n\nNo se ha cambiado ning\xFAn campo.");
            EXPECT_EQ(os.messageBoxes[0].caption, kMainDialogCaption);
            EXPECT_EQ(os.messageBoxes[0].flags, kMessageBoxOk | kMessageBoxIconError);
        });
    }
}

TEST_F(PasteTest, ANumberWithAFailingCheckDigitIsRefusedAndTheFieldsStayAsTheyWere) {
    const std::pair<const char*, std::string> cases[] = {
        {"ES92 2100 0418 4502 0005 1332",
         "El IBAN pegado no es v\xE1lido: sus d\xEDgitos de control son 92 y deber\xED"
         "an ser 91."},
        {"2100 0418 46 0200051332",
         "El c\xF3"
         "digo pegado no es v\xE1lido: el segundo d\xEDgito de control, el de la cuenta, es 6 y "
         "deber\xED"
         "a ser 5."},
    };
    for (MainDialogId into : {Banco, Cuenta}) {
        for (const auto& [text, why] : cases) {
            SCOPED_TRACE(std::string(text) + " into " + std::to_string(static_cast<int>(into)));
            os.messageBoxes.clear();
            newDialog();
            run([&] {
                type("81");
                tab();
                type("1");
                tab();
                type("77");
                // In the bank field, typed and not yet left: no zero-fill, no lookup follows.
                clickInto(Banco);
                driver->selectAll();
                type("49");
                if (into != Banco) {
                    clickInto(into);
                }
                const std::string bank = this->text(Banco);
                paste(into, text);
                EXPECT_EQ(this->text(Banco), bank);
                EXPECT_EQ(this->text(Sucursal), "1");
                EXPECT_EQ(this->text(Cuenta), "77");
                EXPECT_EQ(caption(Nombre), into == Banco ? "BANCO DE SABADELL" : "BANCO SANTANDER");
                ASSERT_EQ(os.messageBoxes.size(), 1u);
                EXPECT_EQ(os.messageBoxes[0].text,
                          why + "\n\nCompruebe el n\xFAmero; no se ha cambiado ning\xFAn campo.");
                EXPECT_EQ(os.messageBoxes[0].caption, kMainDialogCaption);
                EXPECT_EQ(os.messageBoxes[0].flags, kMessageBoxOk | kMessageBoxIconError);
            });
        }
    }
}

TEST_F(PasteTest, OrdinaryDigitsAndOtherTextPasteAsTheyAlwaysDid) {
    struct Case {
        MainDialogId into;
        const char* before;
        const char* pasted;
        const char* after;
    };
    const Case cases[] = {
        {Banco, "", "2100", "2100"},
        {Banco, "2", "100", "2100"},
        {Cuenta, "", "0200051332", "0200051332"},
        {Cuenta, "77", "12a", "77"},
        // Text longer than the field is cut to its length, as a paste always was, when it
        // is not a whole account number.
        {Banco, "", "12345", "1234"},
        {Sucursal, "", "2100 04?8 45 0200051332", "2100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pasted);
        newDialog();
        run([&] {
            clickInto(c.into);
            type(c.before);
            const std::string name = caption(Nombre);
            paste(c.into, c.pasted);
            EXPECT_EQ(text(c.into), c.after);
            // The field was not left, so nothing was looked up.
            EXPECT_EQ(caption(Nombre), name);
            EXPECT_EQ(caption(Dc), "");
        });
    }
    EXPECT_TRUE(os.messageBoxes.empty());
}

} // namespace
} // namespace cuentas::testing
