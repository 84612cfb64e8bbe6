#include "tests/support/recording_errors.h"
#include "tests/platform/table/dbf_builder.h"
#include "tests/platform/table/table_test_support.h"

#include <cerrno>

namespace cuentas {
namespace {

using testing::bankTable;
using testing::RecordedError;
using testing::RecordingErrors;
using testing::DbfBuilder;
using testing::field;
using testing::openTable;
using testing::send;

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
    int refusal = -EBUSY;
    int openFile(const std::string& nativePath, int flags, int mode) override {
        if (nativePath.ends_with("NomBancos.dbf")) {
            return refusal;
        }
        return TableOs::openFile(nativePath, flags, mode);
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

TEST_F(DbServerErrors, UnreadableTablesCarryTheOperatingSystemsError) {
    std::filesystem::create_directories(dir / "NomBancos.dbf");
    {
        RecordingErrors errors;
        Value table = openTable();
        ASSERT_EQ(errors.errors.size(), 1u);
        EXPECT_EQ(errors.errors[0].osCode, oserror::kAccessDenied);
        EXPECT_EQ(errors.errors[0].description,
                  "Cannot open NomBancos.dbf in " + runtimeDir() + ": access denied");
        expectClosedAndEmpty(table);
    }
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
