#include "platform/gui/dialog_units.h"

#include <cstdint>

namespace cuentas::gui {

int mulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    std::int64_t divisor = denominator;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    std::int64_t half = divisor / 2;
    std::int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
    return static_cast<int>(result);
}

PixelRect toPixels(const DialogRect& rect, BaseUnits units) {
    return PixelRect{mulDiv(rect.x, units.x, 4), mulDiv(rect.y, units.y, 8),
                     mulDiv(rect.width, units.x, 4), mulDiv(rect.height, units.y, 8)};
}

int fontPixelHeight(int points, int dpi) {
    return mulDiv(points, dpi, 72);
}

} // namespace cuentas::gui
