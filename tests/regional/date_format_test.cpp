#include "regional/date_format.h"
#include "regional/regional.h"

#include "tests/regional/regional_test_support.h"
#include "tests/support/locale_os.h"

#include <gtest/gtest.h>

namespace cuentas {
namespace {

struct DateFormatCase {
    const char* order;
    const char* separator;
    const char* picture;
    const char* format;
};

// The locale answers of the order, the separator and the picture, and the format they make.
const DateFormatCase kDateFormats[] = {
    {"1", "/", "dd/MM/yyyy", "DD/MM/YYYY"}, {"0", "/", "M/d/yy", "MM/DD/YY"},
    {"2", "-", "yyyy-MM-dd", "YYYY-MM-DD"}, {"1", ".", "dd.MM.yy", "DD.MM.YY"},
    {"1", ". ", "d. M. yyy", "DD.MM.YY"},   {"2", "/", "YYYY/mm/dd", "YYYY/MM/DD"},
};

TEST(DateFormat, IsBuiltFromOrderSeparatorAndPicture) {
    for (const auto& c : kDateFormats) {
        EXPECT_EQ(dateFormatFrom(std::atoi(c.order), c.separator[0], c.picture), c.format)
            << c.picture;
    }
}

TEST(DateFormat, LocaleAnswersGiveTheFormatAndTheCenturyIsShown) {
    declareErrorClass();
    for (const auto& c : kDateFormats) {
        resetRuntimeSettings();
        testing::LocaleOs os;
        ScopedOs scoped(os);
        os.answers = {
            {LOCALE_IDATE, c.order}, {LOCALE_SDATE, c.separator}, {LOCALE_SSHORTDATE, c.picture}};
        SETINTERNATIONAL(Value(windowsModeSymbol()));
        EXPECT_EQ(runtimeSettings().regional.dateFormat, c.format) << c.picture;
        EXPECT_TRUE(runtimeSettings().regional.centuryShown) << c.picture;
    }
    resetRuntimeSettings();
}

TEST(DateFormat, MissingSeparatorAndPictureGiveSlashAndTwoDigitYears) {
    resetRuntimeSettings();
    testing::LocaleOs os;
    ScopedOs scoped(os);
    os.answers = {{LOCALE_IDATE, "1"}};
    SETINTERNATIONAL(Value(windowsModeSymbol()));
    EXPECT_EQ(runtimeSettings().regional.dateFormat, "DD/MM/YY");
    resetRuntimeSettings();
}

} // namespace
} // namespace cuentas
