#pragma once
// Template and program fonts as Qt fonts, and the pixels they measure. The classic dialog faces
// map onto metric-compatible free faces, so a dialog measures and looks the same on any desktop.

#include "platform/gui/dialog_template.h"
#include "platform/gui/dialog_units.h"
#include "platform/gui/native_dialog.h"

#include <QFont>
#include <QRect>
#include <QString>
#include <string_view>

namespace cuentas::gui {

// "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif", "Microsoft Sans Serif", "Arial" and
// "Tahoma" become "Liberation Sans"; "Times New Roman" "Liberation Serif"; "Courier New"
// "Liberation Mono". Other names pass as they are (the font system picks a substitute).
QString mapFaceName(std::string_view faceName);

// The Qt font of a font definition: the mapped face with a pixel height of round(points x dpi /
// 72), so the character height matches the one the dialog was designed with.
QFont toQFont(const FontDefinition& definition, int dpi);
// A program's font at the screen's resolution.
QFont toQFont(const NativeFont& font);

// Horizontal: (width of "A".."Z" "a".."z" / 26 + 1) / 2; vertical: ascent + descent.
BaseUnits baseUnitsOf(const QFont& font);

inline QRect toQRect(const PixelRect& rect) {
    return QRect(rect.x, rect.y, rect.width, rect.height);
}

} // namespace cuentas::gui
