#pragma once
// Dialog units to pixels. A dialog unit is a quarter of the template font's average character
// width horizontally and an eighth of its height vertically.

#include "platform/gui/dialog_template.h"

#include <QFont>
#include <QRect>

namespace cuentas::gui {

// The base units of a font in pixels.
struct BaseUnits {
    int x = 0;
    int y = 0;
    friend bool operator==(const BaseUnits&, const BaseUnits&) = default;
};

// number x numerator / denominator in 64 bits, rounded to the nearest integer with halves
// away from zero; -1 for a zero denominator.
int mulDiv(int number, int numerator, int denominator);

// Horizontal: (width of "A".."Z" "a".."z" / 26 + 1) / 2; vertical: ascent + descent.
BaseUnits baseUnitsOf(const QFont& font);

// Each of position and size converted on its own: x and width by base x / 4, y and height by
// base y / 8.
QRect toPixels(const DialogRect& rect, BaseUnits units);

// The pixel height of a font of `points` points at `dpi` dots per inch: round(points x dpi / 72).
int fontPixelHeight(int points, int dpi);

} // namespace cuentas::gui
