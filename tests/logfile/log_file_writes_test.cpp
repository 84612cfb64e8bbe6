#include "tests/logfile/log_file_fixture.h"
#include "tests/support/child_process.h"

#include <map>
#include <sstream>

namespace cuentas {
namespace {

using testing::flag;
using testing::makeError;
using testing::number;
using testing::readWhole;
using testing::sameValue;
using testing::writeWhole;
using P = ErrorProperty;

class LogFileWrites : public testing::LogFileTest {
protected:
    void SetUp() override {
        LogFileTest::SetUp();
        log = newLog();
    }
    std::string logContent() const { return readWhole(directory.file("PROG.log")); }
    Value dump(const Value& error) { return Send(log, Symbol::intern("DUMPERROR"), {&error, 1}); }
    Value debug(const std::string& message) {
        Value text(message);
        return Send(log, Symbol::intern("DEBUGMSG"), {&text, 1});
    }

    Value log;
};

Value openError() {
    return makeError({{P::SubSystem, Value("DBFCDX")},
                      {P::GenCode, number(21)},
                      {P::OsCode, number(32)},
                      {P::CanRetry, flag(true)},
                      {P::Description, Value("Open error")},
                      {P::FileName, Value("NomBancos.dbf")},
                      {P::FuncSym, Value("DBSERVER")},
                      {P::ArgType, number(7)},
                      {P::ArgNum, number(1)},
                      {P::Tries, number(2)}});
}

const std::string kOpenErrorDump =
    "***********************ERROR********************************\r\n" + Version() +
    "\r\n"
    "03/05/24 14:07:09\r\n"
    " \r\n"
    "Error Object created:\r\n"
    "--------------------\r\n"
    "SubSystem       :DBFCDX\r\n"
    "SubCode         :0\r\n"
    "GenCode         :Open error\r\n"
    "OsCode          :32\r\n"
    "ArgType         :STRING\r\n"
    "FuncPtr         :0x00000000\r\n"
    "ArgNum          :1\r\n"
    "FuncSym         :DBSERVER\r\n"
    "Severity        :2\r\n"
    "CanDefault      :.F.\r\n"
    "CanRetry        :.T.\r\n"
    "CanSubstitute   :.F.\r\n"
    "Operation       :\r\n"
    "Description     :Open error\r\n"
    "FileName        :NomBancos.dbf\r\n"
    "Tries           :2\r\n"
    "FileHandle      :0\r\n"
    "SubCodeText     :\r\n"
    "Arg             :\r\n"
    "ArgTypeReq      :NIL\r\n"
    "MaxSize         :0\r\n"
    "SubstituteType  :NIL\r\n"
    "CallFuncSym     :\r\n"
    "--------------------\r\n";

TEST_F(LogFileWrites, ADumpHasTheHeadASpacerLineAndTheErrorsProperties) {
    writeWhole(directory.file("PROG.log"), "earlier\r\n");
    Value result = dump(openError());
    EXPECT_PRED2(sameValue, result, log);
    EXPECT_EQ(logContent(), "earlier\r\n" + kOpenErrorDump);
}

TEST_F(LogFileWrites, DumpsAndDebugLinesFollowOneAnotherWithoutEmptyLines) {
    dump(openError());
    EXPECT_PRED2(sameValue, debug("abc"), Value::logic(true));
    dump(openError());
    EXPECT_EQ(logContent(), kOpenErrorDump + "abc\r\n" + kOpenErrorDump);
}

TEST_F(LogFileWrites, ADumpGoesToTheFileEvenWhenMessagesGoToTheDebugger) {
    put(log, "LOG2FILE", Value::logic(false));
    dump(openError());
    EXPECT_EQ(logContent(), kOpenErrorDump);
    EXPECT_EQ(os.debugText, "");
}

TEST_F(LogFileWrites, AnExceptionDumpShowsTheExceptionLinesInHex) {
    dump(makeError({{P::SubCode, number(5333)},
                    {P::OsCode, number(0xC0000005)},
                    {P::ArgType, number(1)},
                    {P::FuncPtr, Value::pointer(0x0040112A)},
                    {P::ArgNum, number(2)}}));
    std::string content = logContent();
    EXPECT_NE(content.find("GenCode         :No error\r\n"
                           "ExceptionCode   :C0000005\r\n"
                           "ExceptionFlags  :00000001\r\n"
                           "ExceptionAddress:0040112A\r\n"
                           "ParamNumber     :2\r\n"
                           "ExceptionInfo   :00000000\r\n"
                           "Severity        :2\r\n"),
              std::string::npos)
        << content;
    EXPECT_EQ(content.find("OsCode"), std::string::npos);
}

TEST_F(LogFileWrites, NothingIsWrittenWhenTheLogCannotBeOpened) {
    EXPECT_PRED2(sameValue, put(log, "FNAME", Value("")), Value(""));
    EXPECT_PRED2(sameValue, dump(openError()), log);
    EXPECT_PRED2(sameValue, debug("lost"), Value::logic(false));
    EXPECT_EQ(os.debugText, "") << "a message for the file goes nowhere else";
    EXPECT_EQ(logContent(), "");
    EXPECT_TRUE(os.sleeps.empty());
}

TEST_F(LogFileWrites, AnythingButAnErrorObjectLeavesNoRecord) {
    EXPECT_PRED2(sameValue, dump(Value("not an error")), log);
    EXPECT_PRED2(sameValue, dump(Value()), log);
    EXPECT_EQ(logContent(), "");
}

TEST_F(LogFileWrites, DebugLinesGoToTheFileOrToTheDebuggerOutputUnchanged) {
    writeWhole(directory.file("PROG.log"), "earlier\r\n");
    EXPECT_PRED2(sameValue, debug("abc"), Value::logic(true));
    EXPECT_EQ(logContent(), "earlier\r\nabc\r\n");

    put(log, "LOG2FILE", Value::logic(false));
    EXPECT_PRED2(sameValue, debug("abc"), Value::logic(true));
    EXPECT_EQ(os.debugText, "abc") << "no line end, no prefix";
    EXPECT_PRED2(sameValue, debug(""), Value::logic(false));
    EXPECT_EQ(os.debugText, "abc");
    EXPECT_PRED2(sameValue, debug("\xC1rbol 1/2"), Value::logic(true));
    EXPECT_EQ(os.debugText, "abc\xC1rbol 1/2");
    EXPECT_EQ(logContent(), "earlier\r\nabc\r\n");
}

TEST_F(LogFileWrites, AWrittenDebugLineMayBeEmpty) {
    EXPECT_PRED2(sameValue, debug(""), Value::logic(true)) << "the line end alone is a write";
    EXPECT_EQ(logContent(), "\r\n");
}

// Another process writing debug lines and dumps to the log of the executable it is given.
CUENTAS_CHILD_ROLE(writeLog) {
    testing::RecordingOs childOs;
    childOs.executable = arguments.at(0);
    childOs.clock = testing::fixedClock();
    ScopedOs childScope(childOs);
    declareErrorClass();
    declareLogFileClass();
    Value log(CreateInstance(logFileClassSymbol(), {}));
    Value error = openError();
    for (int i = 0; i < std::stoi(arguments.at(2)); ++i) {
        Value text("child " + arguments.at(1) + " line " + std::to_string(i));
        Send(log, Symbol::intern("DEBUGMSG"), {&text, 1});
        Send(log, Symbol::intern("DUMPERROR"), {&error, 1});
    }
    return 0;
}

// Two processes write to one log at once: every record and line arrives whole and once.
TEST_F(LogFileWrites, TwoProcessesWritingAtOnceLoseAndMixNothing) {
    constexpr int kRoundsEach = 100;
    std::vector<testing::ChildProcess> writers;
    for (int writer = 0; writer < 2; ++writer) {
        writers.push_back(testing::startChildRole(
            "writeLog", {*os.executable, std::to_string(writer), std::to_string(kRoundsEach)}));
    }
    for (testing::ChildProcess& writer : writers) {
        EXPECT_EQ(writer.wait(), 0);
    }
    std::string content = logContent();
    std::map<std::string, int> debugLines;
    std::size_t dumps = 0;
    std::size_t at = 0;
    while (at < content.size()) {
        if (content.compare(at, kOpenErrorDump.size(), kOpenErrorDump) == 0) {
            ++dumps;
            at += kOpenErrorDump.size();
            continue;
        }
        std::size_t end = content.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "a cut line at " << at;
        ++debugLines[content.substr(at, end - at)];
        at = end + 2;
    }
    EXPECT_EQ(dumps, 2u * kRoundsEach);
    EXPECT_EQ(debugLines.size(), 2u * kRoundsEach) << "only whole debug lines, each once";
    for (const auto& [line, count] : debugLines) {
        EXPECT_TRUE(line.starts_with("child ")) << line;
        EXPECT_EQ(count, 1) << line;
    }
}

} // namespace
} // namespace cuentas
