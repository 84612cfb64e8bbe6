#include "platform/os/os.h"
#include "platform/runtime/runtime.h"

#include <gtest/gtest.h>

#include <cmath>

namespace cuentas {
namespace {

TEST(Text, TrimmingKeepsInnerBlanks) {
    EXPECT_EQ(AllTrim("  1 3  "), "1 3");
    EXPECT_EQ(Trim("  Banco  "), "  Banco");
    EXPECT_EQ(LTrim("  Banco  "), "Banco  ");
    EXPECT_EQ(AllTrim("    "), "");
    EXPECT_EQ(Trim(""), "");
}

TEST(Text, PadLRightAlignsTextsAndNumbers) {
    EXPECT_EQ(PadL(Value("49"), 4, "0"), "0049");
    EXPECT_EQ(PadL(Value(""), 4, "0"), "0000");
    EXPECT_EQ(PadL(Value("1234"), 4, "0"), "1234");
    EXPECT_EQ(PadL(Value("12345"), 4, "0"), "1234");
    EXPECT_EQ(PadL(Value::unsignedNumber(6), 2, "0"), "06");
    EXPECT_EQ(PadL(Value::integer(53), 2, "0"), "53");
    EXPECT_EQ(PadL(Value("x"), 3, ""), "  x");
}

TEST(Text, StrRightAlignsInTenCharacters) {
    resetRuntimeSettings();
    EXPECT_EQ(Str(Value::integer(6)), "         6");
    EXPECT_EQ(Str(Value::unsignedNumber(53)), "        53");
    EXPECT_EQ(Str(Value::integer(-12)), "       -12");
    EXPECT_EQ(Str(Value::number(1.5)), "         1.50");
    EXPECT_EQ(Str(Value::number(1.5, 1)), "         1.5");
    EXPECT_EQ(Str(Value::number(3221225477.0, 0)), "3221225477");
    EXPECT_EQ(Str(Value::integer(123), 2), "**");
    SetDecimalSep(',');
    EXPECT_EQ(Str(Value::number(1.5)), "         1,50");
    resetRuntimeSettings();
    EXPECT_EQ(NTrim(Value::integer(42)), "42");
}

TEST(Text, ValReadsTheLeadingNumber) {
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {{"7", 7},   {" 12x", 12}, {"x12", 0}, {"", 0},  {" ", 0},
                          {"-3", -3}, {"2.5", 2.5}, {"9", 9},   {"0", 0}, {".", 0}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(Val(c.text).asNumber(), c.value) << '"' << c.text << '"';
    }
    EXPECT_EQ(Val("7").type(), Type::Integer);
}

// The nearest double to the decimal text, every time; the digits are not summed up.
TEST(Text, ValGivesTheNearestDoubleAndItsDecimals) {
    struct Case {
        const char* text;
        double value;
        int decimals; // -1: an integer
    };
    const Case cases[] = {
        {"1.7", 1.7, 1},
        {"  -0.3", -0.3, 1},
        {"+2.675", 2.675, 3},
        {"9223372036854775800", 9223372036854775808.0, 0},
        {"123456789.123456789", 123456789.123456789, 9},
        {"0.1000000000000000055511151231257827", 0.1, 34},
        {"2147483648", 2147483648.0, 0},
        {"-2147483648", -2147483648.0, -1},
        {".5", 0.5, 1},
        {"12.", 12, -1},
        {"1.5E+02", 1.5, 1}, // no exponents: the number stops at the letter
        {"4,5", 4, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Value value = Val(c.text);
        EXPECT_EQ(value.asNumber(), c.value);
        if (c.decimals < 0) {
            EXPECT_EQ(value.type(), Type::Integer);
        } else {
            EXPECT_EQ(value.type(), Type::Float);
            EXPECT_EQ(value.decimals(), c.decimals);
        }
    }
    EXPECT_EQ(Val(std::string(400, '9')).asNumber(), HUGE_VAL);
    EXPECT_EQ(Val("0." + std::string(400, '0') + "1").asNumber(), 0.0);
}

TEST(Text, PositionsCountFromOne) {
    EXPECT_EQ(CharPos("0049", 3), "4");
    EXPECT_EQ(CharPos("0049", 0), "");
    EXPECT_EQ(CharPos("0049", 5), "");
    EXPECT_EQ(Left("C:\\CUENTAS\\BIN\\", 11), "C:\\CUENTAS\\");
    EXPECT_EQ(Left("abc", 10), "abc");
    EXPECT_EQ(SubStr("abcdef", 2, 3), "bcd");
    EXPECT_EQ(SubStr("abc", 4), "");
    EXPECT_EQ(At("\\", "a\\b\\c"), 2u);
    EXPECT_EQ(RAt("\\", "a\\b\\c"), 4u);
    EXPECT_EQ(RAt(".", "abc"), 0u);
    EXPECT_EQ(SLen("C\xE1lculo"), 7u); // one byte per character in Windows-1252
}

TEST(Text, EmptyCoversNilBlanksAndZeros) {
    EXPECT_TRUE(Empty(Value()));
    EXPECT_TRUE(Empty(Value("")));
    EXPECT_TRUE(Empty(Value("   ")));
    EXPECT_FALSE(Empty(Value(" 0 ")));
    EXPECT_TRUE(Empty(Value::integer(0)));
    EXPECT_TRUE(Empty(Value::logic(false)));
    EXPECT_TRUE(Empty(Value(ArrayCreate(0))));
    EXPECT_FALSE(Empty(Value(ArrayCreate(1))));
}

TEST(Text, UpperAndLowerFollowTheCodePage) {
    EXPECT_EQ(Upper("c\xE1lculo \xF1"), "C\xC1LCULO \xD1");
    EXPECT_EQ(Lower("\xC1\xD1"), "\xE1\xF1");
    EXPECT_EQ(Upper("open error"), "OPEN ERROR");
    EXPECT_EQ(Lower("ABC"), "abc");
}

TEST(Text, HexDigitsAreUpperCaseAndFixedWidth) {
    EXPECT_EQ(hexWord(255), "000000FF");
    EXPECT_EQ(hexWord(0xC0000005), "C0000005");
    EXPECT_EQ(hexByte(0x41), "41");
}

TEST(Text, AsStringGivesTheRuntimesTextForms) {
    EXPECT_EQ(AsString(Value::logic(true)), ".T.");
    EXPECT_EQ(AsString(Value::unsignedNumber(21)), "21");
    EXPECT_EQ(AsString(Value(Symbol::intern("deferror"))), "DEFERROR");
    EXPECT_EQ(AsString(Value()), "NIL");
    EXPECT_EQ(AsString(Value::pointer(0x00100000)), "0x00100000");
}

TEST(Dates, RenderInTheDateFormatWithOrWithoutCentury) {
    resetRuntimeSettings();
    Date date = dateFromCalendar(2026, 12, 7);
    int y = 0, m = 0, d = 0;
    calendarFromDate(date, y, m, d);
    EXPECT_EQ(y, 2026);
    EXPECT_EQ(m, 12);
    EXPECT_EQ(d, 7);
    EXPECT_EQ(DToC(date), "12/07/26");
    SetDateFrmt("DD/MM/YYYY");
    SetCentury(true);
    EXPECT_EQ(DToC(date), "07/12/2026");
    SetDateFrmt("YYYY-MM-DD");
    EXPECT_EQ(DToC(date), "2026-12-07");
    EXPECT_EQ(DToC(Date()), "    -  -  ");
    resetRuntimeSettings();
}

} // namespace
} // namespace cuentas
