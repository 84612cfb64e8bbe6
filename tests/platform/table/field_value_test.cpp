#include "platform/runtime/datetime.h"
#include "platform/table/field_value.h"

#include <gtest/gtest.h>

#include <cmath>

namespace cuentas {
namespace {

DbfField fieldOf(char type, std::uint8_t decimals = 0) {
    DbfField field;
    field.type = type;
    field.decimals = decimals;
    return field;
}

struct Conversion {
    char type;
    std::uint8_t decimals;
    std::string stored;
    Value expected;
};

TEST(FieldValue, ConvertsByTheFieldsType) {
    const Conversion cases[] = {
        {'N', 0, "   49", Value::integer(49)},
        {'N', 0, "  -12", Value::integer(-12)},
        {'N', 2, " 1234.50", Value::number(1234.5, 2)},
        {'F', 1, "  0.5", Value::number(0.5, 1)},
        {'N', 0, "     ", Value::integer(0)},
        {'N', 0, "*****", Value::integer(0)},
        {'N', 1, "  1.7", Value::number(1.7, 1)},
        {'F', 8, "1.3945052E+02", Value::number(139.45052, 8)},
        {'F', 0, "1.3945052E+02", Value::number(139.45052, 5)},
        {'N', 0, " 1.166785e+001", Value::number(11.66785, 5)},
        {'N', 0, "-2.5e-3 ", Value::number(-0.0025, 4)},
        {'N', 0, "  1E+02", Value::integer(100)},
        {'N', 0, "5.E3", Value::integer(5000)},
        {'N', 0, "1e99999", Value::number(HUGE_VAL, 0)},
        {'N', 0, "1.5E+02x", Value::number(1.5, 1)}, // not a number: its leading decimal part
        {'N', 0, "1.5E", Value::number(1.5, 1)},
        {'N', 0, "  E+02", Value::integer(0)},
        {'L', 0, "T", Value::logic(true)},
        {'L', 0, "y", Value::logic(true)},
        {'L', 0, "F", Value::logic(false)},
        {'L', 0, "?", Value::logic(false)},
        {'L', 0, " ", Value::logic(false)},
        {'D', 0, "20240229", Value(dateFromCalendar(2024, 2, 29))},
        {'D', 0, "20230229", Value(Date{})},
        {'D', 0, "2024013A", Value(Date{})},
        {'D', 0, "        ", Value(Date{})},
        {'C', 0, std::string(" a\0\r\n\xF1 ", 7), Value(std::string(" a\0\r\n\xF1 ", 7))},
        {'M', 0, "         4", Value("         4")},
        {'I', 0, std::string("\x01\x00\x00\x00", 4), Value(std::string("\x01\x00\x00\x00", 4))},
    };
    for (const Conversion& c : cases) {
        SCOPED_TRACE(std::string(1, c.type) + " '" + c.stored + "'");
        Value value = fieldValue(fieldOf(c.type, c.decimals), c.stored);
        ASSERT_EQ(value.type(), c.expected.type());
        EXPECT_TRUE(exactEquals(value, c.expected));
        EXPECT_EQ(value.decimals(), c.expected.decimals());
    }
}

} // namespace
} // namespace cuentas
