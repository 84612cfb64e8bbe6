// The bank table the program ships, as a clerk meets it: codes typed into the real dialog,
// whose bank directory is read from build/data/NomBancos.dbf the way start-up reads it.
#include "app/app.h"
#include "app/bank_directory.h"
#include "platform/os/os.h"
#include "platform/runtime/runtime.h"
#include "platform/runtime/text.h"
#include "platform/table/db_server.h"
#include "platform/table/dbf_image.h"
#include "tests/dialog/qt/qt_account_dialog_fixture.h"

#include <QFontMetrics>

#include <iostream>

namespace cuentas::testing {
namespace {

using enum MainDialogId;

// The directory START would build from the bundled table, read once.
Value bundledDirectory() {
    static const Value directory = [] {
        declareAllClasses();
        const fs::path dir =
            fs::temp_directory_path() / ("cuentas-bundled-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        fs::copy_file(CUENTAS_BUNDLED_TABLE, dir / "NomBancos.dbf",
                      fs::copy_options::overwrite_existing);
        const fs::path previous = fs::current_path();
        fs::current_path(dir);
        RddSetDefault("DBFCDX");
        Value fileName("NomBancos.dbf");
        Value table(CreateInstance(Symbol::intern("DBSERVER"), Arguments(&fileName, 1)));
        Value read(readBankDirectory(table));
        Send(table, Symbol::intern("CLOSE"));
        fs::current_path(previous);
        fs::remove_all(dir);
        return read;
    }();
    return directory;
}

class BundledRegisterTest : public QtAccountDialogTest {
protected:
    void SetUp() override {
        QtAccountDialogTest::SetUp();
        bankDirectory() = bundledDirectory();
    }

