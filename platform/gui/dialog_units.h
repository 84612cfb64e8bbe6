#pragma once
// Dialog units to pixels. A dialog unit is a quarter of the template font's average character
// width horizontally and an eighth of its height vertically.

#include "platform/gui/dialog_template.h"

namespace cuentas::gui {

// The base units of a font in pixels.
struct BaseUnits {
    int x = 0;
    int y = 0;
    friend bool operator==(const BaseUnits&, const BaseUnits&) = default;
};

// A rectangle in pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// number x numerator / denominator in 64 bits, rounded to the nearest integer with halves
// away from zero; -1 for a zero denominator.
int mulDiv(int number, int numerator, int denominator);

// Each of position and size converted on its own: x and width by base x / 4, y and height by
// base y / 8.
PixelRect toPixels(const DialogRect& rect, BaseUnits units);

// The pixel height of a font of `points` points at `dpi` dots per inch: round(points x dpi / 72).
int fontPixelHeight(int points, int dpi);

} // namespace cuentas::gui
