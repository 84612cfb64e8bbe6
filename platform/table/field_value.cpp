#include "platform/table/field_value.h"

#include "platform/runtime/datetime.h"
#include "platform/runtime/text.h"

namespace cuentas {
namespace {

Value numberValue(const DbfField& field, std::string_view bytes) {
    Value number = Val(bytes);
    if (field.decimals == 0) {
        return number;
    }
    return Value::number(number.asNumber(), field.decimals);
}

Value dateValue(std::string_view bytes) {
    if (bytes.size() != 8 || bytes.find_first_not_of("0123456789") != std::string_view::npos) {
        return Value(Date{});
    }
    auto digits = [&](std::size_t at, std::size_t count) {
        int number = 0;
        for (std::size_t i = at; i < at + count; ++i) {
            number = number * 10 + (bytes[i] - '0');
        }
        return number;
    };
    int year = digits(0, 4);
    int month = digits(4, 2);
    int day = digits(6, 2);
    // A day that does not exist (20230231) comes back from the calendar as another one.
    Date date = dateFromCalendar(year, month, day);
    int y = 0, m = 0, d = 0;
    calendarFromDate(date, y, m, d);
    return Value(y == year && m == month && d == day ? date : Date{});
}

Value logicValue(std::string_view bytes) {
    char flag = bytes.empty() ? ' ' : bytes.front();
    return Value::logic(flag == 'T' || flag == 't' || flag == 'Y' || flag == 'y');
}

} // namespace

Value fieldValue(const DbfField& field, std::string_view bytes) {
    switch (field.type) {
    case 'N':
    case 'F':
        return numberValue(field, bytes);
    case 'D':
        return dateValue(bytes);
    case 'L':
        return logicValue(bytes);
    default:
        return Value(std::string(bytes));
    }
}

} // namespace cuentas
