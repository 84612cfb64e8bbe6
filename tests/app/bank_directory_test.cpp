// The start-up read of the bank table into the bank directory, on tables of every shape.
#include "app/bank_directory.h"
#include "tests/platform/table/dbf_builder.h"
#include "tests/platform/table/table_test_support.h"
#include "tests/support/recording_errors.h"

namespace cuentas {
namespace {

using testing::DbfBuilder;
using testing::RecordingErrors;

struct BankTable {
    const char* name;
    std::string image;
    std::vector<std::string> errors; // "general code: description", in order
    std::vector<std::pair<std::string, std::string>> directory;
};

std::vector<BankTable> bankTables() {
    return {
        {"memo NOMBRE",
         DbfBuilder()
             .field("BANCO", 'C', 4)
             .field("NOMBRE", 'M', 10)
             .record({"0049", "         1"})
             .build(),
         {"29: NomBancos.dbf: field NOMBRE is of type M, not character"},
         {{"0049", ""}}},
        {"numeric BANCO",
         DbfBuilder()
             .field("BANCO", 'N', 4)
             .field("NOMBRE", 'C', 20)
             .record({"  49", "Santander"})
             .build(),
         {"29: NomBancos.dbf: field BANCO is of type N, not character"},
         {{"", "Santander" + std::string(11, ' ')}}},
        {"numeric BANCO in an empty table",
         DbfBuilder().field("BANCO", 'N', 4).field("NOMBRE", 'C', 20).build(),
         {"29: NomBancos.dbf: field BANCO is of type N, not character"},
         {}},
        {"no NOMBRE in an empty table",
         DbfBuilder().field("BANCO", 'C', 4).field("NOMBRES", 'C', 20).build(),
         {"1: NomBancos.dbf has no field NOMBRE"},
         {}},
        {"logic BANCO and date NOMBRE",
         DbfBuilder()
             .field("BANCO", 'L', 1)
             .field("NOMBRE", 'D', 8)
             .record({"T", "20240101"})
             .build(),
         {"29: NomBancos.dbf: field BANCO is of type L, not character",
          "29: NomBancos.dbf: field NOMBRE is of type D, not character"},
         {{"", ""}}},
        // Codes of another width never equal the dialog's four digits.
        {"a character BANCO of another width",
         DbfBuilder()
             .field("banco", 'C', 6)
             .field("Nombre", 'C', 5)
             .record({"000049", "BBVA"})
             .record({"000081", "Sabadell"})
             .build(),
         {"29: NomBancos.dbf: field BANCO is of width 6, not 4"},
         {{"", "BBVA "}, {"", "Sabad"}}},
        {"a character BANCO of width 0 in an empty table",
         DbfBuilder().field("BANCO", 'C', 0).field("NOMBRE", 'C', 20).build(),
         {"29: NomBancos.dbf: field BANCO is of width 0, not 4"},
         {}},
    };
}

class BankDirectoryTest : public testing::TableTest {};

TEST_F(BankDirectoryTest,
       CodesOfFourCharactersAndNamesMustBeCharacterFieldsCheckedBeforeAnyRecord) {
    for (const BankTable& table : bankTables()) {
        SCOPED_TRACE(table.name);
        place(table.image);
        RecordingErrors errors; // answers "default"
        ArrayRef directory = loadBankDirectory("NomBancos.dbf");
        std::vector<std::string> raised;
        for (const auto& e : errors.errors) {
            raised.push_back(std::to_string(e.genCode) + ": " + e.description);
        }
        EXPECT_EQ(raised, table.errors);
        std::vector<std::pair<std::string, std::string>> read;
        for (const Value& entry : directory->elements()) {
            read.emplace_back(entry.asArray()->at(1).asString(), entry.asArray()->at(2).asString());
        }
        EXPECT_EQ(read, table.directory);
    }
}

} // namespace
} // namespace cuentas
