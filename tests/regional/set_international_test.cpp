#include "regional/regional.h"

#include "tests/regional/regional_test_support.h"
#include "tests/support/locale_os.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

using testing::currentSettings;
using testing::LocaleOs;
using testing::ProcessExit;
using testing::RecordingErrorBlock;

Value symbolValue(const char* name) {
    return Value(Symbol::intern(name));
}

class SetInternational : public ::testing::Test {
protected:
    void SetUp() override {
        resetRuntimeSettings();
        declareErrorClass();
        os.answers = LocaleOs::spanish();
    }
    void TearDown() override { resetRuntimeSettings(); }

    LocaleOs os;
    ScopedOs scoped{os};
    RecordingErrorBlock block;
};

TEST_F(SetInternational, WindowsModeTakesEveryValueFromTheUsersLocale) {
    EXPECT_EQ(SETINTERNATIONAL(symbolValue("WINDOWS")), classicModeSymbol());
    EXPECT_EQ(currentSettings(), "decimal=44 thousand=46 time=58 twelveHour=0 am=' ' pm=' ' "
                                 "date=DD/MM/YYYY decimals=2 century=1 epoch=1910 mode=1 dict=1");
    const std::vector<std::pair<std::uint32_t, std::uint32_t>> expected{
        {0x0C0A, LOCALE_SDECIMAL}, {0x0C0A, LOCALE_STHOUSAND}, {0x0C0A, LOCALE_STIME},
        {0x0C0A, LOCALE_ITIME},    {0x0C0A, LOCALE_S1159},     {0x0C0A, LOCALE_S2359},
        {0x0C0A, LOCALE_IDATE},    {0x0C0A, LOCALE_SDATE},     {0x0C0A, LOCALE_SSHORTDATE},
        {0x0C0A, LOCALE_IDIGITS}};
    EXPECT_EQ(os.queries, expected);
    EXPECT_TRUE(block.received.empty());
    EXPECT_EQ(ErrorBlock().asCodeBlock(), block.installed.asCodeBlock());
}

TEST_F(SetInternational, TwelveHourLocaleGivesItsSuffixes) {
    os.answers = LocaleOs::american();
    SETINTERNATIONAL(symbolValue("WINDOWS"));
    EXPECT_EQ(currentSettings(), "decimal=46 thousand=44 time=58 twelveHour=1 am=' AM' "
                                 "pm=' PM' date=MM/DD/YYYY decimals=2 century=1 epoch=1910 "
                                 "mode=1 dict=1");
}

TEST_F(SetInternational, EveryQueryFailingGivesTheFallbacks) {
    os.answers.clear();
    SETINTERNATIONAL(symbolValue("WINDOWS"));
    EXPECT_EQ(currentSettings(), "decimal=46 thousand=44 time=58 twelveHour=1 am=' am' "
                                 "pm=' pm' date=MM/DD/YY decimals=2 century=1 epoch=1910 "
                                 "mode=1 dict=1");
    EXPECT_EQ(os.queries.size(), 10u);
}

TEST_F(SetInternational, AnswersAreReadAsTheRuntimeReadsThem) {
    struct Case {
        const char* what;
        std::map<std::uint32_t, std::string> answers;
        std::map<std::uint32_t, int> rawResults;
        const char* expected;
    };
    const Case cases[] = {
        {"separators of several characters give their first",
         {{LOCALE_SDECIMAL, ",."}, {LOCALE_STHOUSAND, "\xA0."}, {LOCALE_STIME, "h "}},
         {},
         "decimal=44 thousand=160 time=104"},
        {"empty separators take the fallbacks",
         {{LOCALE_SDECIMAL, ""}, {LOCALE_STHOUSAND, ""}, {LOCALE_STIME, ""}},
         {},
         "decimal=46 thousand=44 time=58"},
        {"empty designators leave one blank",
         {{LOCALE_ITIME, "0"}, {LOCALE_S1159, ""}, {LOCALE_S2359, ""}},
         {},
         "twelveHour=1 am=' ' pm=' '"},
        {"a clock number without digits counts as 0", {{LOCALE_ITIME, "x"}}, {}, "twelveHour=1"},
        {"a negative result is no answer",
         {},
         {{LOCALE_SDECIMAL, -1}, {LOCALE_S1159, -5}},
         "decimal=46 thousand=44 time=58 twelveHour=1 am=' am'"},
        {"decimals are the number answered", {{LOCALE_IDIGITS, "3 digits"}}, {}, "decimals=3"},
        {"decimals without a digit are 0", {{LOCALE_IDIGITS, "-"}}, {}, "decimals=0"},
    };
    for (const Case& c : cases) {
        resetRuntimeSettings();
        os.answers = c.answers;
        os.rawResults = c.rawResults;
        SETINTERNATIONAL(symbolValue("WINDOWS"));
        EXPECT_NE(currentSettings().find(c.expected), std::string::npos)
            << c.what << ": " << currentSettings();
    }
}

