// The other calls the runtime makes on Windows: debugger output, environment, processes and
// the language of messages.
#include "platform/os/os.h"
#include "tests/support/child_process.h"

#include <gtest/gtest.h>

#include <string>

#include <windows.h>

namespace cuentas {
namespace {

// What OutputDebugStringA hands a debugger: without one, the exception it raises reaches the
// process's own vectored handler first.
std::string debuggerText;

LONG CALLBACK catchDebugOutput(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2) {
        debuggerText.append(reinterpret_cast<const char*>(record.ExceptionInformation[1]),
                            static_cast<std::size_t>(record.ExceptionInformation[0]));
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST(WindowsServices, DebuggerOutputGoesToTheDebuggerAsItIs) {
    PVOID handler = AddVectoredExceptionHandler(1, catchDebugOutput);
    ASSERT_NE(handler, nullptr);
    debuggerText.clear();
    operatingSystem().debugOutput("abc");
    operatingSystem().debugOutput("");
    RemoveVectoredExceptionHandler(handler);
    // The system passes the text with its terminating zero.
    EXPECT_EQ(debuggerText, std::string("abc\0\0", 5));
}

TEST(WindowsServices, EnvironmentVariablesAreTheProcesssOwn) {
    SetEnvironmentVariableA("CUENTAS_TEST_VALUE", "C:\\WINDOWS");
    char buffer[260] = {};
    EXPECT_EQ(cuentas::GetEnvironmentVariableA("CUENTAS_TEST_VALUE", buffer, sizeof buffer), 10u);
    EXPECT_STREQ(buffer, "C:\\WINDOWS");
    SetEnvironmentVariableA("CUENTAS_TEST_VALUE", "");
    EXPECT_EQ(operatingSystem().environmentVariable("CUENTAS_TEST_VALUE"), std::string());
    SetEnvironmentVariableA("CUENTAS_TEST_VALUE", nullptr);
    EXPECT_EQ(operatingSystem().environmentVariable("CUENTAS_TEST_VALUE"), std::nullopt);
}

CUENTAS_CHILD_ROLE(endAtOnce) {
    return 0;
}

TEST(WindowsServices, AProcessRunsUntilItEnds) {
    EXPECT_TRUE(operatingSystem().processRunning(operatingSystem().processId()));
    testing::ChildProcess child = testing::startChildRole("endAtOnce", {});
    const int id = child.id();
    EXPECT_EQ(child.wait(), 0);
    EXPECT_FALSE(operatingSystem().processRunning(id));
}

TEST(WindowsServices, TheLanguageOfMessagesFollowsTheEnvironmentElseTheUsersLanguage) {
    SetEnvironmentVariableA("LC_ALL", "es_ES.UTF-8");
    EXPECT_EQ(operatingSystem().messageLanguage(), "es");
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        SetEnvironmentVariableA(name, nullptr);
    }
    const std::string language = operatingSystem().messageLanguage();
    EXPECT_EQ(language.size(), 2u) << language;
}

} // namespace
} // namespace cuentas
