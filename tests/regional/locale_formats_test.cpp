// The translation of the C library's locale data into the answers of the locale items.
#include "platform/os/locale_formats.h"
#include "platform/os/locale_items.h"

#include <gtest/gtest.h>

namespace cuentas::localeformat {
namespace {

struct DateCase {
    const char* format;
    const char* picture;
    int order;             // -1: none
    const char* separator; // nullptr: none
};

TEST(LocaleFormats, DateFormatsGivePictureOrderAndSeparator) {
    const DateCase cases[] = {
        {"%d/%m/%y", "dd/MM/yy", 1, "/"},          // es_ES
        {"%m/%d/%Y", "MM/dd/yyyy", 0, "/"},        // en_US
        {"%d.%m.%Y", "dd.MM.yyyy", 1, "."},        // de_DE
        {"%Y-%m-%d", "yyyy-MM-dd", 2, "-"},        // sv_SE
        {"%Y. %m. %d.", "yyyy. MM. dd.", 2, ". "}, // hu_HU
        {"%e.%-m.%Y", "d.M.yyyy", 1, "."},         {"%d %b %Y", "dd MMM yyyy", 1, " "},
        {"%Od/%Om/%Ey", "dd/MM/yy", 1, "/"},       {"%d de %B", "dd 'de' MMMM", -1, " de "},
        {"%Y%m%d", "yyyyMMdd", 2, nullptr},        {"%d/%y/%m", "dd/yy/MM", -1, "/"},
        {"it's %d", "'it''s' dd", -1, nullptr},    {"", "", -1, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(shortDatePicture(c.format), c.picture) << c.format;
        auto order = dateOrder(c.format);
        EXPECT_EQ(order.value_or(-1), c.order) << c.format;
        auto separator = dateSeparator(c.format);
        EXPECT_EQ(separator.has_value(), c.separator != nullptr) << c.format;
        if (separator && c.separator) {
            EXPECT_EQ(*separator, c.separator) << c.format;
        }
    }
}

TEST(LocaleFormats, CompositeConversionsAreWrittenOut) {
    CompositeFormats composites{"%d/%m/%y", "%T", ""};
    EXPECT_EQ(expand("%D", composites), "%m/%d/%y");
    EXPECT_EQ(expand("%F", composites), "%Y-%m-%d");
    EXPECT_EQ(expand("%X", composites), "%H:%M:%S");
    EXPECT_EQ(expand("%r", composites), "%I:%M:%S %p");
    EXPECT_EQ(expand("%x %%", composites), "%d/%m/%y %%");
    CompositeFormats circular{"%x", "%X", "%r"};
    EXPECT_EQ(expand("%x", circular), ""); // a circle ends instead of running away
    EXPECT_EQ(expand("%r", circular), "");
}

TEST(LocaleFormats, TimeFormatsGiveClockAndSeparator) {
    struct Case {
        const char* format;
        bool twelveHour;
        const char* separator;
    };
    const Case cases[] = {
        {"%H:%M:%S", false, ":"},     {"%I:%M:%S %p", true, ":"}, {"%H.%M.%S", false, "."},
        {"%l h %M", true, " h "},     {"%k%M", false, nullptr},   {"%p %I:%M", true, ":"},
        {"%H:%S:%M", false, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(usesTwelveHourClock(c.format), c.twelveHour) << c.format;
        auto separator = timeSeparator(c.format);
        EXPECT_EQ(separator.value_or("none"), c.separator ? c.separator : "none") << c.format;
    }
}

TEST(LocaleFormats, LocaleNamesAndIdentifiersMeet) {
    EXPECT_EQ(localeIdentifier("es_ES.UTF-8"), 0x0C0Au);
    EXPECT_EQ(localeIdentifier("es_ES@euro"), 0x0C0Au);
    EXPECT_EQ(localeIdentifier("en_US.utf8"), 0x0409u);
    EXPECT_EQ(localeIdentifier("de_DE"), 0x0407u);
    EXPECT_EQ(localeIdentifier("C"), LOCALE_USER_DEFAULT);
    EXPECT_EQ(localeIdentifier("POSIX"), LOCALE_USER_DEFAULT);
    EXPECT_EQ(localeIdentifier("C.UTF-8"), LOCALE_USER_DEFAULT);
    EXPECT_EQ(localeIdentifier("xx_YY.UTF-8"), LOCALE_USER_DEFAULT);
    EXPECT_EQ(localeName(0x0C0A).value_or(""), "es_ES");
    EXPECT_EQ(localeName(0x040A).value_or(""), "es_ES");     // the traditional sort
    EXPECT_EQ(localeName(0x00010407).value_or(""), "de_DE"); // sort bits ignored
    EXPECT_FALSE(localeName(0x0400));
    EXPECT_FALSE(localeName(0x7F7F));
}

TEST(LocaleFormats, AnswersBecomeWindows1252) {
    EXPECT_EQ(windows1252FromUtf8("a. m.").value_or("none"), "a. m.");
    EXPECT_EQ(windows1252FromUtf8("\xC3\xA1").value_or("none"), "\xE1");     // á
    EXPECT_EQ(windows1252FromUtf8("\xE2\x82\xAC").value_or("none"), "\x80"); // €
    EXPECT_EQ(windows1252FromUtf8("\xE2\x80\xAF").value_or("none"), "\xA0"); // narrow nbsp
    EXPECT_EQ(windows1252FromUtf8("?").value_or("none"), "?");
    EXPECT_EQ(windows1252FromUtf8("").value_or("none"), "");
    EXPECT_FALSE(windows1252FromUtf8("\xCF\x80\xCE\xBC")); // Greek letters
    EXPECT_FALSE(windows1252FromUtf8("\xE5\x8D\x88"));     // a CJK character
    EXPECT_FALSE(windows1252FromUtf8("\xC3"));             // cut sequence
}

TEST(LocaleFormats, AnswersAreCopiedWithTheirCountIncludingTheNul) {
    char buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), 'x');
    EXPECT_EQ(copyAnswer("AM", buffer, 8), 3);
    EXPECT_STREQ(buffer, "AM");
    EXPECT_EQ(copyAnswer("", buffer, 8), 1);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(copyAnswer("1234567", buffer, 8), 8);
    EXPECT_EQ(copyAnswer("12345678", buffer, 8), 0); // no room for the NUL
    EXPECT_STREQ(buffer, "1234567");                 // and nothing written
    EXPECT_EQ(copyAnswer("12345678", buffer, 0), 9); // size 0 asks for the count
    EXPECT_EQ(copyAnswer("AM", nullptr, 8), 0);
    EXPECT_EQ(copyAnswer("AM", buffer, -1), 0);
}

} // namespace
} // namespace cuentas::localeformat