    // What the name display shows after the code is typed and the field left.
    std::string shownFor(const char* code) {
        newDialog();
        std::string shown;
        run([&] {
            type(code);
            tab();
            shown = caption(Nombre);
        });
        return shown;
    }
};

TEST_F(BundledRegisterTest, WellKnownCodesShowTheirEntityOrWhoHoldsItsAccountsToday) {
    ASSERT_GT(ALen(bankDirectory()), 800u);
    const std::pair<const char*, const char*> codes[] = {
        // Current entities: the legal name.
        {"49", "Banco Santander, S.A."},
        {"0081", "Banco de Sabadell, S.A."},
        {"0128", "Bankinter, S.A."},
        {"0182", "Banco Bilbao Vizcaya Argentaria, S.A."},
        {"2100", "CaixaBank, S.A."},
        {"2080", "Abanca Corporaci\xF3n Bancaria, S.A."},
        {"2103", "Unicaja Banco, S.A."},
        {"0073", "Open Bank, S.A."},
        {"0229", "WiZink Bank, S.A."},
        {"1465", "ING Bank, N.V., Sucursal en Espa\xF1"
                 "a"},
        {"0149", "BNP Paribas S.A., Sucursal en Espa\xF1"
                 "a"},
        {"1563", "N26 Bank GmbH, Sucursal en Espa\xF1"
                 "a"},
        {"1583", "Revolut Bank UAB, Sucursal en Espa\xF1"
                 "a"},
        {"1586", "Trade Republic Bank GmbH, Sucursal en Espa\xF1"
                 "a"},
        {"3058", "Cajamar Caja Rural, S.C.C."},
        {"3060", "Caja Rural de Burgos, Fuentepelayo, Segovia y Castelldans, S.C.C."},
        {"3067", "Caja Rural de Ja\xE9n, Barcelona y Madrid, S.C.C."},
        {"3081", "Eurocaja Rural, Sociedad Cooperativa de Cr\xE9"
                 "dito"},
        {"9000", "Banco de Espa\xF1"
                 "a"},
        // Absorbed or merged: who holds the accounts today.
        {"2038", "Bankia (absorbida; hoy 2100 CaixaBank)"},
        {"0075", "Banco Popular (absorbida; hoy 0049 Santander)"},
        {"0072", "Banco Pastor (absorbida; hoy 0049 Santander)"},
        {"0238", "Banco Pastor (absorbida; hoy 0049 Santander)"},
        {"0030", "Banesto (absorbida; hoy 0049 Santander)"},
        {"0004", "Banco de Andaluc\xED"
                 "a (absorbida; hoy 0049 Santander)"},
        {"0487", "Banco Mare Nostrum (absorbida; hoy 2100 CaixaBank)"},
        {"0239", "EVO Banco (absorbida; hoy 0128 Bankinter)"},
        {"0216", "Targobank (absorbida; hoy 2080 Abanca)"},
        {"2090", "Banco CAM (absorbida; hoy 0081 Sabadell)"},
        {"2105", "Banco CCM (absorbida; hoy 2103 Unicaja)"},
        {"2013", "Catalunya Banc (absorbida; hoy 0182 BBVA)"},
        {"2048", "Liberbank (absorbida; hoy 2103 Unicaja)"},
        {"2016", "Caja Vizca\xEDna (fusionada; hoy 2095 Kutxabank)"},
        // A new code, or a savings bank that passed its business on: only who holds it today.
        {"0016", "Banco Central Hispanoamericano (hoy 0049 Santander)"},
        {"2077", "Bancaja (hoy 2100 CaixaBank)"},
        {"2402", "Caja Madrid (hoy 2100 CaixaBank)"},
        // Nobody holds the accounts today, or the register does not say who absorbed it.
        {"0122", "Citibank Espa\xF1"
                 "a (dada de baja)"},
        {"0059", "Banco de Madrid (dada de baja)"},
        {"0222", "J.P. Morgan Bank (absorbida)"},
        // Codes no entity ever had.
        {"1234", "Inexistente"},
        {"", "Inexistente"},
    };
    for (const auto& [code, shown] : codes) {
        EXPECT_EQ(shownFor(code), shown) << code;
    }
}

TEST_F(BundledRegisterTest, GrabarWritesWhatTheDialogShowsForAnAbsorbedEntity) {
    run([&] {
        type("2038");
        tab();
        type("1");
        tab();
        type("77");
        click(Grabar);
    });
    EXPECT_EQ(transferFile(),
              "BANCO=Bankia (absorbida; hoy 2100 CaixaBank)\r\n20DIGITOS=20380001130000000077");
}

TEST_F(BundledRegisterTest, EveryAbsorbedEntitysTextFitsTheNameDisplayUncut) {
    auto bytes = MemoRead(CUENTAS_BUNDLED_TABLE);
    ASSERT_TRUE(bytes.has_value());
    DbfResult<DbfImage> parsed = DbfImage::parse(std::move(*bytes));
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const DbfImage& table = parsed.value();
    const std::size_t nombre = table.characterField("NOMBRE").value();
    const std::size_t estado = table.characterField("ESTADO").value();
    int currentCut = 0;
    run([&] {
        const QLabel* display = label(Nombre);
        const QFontMetrics metrics(display->font());
        // Half an 'x' of air on either side, as a framed label keeps from its frame.
        const int width = display->contentsRect().width() - metrics.horizontalAdvance(u'x');
        const int flags = Qt::AlignHCenter | Qt::TextWordWrap;
        const int oneLine = metrics.boundingRect(QRect(0, 0, width, 1000), flags, "X").height();
        for (std::uint32_t record = 0; record < table.recordCount(); ++record) {
            const std::string text = Trim(std::string(table.fieldBytes(record, nombre)));
            // One line, as the display wraps at blanks and has room for one.
            const QRect drawn =
                metrics.boundingRect(QRect(0, 0, width, 1000), flags, fromWindows1252(text));
            const bool fits = drawn.width() <= width && drawn.height() <= oneLine;
            if (Trim(std::string(table.fieldBytes(record, estado))) == "baja") {
                EXPECT_TRUE(fits) << fromWindows1252(text).toStdString() << " is "
                                  << metrics.horizontalAdvance(fromWindows1252(text))
                                  << " pixels wide, the display has " << width;
            } else if (!fits) {
                ++currentCut;
                std::cout << "cut: " << fromWindows1252(text).toStdString() << "\n";
            }
        }
    });
    // Current entities keep their legal name even where the display cuts it.
    RecordProperty("current_names_cut", currentCut);
    std::cout << currentCut << " current legal names do not fit the display uncut\n";
}

} // namespace
} // namespace cuentas::testing
