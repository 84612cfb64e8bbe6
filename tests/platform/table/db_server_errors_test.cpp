#include "platform/os/os_error.h"
#include "tests/platform/table/dbf_builder.h"
#include "tests/platform/table/table_test_support.h"
#include "tests/support/recording_errors.h"

#include <cerrno>
#include <cstdlib>
#include <functional>
#include <random>
#include <sys/stat.h>

namespace cuentas {
namespace {

using testing::bankTable;
using testing::DbfBuilder;
using testing::field;
using testing::openTable;
using testing::RecordedError;
using testing::RecordingErrors;
using testing::send;
using testing::writeFile;

class DbServerErrors : public testing::TableTest {
protected:
    void expectClosedAndEmpty(const Value& table) {
        EXPECT_EQ(send(table, "RECCOUNT").asInteger(), 0);
        EXPECT_TRUE(send(table, "EOF").asLogic());
        EXPECT_TRUE(field(table, "BANCO").isNil());
        EXPECT_FALSE(objectAs<DbServer>(table)->isOpen());
    }
};

// An operating system that refuses to open one file with the given error.
class RefusingOs : public testing::TableOs {
public:
    int refusal = -systemErrorFor(oserror::kSharingViolation);
    int openFile(const std::string& nativePath, const FileOpening& opening) override {
        if (nativePath.ends_with("NomBancos.dbf")) {
            return refusal;
        }
        return TableOs::openFile(nativePath, opening);
    }
};

TEST_F(DbServerErrors, AMissingTableIsAnOpenErrorAndThenAnEmptyTable) {
    RecordingErrors errors;
    Value table = openTable();
    ASSERT_EQ(errors.errors.size(), 1u);
    const RecordedError& e = errors.errors[0];
    EXPECT_EQ(e.subsystem, "DBFCDX");
    EXPECT_EQ(e.genCode, gencode::kOpen);
    EXPECT_EQ(e.osCode, oserror::kFileNotFound);
    EXPECT_EQ(e.description, "Cannot open NomBancos.dbf in " + runtimeDir() + ": file not found");
    EXPECT_EQ(e.fileName, runtimeDir() + "NomBancos.dbf");
    EXPECT_TRUE(e.canRetry);
    EXPECT_TRUE(e.canDefault);
    EXPECT_EQ(e.tries, 1u);
    expectClosedAndEmpty(table);
}

TEST_F(DbServerErrors, RetryReadsTheFileAgain) {
    RecordingErrors errors([&](const RecordedError& e) {
        if (e.tries == 2) {
            place(bankTable().build()); // the user puts the table in place, then retries
        }
        return Value::logic(true);
    });
    Value table = openTable();
    ASSERT_EQ(errors.errors.size(), 2u);
    EXPECT_EQ(errors.errors[1].tries, 2u);
    EXPECT_EQ(send(table, "RECCOUNT").asInteger(), 3);
    EXPECT_EQ(field(table, "BANCO").asString(), "0049");
}

// A table that is not a regular file is refused at once, as an open error naming what it
// is; never a wait on a pipe nor an endless read of a device.
struct HostileFile {
    const char* name;
    std::function<void(const std::filesystem::path&)> place;
    std::uint32_t osCode;
    const char* cause;
};

const HostileFile kHostileFiles[] = {
    {"folder", [](const auto& p) { std::filesystem::create_directory(p); }, oserror::kAccessDenied,
     "a folder where a file was expected"},
#ifndef _WIN32 // named pipes, devices and symbolic links of the file system
    {"named pipe", [](const auto& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
     oserror::kAccessDenied, "a named pipe where a file was expected"},
    {"link to /dev/zero", [](const auto& p) { std::filesystem::create_symlink("/dev/zero", p); },
     oserror::kAccessDenied, "a device where a file was expected"},
    {"link to /dev/urandom",
     [](const auto& p) { std::filesystem::create_symlink("/dev/urandom", p); },
     oserror::kAccessDenied, "a device where a file was expected"},
    {"loop of links",
     [](const auto& p) {
         std::filesystem::create_symlink("Other.dbf", p);
         std::filesystem::create_symlink(p.filename(), p.parent_path() / "Other.dbf");
     },
     oserror::kGeneralFailure, "too many levels of symbolic links"},
#endif
};

TEST_F(DbServerErrors, WhatIsNotARegularFileIsAnOpenErrorNamingWhatItIs) {
    for (const HostileFile& hostile : kHostileFiles) {
        SCOPED_TRACE(hostile.name);
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        hostile.place(dir / "NomBancos.dbf");
        RecordingErrors errors;
        Value table = openTable();
        ASSERT_EQ(errors.errors.size(), 1u);
        EXPECT_EQ(errors.errors[0].genCode, gencode::kOpen);
        EXPECT_EQ(errors.errors[0].osCode, hostile.osCode);
        EXPECT_EQ(errors.errors[0].description,
                  "Cannot open NomBancos.dbf in " + runtimeDir() + ": " + hostile.cause);
        expectClosedAndEmpty(table);
    }
}

// The table rewritten and then cut short while it is open changes nothing
// the table gives, and never ends the process: its bytes are held as they were opened.
TEST_F(DbServerErrors, ATableRewrittenAndCutShortWhileOpenReadsAsItWasOpened) {
    place(bankTable().build());
    RecordingErrors errors;
    Value table = openTable();
    {
        std::ofstream rewritten(dir / "NomBancos.dbf", std::ios::binary | std::ios::trunc);
        std::mt19937 random(7);
        for (int i = 0; i < 5000; ++i) {
            rewritten.put(static_cast<char>(random()));
        }
    }
    std::filesystem::resize_file(dir / "NomBancos.dbf", 0);
    std::vector<std::string> names;
    for (send(table, "GOTOP"); !send(table, "EOF").asLogic(); send(table, "SKIP")) {
        names.push_back(std::string(field(table, "BANCO").asString()) + " " +
                        std::string(field(table, "NOMBRE").asString()));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"0049 Banco Santander" + std::string(25, ' '),
                                               "0081 Banco de Sabadell" + std::string(23, ' '),
                                               "0128 Bankinter" + std::string(31, ' ')}));
    EXPECT_TRUE(errors.errors.empty());
}

#ifndef _WIN32 // symbolic links
TEST_F(DbServerErrors, ALinkToARegularTableIsReadThroughIt) {
    writeFile(dir / "real.dbf", bankTable().build());
    std::filesystem::create_symlink("real.dbf", dir / "NomBancos.dbf");
    RecordingErrors errors;
    Value table = openTable();
    EXPECT_TRUE(errors.errors.empty());
    EXPECT_EQ(send(table, "RECCOUNT").asInteger(), 3);
}
#endif

// Counts the bytes the table layer reads, to show that it reads what the header declares.
class CountingOs : public testing::TableOs {
public:
    std::uint64_t bytesRead = 0;
    long readFile(int fd, void* data, std::size_t size) override {
        long n = TableOs::readFile(fd, data, size);
        bytesRead += n > 0 ? static_cast<std::uint64_t>(n) : 0;
        return n;
    }
};

// A table that is refused, opened while the bytes read are counted.
struct RefusedOpen {
    RecordedError error;
    std::uint64_t bytesRead = 0;
};

class RefusedTables : public DbServerErrors {
protected:
    // The one error the open raised, after which the table is closed and empty.
    RefusedOpen openRefused() {
        CountingOs counting;
        counting.currentDirectoryPath = dir.string();
        ScopedOs scopedCounting(counting);
        RecordingErrors errors;
        Value table = openTable();
        RefusedOpen refused;
        EXPECT_EQ(errors.errors.size(), 1u);
        if (!errors.errors.empty()) {
            refused.error = errors.errors[0];
        }
        refused.bytesRead = counting.bytesRead;
        expectClosedAndEmpty(table);
        return refused;
    }
};

TEST_F(DbServerErrors, OnlyTheDeclaredRecordsAreReadNeverTheBytesAfterThem) {
    const std::string image = bankTable().build();
    writeFile(dir / "NomBancos.dbf", image);
    std::filesystem::resize_file(dir / "NomBancos.dbf", std::uint64_t{3} << 30); // sparse
    CountingOs counting;
    counting.currentDirectoryPath = dir.string();
    ScopedOs scopedCounting(counting);
    RecordingErrors errors;
    Value table = openTable();
    EXPECT_TRUE(errors.errors.empty());
    EXPECT_EQ(send(table, "RECCOUNT").asInteger(), 3);
    EXPECT_EQ(counting.bytesRead, image.size() - 1); // all but the end-of-file mark
}

TEST_F(RefusedTables, RecordsThatAreNotWhereTheHeaderPutsThemStopTheReadEarly) {
    // Three records, then zeros where the header declares eight million more: the first zero
    // flag ends the read within its first piece, not after 360 MB of zeros.
    const std::string image = bankTable().recordCount(8'000'003).build();
    writeFile(dir / "NomBancos.dbf", image.substr(0, image.size() - 1)); // no end-of-file mark
    std::filesystem::resize_file(dir / "NomBancos.dbf", std::uint64_t{1} << 30); // sparse
    const RefusedOpen refused = openRefused();
    EXPECT_EQ(refused.error.genCode, gencode::kCorruption);
    EXPECT_EQ(refused.error.description,
              "NomBancos.dbf: record 4 has an invalid deletion flag 0x00");
    EXPECT_LE(refused.bytesRead, std::uint64_t{1} << 21);
}

TEST_F(RefusedTables, AHeaderLengthTooSmallForTheFieldListIsNamedHoweverManyRecordsFollow) {
    // The records would begin at NOMBRE's descriptor; with 30,000 of them the first piece read
    // is checked before the end of the file.
    for (std::uint32_t count : {3u, 30'000u}) {
        SCOPED_TRACE(count);
        writeFile(dir / "NomBancos.dbf", bankTable().headerLength(64).recordCount(count).build());
        if (count > 3) {
            std::filesystem::resize_file(dir / "NomBancos.dbf", 64 + std::uint64_t{count} * 45);
        }
        const RefusedOpen refused = openRefused();
        EXPECT_EQ(refused.error.genCode, gencode::kCorruption);
        EXPECT_EQ(refused.error.description,
                  "NomBancos.dbf: header length 64 is too small for its field list, which takes "
                  "97 bytes (2 fields and the end mark)");
    }
}

TEST_F(RefusedTables, ATableShorterThanItsHeaderDeclaresIsRefusedBeforeItsRecordsAreRead) {
    const std::string image = bankTable().recordCount(8'000'003).build();
    writeFile(dir / "NomBancos.dbf", image);
    std::filesystem::resize_file(dir / "NomBancos.dbf", std::uint64_t{100} << 20); // sparse
    const RefusedOpen refused = openRefused();
    EXPECT_EQ(refused.error.genCode, gencode::kCorruption);
    EXPECT_EQ(refused.error.description,
              "NomBancos.dbf: record count 8000003 needs 360000232 bytes but the file has "
              "104857600");
    EXPECT_EQ(refused.bytesRead, 97u); // the header and the field list
}

TEST_F(RefusedTables, RecordsBeyondWhatATableMayHoldAreRefusedBeforeReadingThem) {
    const struct {
        std::uint32_t count;
        const char* description;
    } cases[] = {
        {0xFFFFFFFF, "NomBancos.dbf: 4294967295 records of 45 bytes need 193273528275 bytes, "
                     "more than the 1073741824 bytes a table may hold"},
        {23860930, "NomBancos.dbf: 23860930 records of 45 bytes need 1073741850 bytes, more "
                   "than the 1073741824 bytes a table may hold"},
        {8388609, "NomBancos.dbf: 8388609 records are more than the 8388608 records a table "
                  "may hold"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        place(bankTable().recordCount(c.count).build());
        const RefusedOpen refused = openRefused();
        EXPECT_EQ(refused.error.genCode, gencode::kMemory);
        EXPECT_EQ(refused.error.description, c.description);
        EXPECT_EQ(refused.error.osCode, 0u);
        EXPECT_EQ(refused.bytesRead, 97u); // the header and the field list
    }
    // Just within the limit, a count the file does not hold is named as before.
    place(bankTable().recordCount(8388608).build());
    RecordingErrors errors;
    openTable();
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].description,
              "NomBancos.dbf: record count 8388608 needs 377487457 bytes but the file has 233");
}

TEST_F(DbServerErrors, UnreadableTablesCarryTheOperatingSystemsError) {
    RefusingOs refusing;
    refusing.currentDirectoryPath = dir.string();
    ScopedOs scopedRefusing(refusing);
    RecordingErrors errors;
    Value table = openTable();
    ASSERT_EQ(errors.errors.size(), 1u);
    // The handler settles sharing violations quietly by these two facts.
    EXPECT_EQ(errors.errors[0].genCode, gencode::kOpen);
    EXPECT_EQ(errors.errors[0].osCode, oserror::kSharingViolation);
    EXPECT_EQ(errors.errors[0].description,
              "Cannot open NomBancos.dbf in " + runtimeDir() + ": sharing violation");
}

TEST_F(DbServerErrors, ADamagedTableIsCorruptionAndMayBeReplacedAndRetried) {
    place(bankTable().recordLength(3).build());
    RecordingErrors errors;
    Value table = openTable();
    ASSERT_EQ(errors.errors.size(), 1u);
    const RecordedError& e = errors.errors[0];
    EXPECT_EQ(e.genCode, gencode::kCorruption);
    EXPECT_EQ(e.subsystem, "DBFCDX");
    EXPECT_EQ(e.description, "NomBancos.dbf: record length 3 is smaller than the fields need (45)");
    EXPECT_EQ(e.fileName, runtimeDir() + "NomBancos.dbf");
    EXPECT_EQ(e.osCode, 0u);
    EXPECT_TRUE(e.canRetry);
    EXPECT_TRUE(e.canDefault);
    expectClosedAndEmpty(table);

    errors.answerWith([&](const RecordedError&) {
        place(bankTable().build());
        return Value::logic(true);
    });
    Value repaired = openTable();
    EXPECT_EQ(errors.errors.size(), 2u);
    EXPECT_EQ(send(repaired, "RECCOUNT").asInteger(), 3);
}

TEST_F(DbServerErrors, AMissingFieldIsRaisedOncePerTableAndField) {
    place(DbfBuilder()
              .field("BANCO", 'C', 4)
              .record({"0049"})
              .record({"0081"})
              .record({"0128"})
              .build());
    RecordingErrors errors;
    Value table = openTable();
    std::vector<Value> names;
    while (!send(table, "EOF").asLogic()) {
        names.push_back(field(table, "NOMBRE"));
        send(table, "SKIP");
    }
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].description, "NomBancos.dbf has no field NOMBRE");
    EXPECT_EQ(errors.errors[0].genCode, gencode::kArgument);
    EXPECT_EQ(errors.errors[0].arg, "NOMBRE");
    EXPECT_TRUE(errors.errors[0].canDefault);
    ASSERT_EQ(names.size(), 3u);
    for (const Value& name : names) {
        EXPECT_TRUE(name.isNil());
    }

    // A substitute answer stands for the field from then on; another server asks again.
    errors.answerWith([](const RecordedError&) { return Value("?"); });
    Value other = openTable();
    EXPECT_EQ(field(other, "NOMBRE").asString(), "?");
    send(other, "SKIP");
    EXPECT_EQ(field(other, "NOMBRE").asString(), "?");
    EXPECT_EQ(errors.errors.size(), 2u);
}

