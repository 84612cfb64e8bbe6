#include "platform/os/os.h"
#include "platform/runtime/process.h"
#include "platform/runtime/recovery.h"
#include "platform/runtime/runtime.h"
#include "tests/support/recording_os.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cfenv>
#include <stdexcept>

namespace cuentas {
namespace {

using testing::ProcessExit;
using testing::RecordingOs;

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override { ErrorLevel(0); }
    void TearDown() override {
        ErrorLevel(0);
        resetRuntimeSettings();
    }
    RecordingOs os;
    ScopedOs scoped{os};
};

TEST_F(ProcessTest, QuitEndsTheProcessWithTheErrorLevel) {
    EXPECT_EQ(ErrorLevel(21), 0u);
    EXPECT_EQ(ErrorLevel(), 21u);
    try {
        quitApplication();
    } catch (const ProcessExit& exit) {
        EXPECT_EQ(exit.code, 21);
    }
}

TEST_F(ProcessTest, ClosingAllTablesRunsEveryCloserNewestFirstEvenAfterAFailure) {
    std::vector<std::string> order;
    auto first = addTableCloser([&] { order.push_back("first"); });
    auto failing = addTableCloser([&] {
        order.push_back("failing");
        throw std::runtime_error("disk gone");
    });
    auto last = addTableCloser([&] { order.push_back("last"); });
    closeAllTables();
    EXPECT_EQ(order, (std::vector<std::string>{"last", "failing", "first"}));
    EXPECT_EQ(os.debugText, "closing tables: disk gone\n");
    removeTableCloser(failing);
    removeTableCloser(last);
    order.clear();
    closeAllTables();
    EXPECT_EQ(order, (std::vector<std::string>{"first"}));
    removeTableCloser(first);
}

TEST_F(ProcessTest, MathInitClearsPendingExceptionsAndRoundsToNearest) {
    std::fesetround(FE_UPWARD);
    std::feraiseexcept(FE_DIVBYZERO | FE_OVERFLOW);
    MathInit();
    EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
    EXPECT_EQ(std::fegetround(), FE_TONEAREST);
}

TEST_F(ProcessTest, DefaultDirectorySettingsAreKeptUntilTheSettingsAreReset) {
    EXPECT_EQ(GetDefaultDir(), "");
    SetDefaultDir("C:\\DATOS");
    SetDefault("D:\\");
    EXPECT_EQ(GetDefaultDir(), "C:\\DATOS");
    EXPECT_EQ(GetDefault(), "D:\\");
    resetRuntimeSettings();
    EXPECT_EQ(GetDefaultDir(), "");
    EXPECT_EQ(GetDefault(), "");
}

TEST_F(ProcessTest, TheInternalErrorIsReportedAndTheCallerGoesOn) {
    internalError(1, 0, "SetDefaultDir: C:\\DATOS");
    EXPECT_EQ(os.debugText, "Internal error 1/0: SetDefaultDir: C:\\DATOS\n");
    EXPECT_EQ(lastInternalError(), "Internal error 1/0: SetDefaultDir: C:\\DATOS");
}

TEST_F(ProcessTest, DebuggerOutputPassesTheTextWithoutALineEnd) {
    debugOut("abc");
    debugOut("");
    debugOut(nullptr);
    debugOut("d\r\ne");
    EXPECT_EQ(os.debugText, "abcd\r\ne");
}

// Without a debugger on Linux, the text reaches the standard error stream as it is.
TEST(DebuggerOutput, GoesToStandardErrorUnchanged) {
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::dup2(pipeEnds[1], 2);
        debugOut("abc");
        debugOut("\xC1\r\n");
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string received;
    char buffer[64];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        received.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(received, "abc\xC1\r\n");
}

TEST_F(ProcessTest, TheVersionNamesTheRuntimeAndItsVersion) {
    EXPECT_TRUE(Version().starts_with("Cuentas runtime ")) << Version();
}

TEST_F(ProcessTest, ARecoveryPointReceivesTheErrorPassedToItAndClosesTheFramesBetween) {
    EXPECT_FALSE(CanBreak());
    RoutineFrame outer("OUTER");
    std::optional<Value> inner;
    std::optional<Value> received = recoverFrom([&] {
        EXPECT_TRUE(CanBreak());
        inner = recoverFrom([] {
            RoutineFrame handler("HANDLER");
            LabelJump(Value("the error"));
        });
        EXPECT_TRUE(CanBreak());
        LabelJump(Value::integer(2));
    });
    ASSERT_TRUE(inner.has_value());
    EXPECT_EQ(inner->asString(), "the error");
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(received->asInteger(), 2);
    EXPECT_FALSE(CanBreak());
    EXPECT_EQ(ProcName(0), "OUTER");
    EXPECT_FALSE(recoverFrom([] {}).has_value());
}

TEST_F(ProcessTest, AJumpWithoutARecoveryPointClosesTheTablesAndEndsTheProcess) {
    bool closed = false;
    auto closer = addTableCloser([&] { closed = true; });
    try {
        LabelJump(Value("lost"));
    } catch (const ProcessExit& exit) {
        EXPECT_EQ(exit.code, 1);
    }
    removeTableCloser(closer);
    EXPECT_TRUE(closed);
    EXPECT_EQ(os.debugText, "Internal error 1/1: LabelJump without a recovery point\n");
}

} // namespace
} // namespace cuentas
