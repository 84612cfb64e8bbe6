#include "platform/runtime/datetime.h"
#include "platform/table/field_value.h"

#include <gtest/gtest.h>

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
