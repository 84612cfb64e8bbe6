#include "tests/errors/error_fixture.h"

#include <cfenv>
#include <filesystem>

namespace cuentas {
namespace {

using testing::flag;
using testing::makeError;
using testing::number;
using testing::ProcessExit;
using testing::readWhole;
using testing::RecordingOs;
using P = ErrorProperty;

class DefaultErrorTest : public testing::ErrorLayerTest {
protected:
    void SetUp() override {
        ErrorLayerTest::SetUp();
        previousFunction_ = ErrorFunc(defErrorGenPointer());
    }
    void TearDown() override {
        ErrorFunc(previousFunction_);
        ErrorLayerTest::TearDown();
    }

    bool logExists() const { return std::filesystem::exists(logPath()); }
    const RecordingOs::Box& onlyBox() const {
        EXPECT_EQ(os.errorBoxes.size(), 1u);
        return os.errorBoxes.back();
    }
    void answerWith(std::uint32_t code) {
        os.errorBoxAnswer = [code](const ErrorBoxButtons&) { return code; };
    }

private:
    Value previousFunction_;
};

struct SharingCase {
    const char* name;
    bool canDefault;
    std::uint32_t genCode;
    std::uint32_t osCode;
    bool quiet;
};

TEST_F(DefaultErrorTest, SharingAndLockViolationsUnderOpenErrorAreSettledQuietly) {
    const std::vector<SharingCase> cases{
        {"sharing violation", true, 21, 32, true},   {"lock violation", true, 21, 33, true},
        {"no default answer", false, 21, 32, false}, {"access denied", true, 21, 5, false},
        {"lock error code", true, 40, 33, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        os.errorBoxes.clear();
        NetErr(false);
        answerWith(kDefaultButtonCode);
        Value answer = DEFERROR(makeError({{P::CanDefault, flag(c.canDefault)},
                                           {P::GenCode, number(c.genCode)},
                                           {P::OsCode, number(c.osCode)}}));
        EXPECT_TRUE(answer.isLogic() && !answer.asLogic());
        EXPECT_EQ(NetErr(), c.quiet);
        EXPECT_EQ(os.errorBoxes.size(), c.quiet ? 0u : 1u);
        EXPECT_EQ(os.tones.empty(), c.quiet);
        EXPECT_EQ(logExists(), !c.quiet);
        std::filesystem::remove(logPath());
        os.tones.clear();
    }
}

TEST_F(DefaultErrorTest, AValueThatIsNoErrorObjectBecomesAWrongClassError) {
    DeclareClass("NOTANERROR");
    const std::vector<std::pair<Value, std::string>> cases{
        {Value("texto"), "texto"},
        {Value(ObjectRef()), "{NULL_OBJECT}"},
        {Value(CreateInstance(Symbol::intern("NOTANERROR"))), "{NOTANERROR}"},
    };
    for (const auto& [received, argument] : cases) {
        SCOPED_TRACE(argument);
        os.errorBoxes.clear();
        answerWith(kDefaultButtonCode);
        Value answer = DEFERROR(received);
        EXPECT_TRUE(answer.isLogic() && !answer.asLogic());
        const auto& box = onlyBox();
        EXPECT_EQ(box.caption, "ERROR");
        EXPECT_EQ(box.text, "Error Code:  28 [ WRONG CLASS ]\r\n"
                            "Function: DEFERROR\r\n"
                            "Argument: " +
                                argument +
                                "\r\n"
                                "Argument Number: 1\r\n");
        EXPECT_EQ(box.buttons.defaultCode, 1u);
        EXPECT_EQ(box.buttons.retryCode, 0u);
        EXPECT_EQ(box.buttons.breakCode, 0x80000000u);
    }
}

TEST_F(DefaultErrorTest, AWrongClassErrorIsBuiltEvenWithoutAnInstalledConversion) {
    Value previous = ErrorFunc(Value());
    answerWith(kDefaultButtonCode);
    DEFERROR(Value::integer(5));
    EXPECT_EQ(onlyBox().text.substr(0, 33), "Error Code:  28 [ WRONG CLASS ]\r\n");
    ErrorFunc(previous);
}

TEST_F(DefaultErrorTest, APointerSubstituteMakesTheErrorCatastrophicInTheTextAndTheLog) {
    Value error = makeError({{P::Severity, number(1)},
                             {P::SubstituteType, number(18)},
                             {P::GenCode, number(4)},
                             {P::CanSubstitute, flag(true)}});
    answerWith(kDefaultButtonCode);
    Value answer = DEFERROR(error);
    EXPECT_TRUE(answer.isPointer());
    EXPECT_EQ(answer.asAddress(), 0u);
    EXPECT_EQ(onlyBox().caption, "WARNING");
    EXPECT_EQ(onlyBox().text, "Error Code:  4 [ NUMERIC OVERFLOW ]\r\n");
    EXPECT_EQ(errorNumber(error, P::Severity), 3u);
    EXPECT_NE(readWhole(logPath()).find("\r\nSeverity        :3\r\n"), std::string::npos);
}

TEST_F(DefaultErrorTest, ARetryThatNeverHelpsIsNotOfferedAndTheLogSaysSo) {
    Value error = makeError(
        {{P::GenCode, number(14)}, {P::CanRetry, flag(true)}, {P::CanDefault, flag(true)}});
    answerWith(kDefaultButtonCode);
    DEFERROR(error);
    EXPECT_EQ(onlyBox().buttons.retryCode, 0u);
    EXPECT_FALSE(errorFlag(error, P::CanRetry));
    EXPECT_NE(readWhole(logPath()).find("\r\nCanRetry        :.F.\r\n"), std::string::npos);

    os.errorBoxes.clear();
    Value open = makeError({{P::GenCode, number(21)}, {P::CanRetry, flag(true)}});
    answerWith(kRetryButtonCode);
    Value answer = DEFERROR(open);
    EXPECT_EQ(onlyBox().buttons.retryCode, 2u);
    EXPECT_EQ(onlyBox().buttons.defaultCode, 0u);
    EXPECT_TRUE(answer.isLogic() && answer.asLogic());
    EXPECT_TRUE(errorFlag(open, P::CanRetry));
}

TEST_F(DefaultErrorTest, TheCallStackListsAtMostFiveLevelsFromTheCaller) {
    answerWith(kDefaultButtonCode);
    std::vector<std::uint32_t> lines;
    lines.push_back(__LINE__ + 1);
    RoutineFrame first("APP:START");
    lines.push_back(__LINE__ + 1);
    RoutineFrame second("MAINDIALOG:SHOW");
    lines.push_back(__LINE__ + 1);
    RoutineFrame third("MAINDIALOG:EDITFOCUSCHANGE");
    lines.push_back(__LINE__ + 1);
    RoutineFrame fourth("MAINDIALOG:CALCULADC");
    lines.push_back(__LINE__ + 1);
    RoutineFrame fifth("CORRIGE");
    lines.push_back(__LINE__ + 1);
    RoutineFrame sixth("X");
    DEFERROR(makeError({{P::GenCode, number(4)}, {P::CanDefault, flag(true)}}));
    auto level = [&](const char* name, int index) {
        return std::string(name) + " (Line: " + std::to_string(lines[index]) + ")\r\n";
    };
    std::string expected = "Error Code:  4 [ NUMERIC OVERFLOW ]\r\nCallStack: \r\n" +
                           level("X", 5) + level("CORRIGE", 4) + level("MAINDIALOG:CALCULADC", 3) +
                           level("MAINDIALOG:EDITFOCUSCHANGE", 2) + level("MAINDIALOG:SHOW", 1);
    EXPECT_EQ(onlyBox().text, expected);
    // The log holds the message exactly as shown.
    EXPECT_NE(readWhole(logPath()).find("--------------\r\n" + expected + "\r\nError Object"),
              std::string::npos);
}

TEST_F(DefaultErrorTest, TheCallStackEndsAtTheFirstLevelWithoutALine) {
    answerWith(kDefaultButtonCode);
    Value error = makeError({{P::GenCode, number(4)}, {P::CanDefault, flag(true)}});
    DEFERROR(error);
    EXPECT_EQ(onlyBox().text, "Error Code:  4 [ NUMERIC OVERFLOW ]\r\n");

    os.errorBoxes.clear();
    RoutineFrame outer("OUTER");
    RoutineFrame lineless("LINELESS", SourceLocation());
    std::uint32_t innerLine = __LINE__ + 1;
    RoutineFrame inner("INNER");
    DEFERROR(error);
    EXPECT_EQ(onlyBox().text,
              "Error Code:  4 [ NUMERIC OVERFLOW ]\r\nCallStack: \r\nINNER (Line: " +
                  std::to_string(innerLine) + ")\r\n");
}

struct ChoiceCase {
    const char* name;
    std::uint32_t choice;
    bool canDefault;
    bool canSubstitute;
    std::uint32_t substituteType;
    Type answerType;
    std::string answerText;
};

TEST_F(DefaultErrorTest, EachButtonGivesItsAnswer) {
    const std::vector<ChoiceCase> cases{
        {"default with a text substitute", 1, false, true, 7, Type::String, ""},
        {"default with a number substitute", 1, true, true, 14, Type::Unsigned, "0"},
        {"default with a logic substitute", 1, false, true, 8, Type::Logic, ".F."},
        {"default without substitute", 1, true, false, 7, Type::Logic, ".F."},
        {"default offered to no one", 1, false, false, 0, Type::Logic, ".F."},
        {"retry", 2, true, true, 7, Type::Logic, ".T."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        answerWith(c.choice);
        Value answer = DEFERROR(makeError({{P::GenCode, number(4)},
                                           {P::CanDefault, flag(c.canDefault)},
                                           {P::CanSubstitute, flag(c.canSubstitute)},
                                           {P::SubstituteType, number(c.substituteType)}}));
        EXPECT_EQ(answer.type(), c.answerType);
        EXPECT_EQ(AsString(answer), c.answerText);
        EXPECT_EQ(os.errorBoxes.back().buttons.defaultCode,
                  c.canDefault || c.canSubstitute ? 1u : 0u);
    }
}

TEST_F(DefaultErrorTest, GivingUpPassesTheObjectToTheNearestRecoveryPoint) {
    Value error = makeError({{P::GenCode, number(21)}});
    std::feraiseexcept(FE_DIVBYZERO);
    std::optional<Value> received = recoverFrom([&] {
        DEFERROR(error);
        ADD_FAILURE() << "DEFERROR came back";
    });
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(received->asObject(), error.asObject());
    EXPECT_EQ(onlyBox().buttons.breakCode, 0x80000003u);
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
    EXPECT_EQ(ErrorLevel(), 0u);
}

TEST_F(DefaultErrorTest, GivingUpWithoutARecoveryPointClosesTheTablesAndQuitsWithTheCode) {
    bool tablesClosed = false;
    auto closer = addTableCloser([&] { tablesClosed = true; });
    int exitCode = -1;
    try {
        DEFERROR(makeError({{P::GenCode, number(21)}, {P::CanDefault, flag(true)}}));
    } catch (const ProcessExit& exit) {
        exitCode = exit.code;
    }
    removeTableCloser(closer);
    EXPECT_EQ(exitCode, 21);
    EXPECT_TRUE(tablesClosed);
    EXPECT_EQ(onlyBox().buttons.breakCode, 0x80000000u);
    EXPECT_TRUE(logExists()); // logged before the box
}

TEST_F(DefaultErrorTest, ThreeTonesSoundOnlyWithSoundsOn) {
    answerWith(kDefaultButtonCode);
    Value error = makeError({{P::GenCode, number(4)}, {P::CanDefault, flag(true)}});
    DEFERROR(error);
    EXPECT_EQ(os.tones,
              (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{440, 1}, {494, 1}, {523, 1}}));
    os.tones.clear();
    SetBeep(false);
    DEFERROR(error);
    EXPECT_TRUE(os.tones.empty());
    EXPECT_EQ(os.errorBoxes.size(), 2u);
}

TEST_F(DefaultErrorTest, WithErrorLoggingOffTheLogIsNotTouched) {
    answerWith(kDefaultButtonCode);
    SetErrorLog(false);
    DEFERROR(makeError({{P::GenCode, number(4)}, {P::CanDefault, flag(true)}}));
    EXPECT_FALSE(logExists());
    EXPECT_EQ(os.errorBoxes.size(), 1u);
}

TEST_F(DefaultErrorTest, ALogThatCannotBeWrittenChangesNothingElse) {
    os.executable = directory.file("gone/cuentas.exe");
    answerWith(kRetryButtonCode);
    Value answer = DEFERROR(makeError({{P::GenCode, number(23)}, {P::CanRetry, flag(true)}}));
    EXPECT_TRUE(answer.asLogic());
    EXPECT_EQ(os.errorBoxes.size(), 1u);
    EXPECT_EQ(os.debugText, "Internal error 1/0: SetDefault: \n"
                            "cuentas.exe: the error was not logged in " +
                                directory.file("gone/ERROR.LOG") + ": path not found\n");
}

TEST_F(DefaultErrorTest, TheDefaultBlockIsInstalledOnlyWhenNoneIs) {
    Value previous = ErrorBlock(Value());
    EXPECT_TRUE(installDefaultErrorBlock());
    EXPECT_EQ(ErrorBlock().asCodeBlock(), defaultErrorBlock().asCodeBlock());
    // THROW now runs DEFERROR on the object.
    answerWith(kRetryButtonCode);
    Value error = makeError({{P::GenCode, number(23)}, {P::CanRetry, flag(true)}});
    EXPECT_TRUE(Send(error, Symbol::intern("THROW")).asLogic());
    EXPECT_EQ(os.errorBoxes.size(), 1u);

    Value own(makeCodeBlock([](Arguments) { return Value("own"); }));
    ErrorBlock(own);
    EXPECT_FALSE(installDefaultErrorBlock());
    EXPECT_EQ(ErrorBlock().asCodeBlock(), own.asCodeBlock());
    ErrorBlock(previous);
}

TEST_F(DefaultErrorTest, ARaisedRuntimeErrorReachesTheHandlerWithItsCallerAndAnswer) {
    testing::ScopedErrorBlock block(defaultErrorBlock());
    answerWith(kDefaultButtonCode);
    std::uint32_t line = 0;
    std::uint32_t result = 99;
    {
        RoutineFrame start("APP:START");
        line = __LINE__ + 1;
        result = subtractUnsigned(3, 4);
    }
    EXPECT_EQ(result, 0u); // the substitute: the empty unsigned number
    EXPECT_EQ(onlyBox().text, "Error Code:  4 [ NUMERIC OVERFLOW ]\r\n"
                              "Subsystem: BASE\r\n"
                              "Operation: -\r\n"
                              "Description: Numeric overflow\r\n"
                              "CallStack: \r\n"
                              "APP:START (Line: " +
                                  std::to_string(line) + ")\r\n");
}

} // namespace
} // namespace cuentas
