#include "tests/platform/table/dbf_builder.h"
#include "tests/platform/table/table_test_support.h"
#include "tests/support/recording_errors.h"

namespace cuentas {
namespace {

using testing::bankTable;
using testing::DbfBuilder;
using testing::field;
using testing::fixture;
using testing::openTable;
using testing::RecordingErrors;
using testing::send;

class DbServerReading : public testing::TableTest {};

std::string padded(std::string text, std::size_t width) {
    text.resize(width, ' ');
    return text;
}

// The bank directory as start-up builds it: RECCOUNT, then EOF / FIELDGET / SKIP 1.
std::vector<std::pair<std::string, std::string>> loadBanks(const Value& table) {
    std::vector<std::pair<std::string, std::string>> banks;
    while (!testing::send(table, "EOF").asLogic()) {
        banks.emplace_back(testing::field(table, "BANCO").asString(),
                           testing::field(table, "NOMBRE").asString());
        testing::send(table, "SKIP", Value::integer(1));
    }
    return banks;
}

TEST_F(DbServerReading, ReadsTheDbaseThreeFixtureInTableOrderWithDeletedRecords) {
    RecordingErrors errors;
    place(fixture("bancos_db3.dbf"));
    EXPECT_EQ(RddSetDefault(kTableDriver), "DBFCDX");
    Value table = openTable();
    EXPECT_EQ(send(table, "RECCOUNT").asInteger(), 5);
    auto banks = loadBanks(table);
    std::vector<std::pair<std::string, std::string>> expected{
        {"0049", padded("Banco Santander", 40)},
        {"0081", padded("Banco de Sabadell", 40)},
        {"0030", padded("Banco Espa\xF1ol de Cr\xE9"
                        "dito",
                        40)},
        {"2100", padded("Caixa d\x92"
                        "Estalvis i Pensions",
                        40)},
        {"0049", padded("Segunda 0049", 40)},
    };
    EXPECT_EQ(banks, expected);
    EXPECT_TRUE(send(table, "CLOSE").asLogic());
    EXPECT_TRUE(errors.errors.empty());
}

TEST_F(DbServerReading, KeepsEveryByteOfTheFoxProFixture) {
    place(fixture("bancos_fp.dbf"));
    Value table = openTable();
    auto banks = loadBanks(table);
    std::vector<std::pair<std::string, std::string>> expected{
        {"0049", padded("  Banco Santander", 30)},
        {"0081", padded(std::string("Sabadell\0NUL", 12), 30)},
        {"0128", padded("Bankinter\r\nCR LF\x1A", 30)},
        {"0049", padded("\xD1"
                        "and\xFA \x80",
                        30)},
        {" 182", padded("BBVA", 30)},
    };
    EXPECT_EQ(banks, expected);
}

TEST_F(DbServerReading, ConvertsNumbersLogicAndDatesOfTheOtherFields) {
    place(fixture("bancos_vfp.dbf"));
    Value table = openTable();
    Value amount = field(table, "IMPORTE");
    EXPECT_EQ(amount.type(), Type::Float);
    EXPECT_DOUBLE_EQ(amount.asNumber(), 1234.5);
    EXPECT_EQ(amount.decimals(), 2);
    EXPECT_TRUE(field(table, "ACTIVO").asLogic());
    EXPECT_EQ(field(table, "NOMBRE").asString(), padded("Caja Rural de C\xF3rdoba", 60));
    send(table, "SKIP");
    EXPECT_DOUBLE_EQ(field(table, "IMPORTE").asNumber(), -7);
    EXPECT_FALSE(field(table, "ACTIVO").asLogic());
    EXPECT_EQ(field(table, "NOMBRE").asString(), padded("   Banco Cooperativo Espa\xF1ol", 60));
    send(table, "SKIP");
    EXPECT_TRUE(send(table, "DELETED").asLogic());
    EXPECT_FALSE(field(table, "ACTIVO").asLogic()); // '?' is not true

    place(fixture("bancos_db3.dbf"), "otra.dbf");
    Value dated = openTable("otra.dbf");
    EXPECT_EQ(field(dated, "ALTA").asDate(), dateFromCalendar(1999, 1, 15));
    send(dated, "SKIP", Value::integer(2));
    EXPECT_EQ(field(dated, "ALTA").type(), Type::Date);
    EXPECT_EQ(field(dated, "ALTA").asDate(), Date{});
}

TEST_F(DbServerReading, AnEmptyTableIsAtBothEndsAtOnce) {
    place(fixture("vacia_db3.dbf"));
    Value table = openTable();
    EXPECT_EQ(send(table, "RECCOUNT").asInteger(), 0);
    EXPECT_TRUE(send(table, "EOF").asLogic());
    EXPECT_TRUE(send(table, "BOF").asLogic());
    EXPECT_TRUE(loadBanks(table).empty());
    EXPECT_EQ(field(table, "NOMBRE").asString(), std::string(60, ' '));
}

TEST_F(DbServerReading, SkipStopsAtEitherEnd) {
    RecordingErrors errors;
    place(bankTable().build());
    Value table = openTable();
    auto recno = [&] { return send(table, "RECNO").asInteger(); };
    EXPECT_EQ(recno(), 1);
    EXPECT_FALSE(send(table, "BOF").asLogic());
    send(table, "SKIP", Value::integer(-1));
    EXPECT_EQ(recno(), 1);
    EXPECT_TRUE(send(table, "BOF").asLogic());
    send(table, "SKIP");
    EXPECT_EQ(recno(), 2);
    EXPECT_FALSE(send(table, "BOF").asLogic());
    send(table, "SKIP", Value::integer(10));
    EXPECT_EQ(recno(), 4);
    EXPECT_TRUE(send(table, "EOF").asLogic());
    EXPECT_TRUE(IVarGet(table, Symbol::intern("EOF")).asLogic());
    // At end of file every field reads as blank, as a record of its own.
    EXPECT_EQ(field(table, "BANCO").asString(), "    ");
    send(table, "SKIP", Value::integer(-1));
    EXPECT_EQ(field(table, "BANCO").asString(), "0128");
    send(table, "GOTOP");
    EXPECT_EQ(field(table, "BANCO").asString(), "0049");
    send(table, "SKIP", Value("x"));
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].description, "SKIP needs a number of records");
    EXPECT_EQ(recno(), 1);
}

