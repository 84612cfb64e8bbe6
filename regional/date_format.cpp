#include "regional/date_format.h"

#include "platform/runtime/text.h"

namespace cuentas {

std::string dateFormatFrom(int order, char separator, std::string_view shortDatePicture) {
    std::string yearPart = At("YYYY", Upper(shortDatePicture)) > 0 ? "YYYY" : "YY";
    std::string sep(1, separator);
    switch (order) {
    case 1:
        return "DD" + sep + "MM" + sep + yearPart;
    case 2:
        return yearPart + sep + "MM" + sep + "DD";
    default:
        return "MM" + sep + "DD" + sep + yearPart;
    }
}

} // namespace cuentas
