// Numbers, dates and times as the runtime renders them after each mode.
#include "regional/regional.h"

#include "tests/regional/regional_test_support.h"
#include "tests/support/locale_os.h"

#include <chrono>
#include <clocale>
#include <gtest/gtest.h>

namespace cuentas {
namespace {

using testing::LocaleOs;

// The test system's local time is UTC.
std::chrono::system_clock::time_point localTime(int year, int month, int day, int hour, int minute,
                                                int second) {
    using namespace std::chrono;
    return sys_days(std::chrono::year(year) / month / day) + hours(hour) + minutes(minute) +
           seconds(second);
}

struct Rendering {
    const char* mode;
    std::map<std::uint32_t, std::string> answers;
    const char* number;    // Str(1234.5) with the default decimals
    const char* date;      // DToC(Today()) on 7 December 2026
    const char* afternoon; // Time() at 14:05:09
    const char* morning;   // Time() at 00:30:00
};

class RenderingAfterEachMode : public ::testing::Test {
protected:
    void SetUp() override {
        resetRuntimeSettings();
        declareErrorClass();
    }
    void TearDown() override { resetRuntimeSettings(); }

    LocaleOs os;
    ScopedOs scoped{os};
};

TEST_F(RenderingAfterEachMode, FollowsTheSettings) {
    const Rendering cases[] = {
        {"WINDOWS", LocaleOs::spanish(), "      1234,50", "07/12/2026", "14:05:09", "00:30:00"},
        {"WINDOWS", LocaleOs::american(), "      1234.50", "12/07/2026", "02:05:09 PM",
         "12:30:00 AM"},
        {"WINDOWS",
         {{LOCALE_STIME, "."},
          {LOCALE_ITIME, "1"},
          {LOCALE_IDATE, "2"},
          {LOCALE_SDATE, "-"},
          {LOCALE_SSHORTDATE, "yyyy-MM-dd"},
          {LOCALE_IDIGITS, "3"},
          {LOCALE_SDECIMAL, ","}},
         "      1234,500",
         "2026-12-07",
         "14.05.09",
         "00.30.00"},
        {"WINDOWS", {}, "      1234.50", "12/07/2026", "02:05:09 pm", "12:30:00 am"},
        {"CLASSIC", LocaleOs::spanish(), "      1234.50", "12/07/26", "14:05:09", "00:30:00"},
        {"BINARY", LocaleOs::american(), "      1234.50", "12/07/26", "14:05:09", "00:30:00"},
    };
    for (const Rendering& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + std::to_string(c.answers.size()));
        resetRuntimeSettings();
        os.answers = c.answers;
        SETINTERNATIONAL(Value(Symbol::intern(c.mode)));
        EXPECT_EQ(Str(Value::number(1234.5)), c.number);
        os.clock = localTime(2026, 12, 7, 14, 5, 9);
        EXPECT_EQ(DToC(Today()), c.date);
        EXPECT_EQ(Time(), c.afternoon);
        os.clock = localTime(2026, 12, 7, 0, 30, 0);
        EXPECT_EQ(Time(), c.morning);
    }
}

TEST_F(RenderingAfterEachMode, TheEmptyDateKeepsTheSeparatorsOfTheLocale) {
    os.answers = LocaleOs::spanish();
    SETINTERNATIONAL(Value(windowsModeSymbol()));
    EXPECT_EQ(DToC(Date()), "  /  /    ");
}

TEST_F(RenderingAfterEachMode, NumbersIgnoreTheCLibrarysNumericLocale) {
    // The GUI toolkit sets the C library's locale from the environment; the runtime's
    // separator must still be the only one that shows.
    std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    SETINTERNATIONAL(Value(classicModeSymbol()));
    std::string classic = Str(Value::number(1.5));
    std::string fixed = Str(Value::number(2.25), 8, 2);
    os.answers = LocaleOs::spanish();
    SETINTERNATIONAL(Value(windowsModeSymbol()));
    std::string windows = Str(Value::number(-0.001, 2));
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(classic, "         1.50");
    EXPECT_EQ(fixed, "    2.25");
    EXPECT_EQ(windows, "         0,00");
}

} // namespace
} // namespace cuentas
