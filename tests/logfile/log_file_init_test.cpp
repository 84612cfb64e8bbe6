#include "tests/logfile/log_file_fixture.h"
#include "tests/support/recording_errors.h"

#include <filesystem>

namespace cuentas {
namespace {

using testing::readWhole;
using testing::sameValue;
using testing::writeWhole;

class LogFileInit : public testing::LogFileTest {};

TEST_F(LogFileInit, ANewObjectHoldsEmptyTextsAndFalseUntilInitRuns) {
    Value log(findClass(logFileClassSymbol())->instantiate());
    for (const char* property : {"FNAME", "BACKUPNAME", "SERVERPATH"}) {
        EXPECT_PRED2(sameValue, get(log, property), Value("")) << property;
    }
    EXPECT_PRED2(sameValue, get(log, "LOG2FILE"), Value::logic(false));
    EXPECT_PRED2(sameValue, get(log, "APPEND"), Value::logic(false));
}

TEST_F(LogFileInit, WithoutArgumentsTheLogIsNamedAfterTheExecutableAndCreated) {
    Value log = newLog();
    EXPECT_EQ(text(log, "SERVERPATH"), serverPath());
    EXPECT_EQ(text(log, "FNAME"), runtimeFile("PROG.log"));
    EXPECT_TRUE(logic(log, "APPEND"));
    EXPECT_TRUE(logic(log, "LOG2FILE"));
    EXPECT_EQ(text(log, "BACKUPNAME"), "");
    EXPECT_TRUE(std::filesystem::exists(directory.file("PROG.log")));
    EXPECT_EQ(readWhole(directory.file("PROG.log")), "");
}

struct NameCase {
    const char* title;
    Value name;          // the first argument; nil for none
    std::string subPath; // expected FNAME below the executable's directory
};

TEST_F(LogFileInit, TheNameArgumentChoosesTheLogsName) {
    std::filesystem::create_directory(directory.file("other"));
    std::filesystem::create_directory(directory.file("v1.2"));
    const std::vector<NameCase> cases{
        {"no name", Value(), "PROG.log"},
        {"empty name", Value(""), "PROG.log"},
        {"a number", Value::integer(7), "PROG.log"},
        {"plain name", Value("trace"), "trace.log"},
        {"extension replaced", Value("trace.txt"), "trace.log"},
        {"several dots", Value("a.b.c"), "a.b.log"},
        {"own directory", Value(serverPath() + "other\\run"), "other\\run.log"},
        {"dot in the directory only", Value(serverPath() + "v1.2\\run"), "v1.2\\run.log"},
        // Only the backslash separates directories.
        {"forward slash", Value("sub/x.y"), "sub/x.log"},
    };
    for (const NameCase& c : cases) {
        Value log = newLog({c.name});
        EXPECT_EQ(text(log, "FNAME"), runtimeFile(c.subPath)) << c.title;
    }
}

TEST_F(LogFileInit, AnExecutableWithoutExtensionInADottedDirectoryGetsItsOwnLog) {
    std::filesystem::create_directories(directory.file(".local/bin"));
    os.executable = directory.file(".local/bin/cuentas");
    Value log = newLog();
    EXPECT_EQ(text(log, "FNAME"), runtimeFile(".local\\bin\\cuentas.log"));
    EXPECT_TRUE(logic(log, "LOG2FILE"));
    EXPECT_TRUE(std::filesystem::exists(directory.file(".local/bin/cuentas.log")));
}

TEST_F(LogFileInit, LooselyTypedFlagsCountAsFalseAndTrue) {
    setLogFileDirectory("\\elsewhere");
    writeWhole(directory.file("PROG.log"), "kept\r\n");
    // A number for "use the log directory" means no; a number for "append" means yes.
    Value log = newLog({Value(), Value::integer(1), Value::integer(0)});
    EXPECT_EQ(text(log, "FNAME"), runtimeFile("PROG.log"));
    EXPECT_TRUE(logic(log, "APPEND"));
    EXPECT_EQ(readWhole(directory.file("PROG.log")), "kept\r\n");
}

TEST_F(LogFileInit, AnExistingLogIsKeptWhenAppending) {
    writeWhole(directory.file("PROG.log"), "earlier\r\n");
    Value log = newLog({Value(), Value::logic(false), Value::logic(true)});
    EXPECT_TRUE(logic(log, "LOG2FILE"));
    EXPECT_EQ(readWhole(directory.file("PROG.log")), "earlier\r\n");
    EXPECT_FALSE(std::filesystem::exists(directory.file("PROG.bak")));
}

TEST_F(LogFileInit, AnExistingLogIsCopiedToTheBackupAndEmptiedWhenNotAppending) {
    writeWhole(directory.file("PROG.log"), "earlier\r\n");
    Value log = newLog({Value(), Value::logic(false), Value::logic(false)});
    EXPECT_FALSE(logic(log, "APPEND"));
    EXPECT_TRUE(logic(log, "LOG2FILE"));
    EXPECT_EQ(text(log, "BACKUPNAME"), runtimeFile("PROG.bak"));
    EXPECT_EQ(readWhole(directory.file("PROG.bak")), "earlier\r\n");
    EXPECT_EQ(readWhole(directory.file("PROG.log")), "");
}

TEST_F(LogFileInit, ABackupNameSetBeforeASecondInitIsUsedUnchanged) {
    std::filesystem::create_directory(directory.file("saved"));
    Value log = newLog({Value("trace")});
    writeWhole(directory.file("trace.log"), "first run\r\n");
    const std::string chosen = runtimeFile("saved\\first-run.old");
    EXPECT_PRED2(sameValue, put(log, "BACKUPNAME", Value(chosen)), Value(chosen));
    Send(log, Symbol::intern("INIT"),
         std::vector<Value>{Value("trace"), Value(), Value::logic(false)});
    EXPECT_EQ(text(log, "BACKUPNAME"), chosen);
    EXPECT_EQ(readWhole(directory.file("saved/first-run.old")), "first run\r\n");
    EXPECT_EQ(readWhole(directory.file("trace.log")), "");
    EXPECT_FALSE(std::filesystem::exists(directory.file("trace.bak")));
}

TEST_F(LogFileInit, ALogWhoseBackupFailsIsKeptInsteadOfEmptied) {
    writeWhole(directory.file("PROG.log"), "only copy\r\n");
    Value log(findClass(logFileClassSymbol())->instantiate());
    put(log, "BACKUPNAME", Value(runtimeFile("missing\\PROG.bak")));
    Send(log, Symbol::intern("INIT"), std::vector<Value>{Value(), Value(), Value::logic(false)});
    EXPECT_EQ(readWhole(directory.file("PROG.log")), "only copy\r\n");
    EXPECT_TRUE(logic(log, "LOG2FILE"));
}

TEST_F(LogFileInit, ALogThatCannotBeCreatedLeavesLog2FileAsItWas) {
    Value log = newLog({Value(runtimeFile("missing\\x"))});
    EXPECT_EQ(text(log, "FNAME"), runtimeFile("missing\\x.log"));
    EXPECT_FALSE(logic(log, "LOG2FILE")) << "messages go to the debugger output";
    EXPECT_TRUE(os.sleeps.empty()) << "a missing directory is not worth another try";

    // A second INIT never takes LOG2FILE back.
    put(log, "LOG2FILE", Value::logic(true));
    Send(log, Symbol::intern("INIT"), std::vector<Value>{Value(runtimeFile("missing\\y"))});
    EXPECT_TRUE(logic(log, "LOG2FILE"));
}

TEST_F(LogFileInit, ALogBusyInAnotherProcessStillSendsMessagesToTheFile) {
    writeWhole(directory.file("PROG.log"), "");
    FileHandle holder =
        FOpen(runtimeFile("PROG.log"), openmode::kReadWrite | openmode::kShareExclusive);
    ASSERT_NE(holder, kNoFile);
    Value log = newLog();
    EXPECT_TRUE(logic(log, "LOG2FILE"));
    EXPECT_EQ(os.sleeps, std::vector<std::uint32_t>(10, 1));
    FClose(holder);
}

TEST_F(LogFileInit, AssignmentsOfTheWrongTypeAreIgnoredAndAnswerTheValueKept) {
    Value log = newLog();
    const std::string name = text(log, "FNAME");
    EXPECT_PRED2(sameValue, put(log, "FNAME", Value::integer(5)), Value(name));
    EXPECT_EQ(text(log, "FNAME"), name);
    EXPECT_PRED2(sameValue, put(log, "BACKUPNAME", Value()), Value(""));
    EXPECT_PRED2(sameValue, put(log, "LOG2FILE", Value("no")), Value::logic(true));
    EXPECT_PRED2(sameValue, put(log, "APPEND", Value::integer(0)), Value::logic(true));
    EXPECT_PRED2(sameValue, put(log, "APPEND", Value::logic(false)), Value::logic(false));
    EXPECT_PRED2(sameValue, put(log, "FNAME", Value("other.log")), Value("other.log"));

    // SERVERPATH has no assignment at all: the object model reports it.
    testing::RecordingErrors errors;
    IVarPut(log, Symbol::intern("SERVERPATH"), Value("\\elsewhere\\"));
    ASSERT_EQ(errors.errors.size(), 1u);
    EXPECT_EQ(errors.errors[0].description, "No assignable variable");
    EXPECT_EQ(text(log, "SERVERPATH"), serverPath());
}

} // namespace
} // namespace cuentas