TEST_F(DbServerReading, TheTableIsLookedForInTheCurrentDirectoryOnly) {
    RecordingErrors errors;
    std::filesystem::create_directories(dir / "bin");
    testing::writeFile(dir / "bin" / "NomBancos.dbf", bankTable().build());
    os.executable = (dir / "bin" / "cuentas").string();
    Value table = openTable();
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].fileName, runtimeDir() + "NomBancos.dbf");

    place(bankTable().build());
    Value found = openTable("NomBancos"); // the extension is added
    EXPECT_EQ(send(found, "RECCOUNT").asInteger(), 3);
    EXPECT_EQ(objectAs<DbServer>(found)->fileName(), "NomBancos.dbf");
}

TEST_F(DbServerReading, AStructuralIndexBesideTheTableIsIgnored) {
    std::string image = bankTable().build();
    image[28] = 0x01; // the header says a structural index exists
    place(image);
    place("not an index", "NomBancos.cdx");
    Value table = openTable();
    EXPECT_EQ(loadBanks(table).size(), 3u);
}

TEST_F(DbServerReading, AFileReplacedAfterOpeningDoesNotChangeWhatIsRead) {
    place(bankTable().build());
    Value table = openTable();
    place(DbfBuilder().field("BANCO", 'C', 4).field("NOMBRE", 'C', 40).build());
    std::filesystem::remove(dir / "NomBancos.dbf");
    EXPECT_EQ(send(table, "RECCOUNT").asInteger(), 3);
    send(table, "SKIP", Value::integer(2));
    EXPECT_EQ(field(table, "BANCO").asString(), "0128");
}

