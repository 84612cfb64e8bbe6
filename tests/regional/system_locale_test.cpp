// The locale stand-in on this machine's real locales, chosen through the environment as a
// desktop program finds them. Needs es_ES.UTF-8, en_US.UTF-8 and de_DE.UTF-8 generated.
#include "regional/regional.h"

#include "tests/regional/regional_test_support.h"

#include <array>
#include <cstdlib>
#include <gtest/gtest.h>
#include <locale.h>
#include <map>
#include <optional>

namespace cuentas {
namespace {

// Sets the locale variables for the test and puts the previous ones back afterwards.
class LocaleEnvironment {
public:
    LocaleEnvironment(std::initializer_list<std::pair<const char*, const char*>> variables) {
        for (const char* name : kNames) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            ::unsetenv(name);
        }
        for (const auto& [name, value] : variables) {
            ::setenv(name, value, 1);
        }
    }
    ~LocaleEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }
    LocaleEnvironment(const LocaleEnvironment&) = delete;
    LocaleEnvironment& operator=(const LocaleEnvironment&) = delete;

private:
    static constexpr std::array kNames{"LC_ALL", "LC_NUMERIC", "LC_TIME", "LANG"};
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Fails with a clear message when the machine lacks a locale that the test reads.
::testing::AssertionResult installed(const char* name) {
    locale_t handle = newlocale(LC_ALL_MASK, name, nullptr);
    if (!handle) {
        return ::testing::AssertionFailure() << name << " is not generated on this machine "
                                             << "(locales package, /etc/locale.gen, locale-gen)";
    }
    freelocale(handle);
    return ::testing::AssertionSuccess();
}

// The answer of one item as GetLocaleInfoA gives it: result and text.
std::pair<int, std::string> ask(std::uint32_t locale, std::uint32_t item,
                                int size = kLocaleBufferSize) {
    std::array<char, 256> buffer{};
    int result = operatingSystem().localeInfo(locale, item, buffer.data(), size);
    return {result, result > 0 ? std::string(buffer.data()) : std::string("<none>")};
}

struct ItemAnswer {
    std::uint32_t item;
    const char* answer;
};

void expectAnswers(std::uint32_t locale, std::initializer_list<ItemAnswer> expected) {
    for (const auto& e : expected) {
        auto [result, text] = ask(locale, e.item);
        EXPECT_EQ(text, e.answer) << "item " << e.item;
        if (text != "<none>") {
            EXPECT_EQ(result, static_cast<int>(text.size()) + 1) << "item " << e.item;
        }
    }
}

TEST(SystemLocale, SpanishSpain) {
    ASSERT_TRUE(installed("es_ES.UTF-8"));
    LocaleEnvironment environment{{"LANG", "es_ES.UTF-8"}};
    EXPECT_EQ(operatingSystem().userDefaultLocale(), 0x0C0Au);
    expectAnswers(0x0C0A, {{LOCALE_SDECIMAL, ","},
                           {LOCALE_STHOUSAND, "."},
                           {LOCALE_STIME, ":"},
                           {LOCALE_ITIME, "1"},
                           {LOCALE_S1159, ""},
                           {LOCALE_S2359, ""},
                           {LOCALE_IDATE, "1"},
                           {LOCALE_SDATE, "/"},
                           {LOCALE_SSHORTDATE, "dd/MM/yy"},
                           {LOCALE_IDIGITS, "2"}});
}

TEST(SystemLocale, EnglishUnitedStates) {
    ASSERT_TRUE(installed("en_US.UTF-8"));
    LocaleEnvironment environment{{"LANG", "en_US.UTF-8"}};
    EXPECT_EQ(operatingSystem().userDefaultLocale(), 0x0409u);
    expectAnswers(0x0409, {{LOCALE_SDECIMAL, "."},
                           {LOCALE_STHOUSAND, ","},
                           {LOCALE_STIME, ":"},
                           {LOCALE_ITIME, "0"},
                           {LOCALE_S1159, "AM"},
                           {LOCALE_S2359, "PM"},
                           {LOCALE_IDATE, "0"},
                           {LOCALE_SDATE, "/"},
                           {LOCALE_SSHORTDATE, "MM/dd/yyyy"},
                           {LOCALE_IDIGITS, "2"}});
}

TEST(SystemLocale, GermanGermanyAskedByIdentifierFromAnotherUser) {
    ASSERT_TRUE(installed("de_DE.UTF-8"));
    LocaleEnvironment environment{{"LANG", "en_US.UTF-8"}};
    expectAnswers(0x0407, {{LOCALE_SDECIMAL, ","},
                           {LOCALE_STHOUSAND, "."},
                           {LOCALE_ITIME, "1"},
                           {LOCALE_IDATE, "1"},
                           {LOCALE_SDATE, "."},
                           {LOCALE_SSHORTDATE, "dd.MM.yyyy"}});
    expectAnswers(0x7F7F, {{LOCALE_SDECIMAL, "<none>"}}); // an identifier nobody knows
    if (!installed("ru_RU.UTF-8")) {
        expectAnswers(0x0419, {{LOCALE_SDECIMAL, "<none>"}}); // known, but not installed
    }
}

TEST(SystemLocale, TheCLocaleWhenNothingIsSet) {
    LocaleEnvironment environment{};
    EXPECT_EQ(operatingSystem().userDefaultLocale(), LOCALE_USER_DEFAULT);
    expectAnswers(LOCALE_USER_DEFAULT, {{LOCALE_SDECIMAL, "."},
                                        {LOCALE_STHOUSAND, "<none>"},
                                        {LOCALE_STIME, ":"},
                                        {LOCALE_ITIME, "1"},
                                        {LOCALE_S1159, "AM"},
                                        {LOCALE_IDATE, "0"},
                                        {LOCALE_SSHORTDATE, "MM/dd/yy"},
                                        {LOCALE_IDIGITS, "<none>"}});
}

TEST(SystemLocale, ALocaleThatIsNotInstalledActsAsC) {
    if (installed("ru_RU.UTF-8")) {
        GTEST_SKIP() << "ru_RU.UTF-8 is generated here; the test needs a missing locale";
    }
    LocaleEnvironment environment{{"LANG", "ru_RU.UTF-8"}};
    EXPECT_EQ(operatingSystem().userDefaultLocale(), 0x0419u);
    expectAnswers(0x0419, {{LOCALE_SDECIMAL, "."}, {LOCALE_SSHORTDATE, "MM/dd/yy"}});
}

TEST(SystemLocale, EachCategoryFollowsItsOwnVariableUnlessLcAllIsSet) {
    for (const char* name : {"es_ES.UTF-8", "en_US.UTF-8", "de_DE.UTF-8"}) {
        ASSERT_TRUE(installed(name));
    }
    {
        LocaleEnvironment environment{
            {"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "de_DE.UTF-8"}, {"LC_TIME", "es_ES.UTF-8"}};
        EXPECT_EQ(operatingSystem().userDefaultLocale(), 0x0407u); // numbers name the locale
        std::uint32_t user = operatingSystem().userDefaultLocale();
        expectAnswers(user, {{LOCALE_SDECIMAL, ","}, {LOCALE_SSHORTDATE, "dd/MM/yy"}});
        expectAnswers(LOCALE_USER_DEFAULT, {{LOCALE_S1159, ""}});
    }
    {
        LocaleEnvironment environment{
            {"LANG", "es_ES.UTF-8"}, {"LC_TIME", "es_ES.UTF-8"}, {"LC_ALL", "en_US.UTF-8"}};
        EXPECT_EQ(operatingSystem().userDefaultLocale(), 0x0409u);
        expectAnswers(LOCALE_USER_DEFAULT, {{LOCALE_SDECIMAL, "."}, {LOCALE_S1159, "AM"}});
    }
    {
        LocaleEnvironment environment{{"LANG", "de_DE.UTF-8"}, {"LC_ALL", ""}};
        EXPECT_EQ(operatingSystem().userDefaultLocale(), 0x0407u); // empty counts as unset
    }
}

TEST(SystemLocale, TheBufferMustHoldTheAnswerAndItsNul) {
    LocaleEnvironment environment{{"LANG", "en_US.UTF-8"}};
    EXPECT_EQ(ask(0x0409, LOCALE_SSHORTDATE, 11).first, 11);
    EXPECT_EQ(ask(0x0409, LOCALE_SSHORTDATE, 10).first, 0);
    EXPECT_EQ(ask(0x0409, LOCALE_SSHORTDATE, 0).first, 11);
    EXPECT_EQ(ask(0x0409, 9999).first, 0); // an item the stand-in does not answer
}

struct RealLocale {
    const char* name;
    const char* date;   // DToC of 7 December 2026
    const char* number; // Str of 1.5
    const char* format;
    bool twelveHour;
};

TEST(SystemLocale, WindowsModeFollowsTheRealLocale) {
    for (const char* name : {"es_ES.UTF-8", "en_US.UTF-8", "de_DE.UTF-8"}) {
        ASSERT_TRUE(installed(name));
    }
    declareErrorClass();
    const RealLocale cases[] = {
        {"es_ES.UTF-8", "07/12/2026", "         1,50", "DD/MM/YY", false},
        {"en_US.UTF-8", "12/07/2026", "         1.50", "MM/DD/YYYY", true},
        {"de_DE.UTF-8", "07.12.2026", "         1,50", "DD.MM.YYYY", false},
        {"C", "12/07/2026", "         1.50", "MM/DD/YY", false},
    };
    for (const RealLocale& c : cases) {
        LocaleEnvironment environment{{"LANG", c.name}};
        resetRuntimeSettings();
        testing::RecordingErrorBlock block;
        EXPECT_EQ(SETINTERNATIONAL(Value(windowsModeSymbol())), classicModeSymbol());
        EXPECT_EQ(runtimeSettings().regional.dateFormat, c.format) << c.name;
        EXPECT_EQ(runtimeSettings().regional.twelveHourClock, c.twelveHour) << c.name;
        EXPECT_EQ(DToC(dateFromCalendar(2026, 12, 7)), c.date) << c.name;
        EXPECT_EQ(Str(Value::number(1.5)), c.number) << c.name;
        EXPECT_TRUE(block.received.empty());
    }
    resetRuntimeSettings();
}

} // namespace
} // namespace cuentas