TEST_F(DbServerErrors, ANonCharacterFieldReadAsTextIsADataTypeError) {
    place(DbfBuilder()
              .field("BANCO", 'N', 4)
              .field("NOMBRE", 'C', 10)
              .record({"  49", "Santander"})
              .record({"  81", "Sabadell"})
              .build());
    RecordingErrors errors;
    Value table = openTable();
    DbServer* server = objectAs<DbServer>(table);
    EXPECT_EQ(server->fieldText(Symbol::intern("BANCO")), "");
    server->skip(1);
    EXPECT_EQ(server->fieldText(Symbol::intern("BANCO")), "");
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].genCode, gencode::kDataType);
    EXPECT_EQ(errors.errors[0].description,
              "NomBancos.dbf: field BANCO is of type N, not character");
    // FIELDGET converts it instead.
    EXPECT_EQ(field(table, "BANCO").asInteger(), 81);
}

TEST_F(DbServerErrors, BadArgumentsAreArgumentErrors) {
    RecordingErrors errors;
    Value table(CreateInstance(Symbol::intern("DBSERVER")));
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].description, "DBSERVER needs a file name");
    expectClosedAndEmpty(table);

    place(bankTable().build());
    Value opened = openTable();
    errors.answerWith([](const RecordedError&) { return Value("substitute"); });
    EXPECT_EQ(send(opened, "FIELDGET", Value::integer(1)).asString(), "substitute");
    EXPECT_EQ(errors.errors.back().description, "FIELDGET needs a field name");
    EXPECT_EQ(send(opened, "FIELDGET", Value("banco")).asString(), "0049");
}

TEST_F(DbServerErrors, OnlyTheOneTableDriverCanBeTheDefault) {
    RecordingErrors errors;
    EXPECT_EQ(RddSetDefault("dbfcdx"), "DBFCDX");
    EXPECT_TRUE(errors.errors.empty());
    EXPECT_EQ(RddSetDefault("OTRO"), "DBFCDX");
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].description, "Unknown table driver OTRO; the only driver is DBFCDX");
    EXPECT_EQ(errors.errors[0].genCode, gencode::kArgument);
    EXPECT_EQ(RddSetDefault(), "DBFCDX");
}

} // namespace
} // namespace cuentas
