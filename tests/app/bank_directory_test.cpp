// The start-up read of the bank table into the bank directory, on tables of every shape.
#include "app/bank_directory.h"
#include "app/bank_table_read_ahead.h"
#include "tests/platform/table/dbf_builder.h"
#include "tests/platform/table/table_test_support.h"
#include "tests/support/leases.h"
#include "tests/support/recording_errors.h"

#include <cstdlib>
#include <fstream>

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
        {"a character BANCO of another width",
         DbfBuilder()
             .field("banco", 'C', 6)
             .field("Nombre", 'C', 5)
             .record({"000049", "BBVA"})
             .build(),
         {},
         {{"000049", "BBVA "}}},
    };
}

class BankDirectoryTest : public testing::TableTest {};

TEST_F(BankDirectoryTest, CodesAndNamesMustBeCharacterFieldsAndAreCheckedBeforeAnyRecord) {
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

using Entries = std::vector<std::pair<std::string, std::string>>;

Entries entriesOf(const ArrayRef& directory) {
    Entries read;
    for (const Value& entry : directory->elements()) {
        read.emplace_back(entry.asArray()->at(1).asString(), entry.asArray()->at(2).asString());
    }
    return read;
}

// A table of `count` records whose names tell which edition of the table they come from.
std::string editionTable(const std::string& edition, int count = 500) {
    DbfBuilder table;
    table.field("BANCO", 'C', 4).field("NOMBRE", 'C', 30);
    for (int i = 0; i < count; ++i) {
        std::string code = std::to_string(10000 + i % 10000).substr(1);
        table.record({code, edition + " " + std::to_string(i)});
    }
    return table.build();
}

std::string editionOf(const ArrayRef& directory) {
    std::string name(directory->size() ? directory->at(1).asArray()->at(2).asString() : "");
    return name.substr(0, name.find(' '));
}

// Filled on a thread of its own or not, read ahead or not, the directory is the one the
// plain read gives, and the table's faults are raised by the call, before any entry is read.
TEST_F(BankDirectoryTest, ReadInTheBackgroundItIsTheSameDirectoryWithTheSameErrors) {
    std::vector<BankTable> tables = bankTables();
    tables.push_back({"5,000 records", editionTable("first", 5000), {}, {}});
    for (bool readAhead : {false, true}) {
        for (const BankTable& table : tables) {
            SCOPED_TRACE(std::string(table.name) + (readAhead ? ", read ahead" : ""));
            place(table.image);
            Entries plain;
            {
                RecordingErrors errors;
                plain = entriesOf(loadBankDirectory("NomBancos.dbf"));
            }
            std::optional<BankTableReadAhead> ahead;
            if (readAhead) {
                ahead.emplace("NomBancos.dbf");
            }
            RecordingErrors errors;
            BankDirectoryLoad load = loadBankDirectoryInBackground("NomBancos.dbf");
            std::vector<std::string> raised;
            for (const auto& e : errors.errors) {
                raised.push_back(std::to_string(e.genCode) + ": " + e.description);
            }
            EXPECT_EQ(raised, table.errors);
            load.wait();
            EXPECT_EQ(entriesOf(load.directory()), plain);
        }
    }
}

// The work read ahead is taken only for the very file START opens, unchanged since; otherwise
// START reads the table as it is now.
TEST_F(BankDirectoryTest, AReadAheadOfAnotherFileOrOfOneChangedSinceIsNotTaken) {
    if (!testing::leasesIn(dir)) {
        GTEST_SKIP() << "no read leases here: nothing is read ahead";
    }
    struct Change {
        const char* what;
        std::function<void(const std::filesystem::path&)> make;
        bool taken;
    };
    const std::string second = editionTable("second");
    const std::vector<Change> changes = {
        {"nothing", [](const std::filesystem::path&) {}, true},
        {"another table put in its place",
         [&](const std::filesystem::path& folder) {
             testing::writeFile(folder / "new.dbf", second);
             std::filesystem::rename(folder / "new.dbf", folder / "NomBancos.dbf");
         },
         false},
        // Another program's write waits for the mapped bytes to be copied, then goes on.
        {"the table rewritten in place by another program",
         [&](const std::filesystem::path& folder) {
             testing::writeFile(folder / "new.dbf", second);
             const std::string command = "cat '" + (folder / "new.dbf").string() + "' > '" +
                                         (folder / "NomBancos.dbf").string() + "'";
             ASSERT_EQ(std::system(command.c_str()), 0);
         },
         false},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        place(editionTable("first"));
        BankTableReadAhead ahead("NomBancos.dbf");
        ahead.waitUntilChecked();
        change.make(dir);
        std::optional<BankDirectoryLoad> taken = takeReadAheadDirectory("NomBancos.dbf");
        RecordingErrors errors;
        BankDirectoryLoad load = loadBankDirectoryInBackground("NomBancos.dbf");
        load.wait();
        EXPECT_TRUE(errors.errors.empty());
        EXPECT_EQ(editionOf(load.directory()), change.taken ? "first" : "second");
        if (change.taken && !taken) {
            ADD_FAILURE() << "an unchanged table was read again";
        }
        if (!change.taken) {
            EXPECT_FALSE(taken);
            // Turned down, its mapping of the old file is let go at once, not kept for the session.
            std::ifstream maps("/proc/self/maps");
            std::string line;
            while (std::getline(maps, line)) {
                EXPECT_EQ(line.find((dir / "NomBancos.dbf").string() + " (deleted)"),
                          std::string::npos)
                    << line;
            }
        }
        if (taken) {
            taken->wait();
            EXPECT_EQ(editionOf(taken->directory()), "first");
        }
    }
}

TEST_F(BankDirectoryTest, AReadAheadIsTakenOnceAndOnlyForItsOwnName) {
    if (!testing::leasesIn(dir)) {
        GTEST_SKIP() << "no read leases here: nothing is read ahead";
    }
    place(editionTable("first"));
    place(editionTable("other"), "Otros.dbf");
    {
        BankTableReadAhead ahead("NomBancos.dbf");
        EXPECT_FALSE(takeReadAheadDirectory("Otros.dbf")); // and now it is gone
        EXPECT_FALSE(takeReadAheadDirectory("NomBancos.dbf"));
    }
    BankTableReadAhead ahead("NomBancos");
    std::optional<BankDirectoryLoad> taken = takeReadAheadDirectory("NomBancos.dbf");
    ASSERT_TRUE(taken);
    taken->wait();
    EXPECT_EQ(entriesOf(taken->directory()), entriesOf(loadBankDirectory("NomBancos.dbf")));
    EXPECT_FALSE(takeReadAheadDirectory("NomBancos.dbf"));
}

// A damaged or missing table is left to START, which raises its error as ever.
TEST_F(BankDirectoryTest, ATableTheReadAheadCannotUseIsReadAndReportedByStart) {
    for (const std::string& image : {std::string("not a table"), std::string()}) {
        SCOPED_TRACE(image.empty() ? "no table" : "damaged");
        std::filesystem::remove(dir / "NomBancos.dbf");
        if (!image.empty()) {
            place(image);
        }
        BankTableReadAhead ahead("NomBancos.dbf");
        RecordingErrors errors;
        BankDirectoryLoad load = loadBankDirectoryInBackground("NomBancos.dbf");
        load.wait();
        ASSERT_EQ(errors.errors.size(), 1u);
        EXPECT_EQ(errors.errors[0].genCode, image.empty() ? 21u : 31u);
        EXPECT_EQ(load.directory()->size(), 0u);
    }
}

} // namespace
} // namespace cuentas