TEST_F(SetInternational, AnAnswerCountBeyondTheBufferReadsOnlyTheBuffer) {
    os.answers = {{LOCALE_SSHORTDATE, "dd/MM/yyyy"}};
    os.rawResults = {{LOCALE_S1159, 1000}};
    SETINTERNATIONAL(symbolValue("WINDOWS"));
    EXPECT_EQ(runtimeSettings().regional.amSuffix.size(), 64u); // the blank and 63 bytes
}

TEST_F(SetInternational, DateOrderOtherThanOneOrTwoIsMonthFirst) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", "MM/DD/YYYY"},  {"1", "DD/MM/YYYY"}, {"2", "YYYY/MM/DD"},     {"3", "MM/DD/YYYY"},
        {"-1", "MM/DD/YYYY"}, {"x", "MM/DD/YYYY"}, {"65537", "DD/MM/YYYY"}, // 16 bits kept
    };
    for (const auto& [order, format] : cases) {
        os.answers[LOCALE_IDATE] = order;
        SETINTERNATIONAL(symbolValue("WINDOWS"));
        EXPECT_EQ(runtimeSettings().regional.dateFormat, format) << "order " << order;
    }
}

TEST_F(SetInternational, WithoutArgumentReportsTheModeAndChangesNothing) {
    EXPECT_EQ(SETINTERNATIONAL(), classicModeSymbol());
    SETINTERNATIONAL(symbolValue("WINDOWS"));
    std::string settings = currentSettings();
    os.queries.clear();
    EXPECT_EQ(SETINTERNATIONAL(), windowsModeSymbol());
    EXPECT_EQ(currentSettings(), settings);
    EXPECT_TRUE(os.queries.empty());
}

TEST_F(SetInternational, ClassicAndBinarySetFixedValuesAndKeepTheEpoch) {
    SETINTERNATIONAL(symbolValue("WINDOWS"));
    EXPECT_EQ(SETINTERNATIONAL(symbolValue("CLASSIC")), windowsModeSymbol());
    EXPECT_EQ(SETINTERNATIONAL(symbolValue("CLASSIC")), classicModeSymbol());
    EXPECT_EQ(currentSettings(), "decimal=46 thousand=44 time=58 twelveHour=0 am='' pm='' "
                                 "date=MM/DD/YY decimals=2 century=0 epoch=1910 mode=0 dict=0");
    SetEpoch(1950);
    EXPECT_EQ(SETINTERNATIONAL(symbolValue("BINARY")), classicModeSymbol());
    EXPECT_EQ(currentSettings(), "decimal=46 thousand=44 time=58 twelveHour=0 am='' pm='' "
                                 "date=MM/DD/YY decimals=2 century=0 epoch=1950 mode=2 dict=2");
    EXPECT_EQ(SETINTERNATIONAL(), binaryModeSymbol());
    EXPECT_EQ(os.queries.size(), 10u); // only WINDOWS asks the locale
}

TEST_F(SetInternational, AModeCodeOtherThanOneOrTwoReadsAsClassic) {
    setInternationalMode(7);
    EXPECT_EQ(SETINTERNATIONAL(), classicModeSymbol());
}

TEST_F(SetInternational, ModeNamedByTextInAnyCaseIsAccepted) {
    EXPECT_EQ(SETINTERNATIONAL(Value("windows")), classicModeSymbol());
    EXPECT_EQ(SETINTERNATIONAL(Value("Binary")), windowsModeSymbol());
    EXPECT_EQ(SETINTERNATIONAL(), binaryModeSymbol());
    EXPECT_TRUE(block.received.empty());
}