TEST_F(DbServerReading, DbCloseAllClosesEveryOpenTable) {
    place(bankTable().build());
    Value first = openTable();
    Value second = openTable();
    {
        Value gone = openTable(); // destroyed while open: it must leave the list of open tables
    }
    EXPECT_TRUE(DbCloseAll());
    Value third = openTable();
    closeAllTables(); // the error handler's way, before the process ends
    for (const Value& table : {first, second, third}) {
        EXPECT_EQ(send(table, "RECCOUNT").asInteger(), 0);
        EXPECT_TRUE(send(table, "EOF").asLogic());
        EXPECT_TRUE(field(table, "BANCO").isNil());
        EXPECT_EQ(send(table, "RECNO").asInteger(), 0);
    }
}

// Field names in the table's code page: a symbol is interned in upper case by the runtime's
// Windows-1252 rule, and the field is found by the same rule whatever case the table stores.
TEST_F(DbServerReading, FieldsWithLettersBeyondAsciiAreFoundByTheirOwnSymbol) {
    place(DbfBuilder()
              .field("A\xF1O", 'C', 4)   // "AñO" as stored by its writer
              .field("\xE9poca", 'C', 6) // "época"
              .field("\xFFVES", 'C', 2)  // y with diaeresis, whose capital is 0x9F
              .record({"2024", "verano", "si"})
              .build());
    Value table = openTable();
    RecordingErrors errors;
    EXPECT_EQ(field(table, "A\xF1O").asString(), "2024");
    EXPECT_EQ(field(table, "A\xD1O").asString(), "2024");
    EXPECT_EQ(field(table, "\xC9POCA").asString(), "verano");
    EXPECT_EQ(field(table, "\xFFves").asString(), "si");
    EXPECT_TRUE(errors.errors.empty());
}

TEST_F(DbServerReading, FieldsReadStayAsTheyWereAfterTheTableIsGone) {
    const std::string longName = "Caja Rural de Albacete, Ciudad Real y Cuenca, S.C.C.";
    place(DbfBuilder()
              .field("BANCO", 'C', 4)
              .field("NOMBRE", 'C', 60)
              .record({"3190", longName})
              .record({"0049", "Banco Santander"})
              .build());
    Value code;
    Value name;
    {
        Value table = openTable();
        code = field(table, "BANCO");
        name = field(table, "NOMBRE");
        send(table, "SKIP", Value::integer(1));
        EXPECT_EQ(field(table, "NOMBRE").asString(), padded("Banco Santander", 60));
        send(table, "CLOSE");
    }
    DbCloseAll();
    EXPECT_EQ(code.asString(), "3190");
    EXPECT_EQ(name.asString(), padded(longName, 60));
}

TEST_F(DbServerReading, ATableOpenedAgainFindsTheFieldsOfItsNewFile) {
    place(DbfBuilder()
              .field("BANCO", 'C', 4)
              .field("NOMBRE", 'C', 20)
              .record({"0049", "Uno"})
              .build());
    place(DbfBuilder()
              .field("NOMBRE", 'C', 20)
              .field("EXTRA", 'C', 2)
              .field("BANCO", 'C', 4)
              .record({"Dos", "xx", "2100"})
              .build(),
          "Otra.dbf");
    Value table = openTable();
    DbServer* server = objectAs<DbServer>(table);
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->fieldText(Symbol::intern("BANCO")), "0049");
    server->open("Otra.dbf");
    EXPECT_EQ(server->fieldText(Symbol::intern("BANCO")), "2100");
    EXPECT_EQ(field(table, "NOMBRE").asString(), padded("Dos", 20));
}

TEST_F(DbServerReading, TheCppSurfaceReadsCharacterFieldsAsText) {
    place(bankTable().build());
    Value table = openTable();
    DbServer* server = objectAs<DbServer>(table);
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->path(), runtimeDir() + "NomBancos.dbf");
    EXPECT_EQ(server->fieldText(Symbol::intern("nombre")), padded("Banco Santander", 40));
    server->skip(3);
    EXPECT_TRUE(server->atEnd());
    EXPECT_EQ(server->fieldText(Symbol::intern("BANCO")), "    ");
}

} // namespace
} // namespace cuentas
