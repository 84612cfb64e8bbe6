// The regional settings from Windows' own locale data, asked with the real GetLocaleInfoA.
#include "regional/regional.h"

#include "tests/regional/regional_test_support.h"

#include <array>
#include <gtest/gtest.h>

namespace cuentas {
namespace {

// The real system, but for the user's locale, which the test chooses.
class ChosenLocaleOs : public OperatingSystem {
public:
    explicit ChosenLocaleOs(std::uint32_t locale) : locale_(locale) {}
    std::uint32_t userDefaultLocale() override { return locale_; }

private:
    std::uint32_t locale_;
};

std::string answer(std::uint32_t locale, std::uint32_t item) {
    std::array<char, kLocaleBufferSize> buffer{};
    int result = operatingSystem().localeInfo(locale, item, buffer.data(), kLocaleBufferSize);
    return result > 0 ? std::string(buffer.data()) : std::string("<none>");
}

TEST(WindowsLocale, SpanishSpainAnswersAsItsUsersWriteNumbersAndDates) {
    constexpr std::uint32_t kSpanishSpain = 0x0C0A;
    EXPECT_EQ(answer(kSpanishSpain, LOCALE_SDECIMAL), ",");
    EXPECT_EQ(answer(kSpanishSpain, LOCALE_STHOUSAND), ".");
    EXPECT_EQ(answer(kSpanishSpain, LOCALE_ITIME), "1");
    EXPECT_EQ(answer(kSpanishSpain, LOCALE_IDATE), "1");
    EXPECT_EQ(answer(kSpanishSpain, LOCALE_SDATE), "/");
    // "dd/MM/yyyy" on Windows, "d/M/yyyy" in Wine's locale data: day first, four-digit year.
    const std::string spanish = answer(kSpanishSpain, LOCALE_SSHORTDATE);
    EXPECT_TRUE(spanish == "dd/MM/yyyy" || spanish == "d/M/yyyy") << spanish;
    EXPECT_EQ(answer(0x0409, LOCALE_SSHORTDATE), "M/d/yyyy");
    // Too small a buffer is no answer.
    std::array<char, 2> small{};
    EXPECT_EQ(operatingSystem().localeInfo(kSpanishSpain, LOCALE_SSHORTDATE, small.data(), 2), 0);
}

struct ChosenLocale {
    std::uint32_t locale;
    const char* date;   // DToC of 7 December 2026
    const char* number; // Str of 1.5
    const char* format;
    bool twelveHour;
};

TEST(WindowsLocale, WindowsModeFollowsTheUsersLocale) {
    declareErrorClass();
    const ChosenLocale cases[] = {
        {0x0C0A, "07/12/2026", "         1,50", "DD/MM/YYYY", false},
        {0x0409, "12/07/2026", "         1.50", "MM/DD/YYYY", true},
        {0x0407, "07.12.2026", "         1,50", "DD.MM.YYYY", false},
    };
    for (const ChosenLocale& c : cases) {
        SCOPED_TRACE(c.locale);
        ChosenLocaleOs chosen(c.locale);
        ScopedOs scoped(chosen);
        resetRuntimeSettings();
        testing::RecordingErrorBlock block;
        EXPECT_EQ(SETINTERNATIONAL(Value(windowsModeSymbol())), classicModeSymbol());
        EXPECT_EQ(runtimeSettings().regional.dateFormat, c.format);
        EXPECT_EQ(runtimeSettings().regional.twelveHourClock, c.twelveHour);
        EXPECT_EQ(DToC(dateFromCalendar(2026, 12, 7)), c.date);
        EXPECT_EQ(Str(Value::number(1.5)), c.number);
        EXPECT_TRUE(block.received.empty());
    }
    resetRuntimeSettings();
}

} // namespace
} // namespace cuentas