TEST_F(SetInternational, AnUnknownModeReachesTheErrorBlockOnceAndChangesNothing) {
    SETINTERNATIONAL(symbolValue("WINDOWS"));
    std::string settings = currentSettings();
    os.queries.clear();
    RecordingErrorBlock retrying(Value::logic(true)); // a retry answer must not loop
    EXPECT_EQ(SETINTERNATIONAL(symbolValue("GERMAN")), windowsModeSymbol());
    EXPECT_EQ(currentSettings(), settings);
    EXPECT_TRUE(os.queries.empty());
    ASSERT_EQ(retrying.received.size(), 1u);
    const Value& error = retrying.received[0];
    EXPECT_TRUE(IsInstanceOf(error, Symbol::intern("ERROR")));
    EXPECT_EQ(errorText(error, ErrorProperty::SubSystem), "International");
    EXPECT_EQ(errorGet(error, ErrorProperty::GenCode).type(), Type::Unsigned);
    EXPECT_EQ(errorNumber(error, ErrorProperty::GenCode), 30u);
    EXPECT_TRUE(errorFlag(error, ErrorProperty::CanDefault));
    EXPECT_EQ(errorText(error, ErrorProperty::Arg), "GERMAN");
    // Everything else keeps a new Error object's defaults.
    EXPECT_EQ(errorNumber(error, ErrorProperty::SubCode), 0u);
    EXPECT_EQ(errorNumber(error, ErrorProperty::Severity), 2u);
    EXPECT_FALSE(errorFlag(error, ErrorProperty::CanRetry));
    EXPECT_FALSE(errorFlag(error, ErrorProperty::CanSubstitute));
    EXPECT_EQ(errorText(error, ErrorProperty::Description), "");
    EXPECT_EQ(errorText(error, ErrorProperty::Operation), "");
    EXPECT_EQ(ErrorBlock().asCodeBlock(), retrying.installed.asCodeBlock());
}

TEST_F(SetInternational, AModeThatIsNoSymbolIsRejectedWithItsText) {
    EXPECT_EQ(SETINTERNATIONAL(Value::integer(1)), classicModeSymbol());
    ASSERT_EQ(block.received.size(), 1u);
    EXPECT_EQ(errorText(block.received[0], ErrorProperty::Arg), "1");
    EXPECT_EQ(runtimeSettings().regional.modeCode, 0u);
}

// A runtime error while the settings are applied: either through the error function, as the
// runtime raises its own errors, or as a ready Error object.
enum class Raising { ThroughErrorFunction, AsErrorObject };

class SetInternationalFailing : public SetInternational,
                                public ::testing::WithParamInterface<Raising> {};

TEST_P(SetInternationalFailing, ARuntimeErrorSkipsTheRestSilentlyAndRestoresTheBlock) {
    Value previousFunction = ErrorFunc(
        Value::pointer(addressSpace().storeFunction([](Arguments) { return newErrorObject(); })));
    os.beforeAnswer = [raising = GetParam()](std::uint32_t item) {
        if (item != LOCALE_ITIME) {
            return;
        }
        if (raising == Raising::ThroughErrorFunction) {
            RuntimeError error;
            error.genCode = gencode::kInternal;
            error.description = "locale query failed";
            raiseError(error);
        } else {
            raiseErrorObject(newErrorObject());
        }
        ADD_FAILURE() << "the settings went on after the error";
    };
    SetAmPm(true);
    SetAMExt(" before");
    EXPECT_EQ(SETINTERNATIONAL(symbolValue("WINDOWS")), classicModeSymbol());
    ErrorFunc(previousFunction);

    // The settings before the clock are in, the clock and everything after it untouched.
    EXPECT_EQ(currentSettings(), "decimal=44 thousand=46 time=58 twelveHour=1 am=' before' "
                                 "pm='' date=MM/DD/YY decimals=2 century=0 epoch=1900 "
                                 "mode=1 dict=0");
    EXPECT_EQ(os.queries.back().second, LOCALE_ITIME);
    EXPECT_TRUE(block.received.empty());
    EXPECT_EQ(ErrorBlock().asCodeBlock(), block.installed.asCodeBlock());
    EXPECT_EQ(SETINTERNATIONAL(), windowsModeSymbol());
}

INSTANTIATE_TEST_SUITE_P(Raising, SetInternationalFailing,
                         ::testing::Values(Raising::ThroughErrorFunction, Raising::AsErrorObject));

TEST_F(SetInternational, AnyOtherExceptionPassesButTheBlockIsPutBack) {
    os.beforeAnswer = [](std::uint32_t item) {
        if (item == LOCALE_SDATE) {
            throw ProcessExit{3};
        }
    };
    EXPECT_THROW(SETINTERNATIONAL(symbolValue("WINDOWS")), ProcessExit);
    EXPECT_EQ(ErrorBlock().asCodeBlock(), block.installed.asCodeBlock());
}

TEST_F(SetInternational, TheRoutineIsOnTheCallStackWhileItRuns) {
    std::string seen;
    os.beforeAnswer = [&](std::uint32_t) { seen = ProcName(0); };
    SETINTERNATIONAL(symbolValue("WINDOWS"));
    EXPECT_EQ(seen, "SETINTERNATIONAL");
    EXPECT_EQ(ProcName(0), "");
}

} // namespace
} // namespace cuentas
