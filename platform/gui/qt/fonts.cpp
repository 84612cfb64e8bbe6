#include "platform/gui/qt/fonts.h"

#include "platform/gui/qt/qt_text.h"
#include "platform/gui/qt/screen.h"
#include "platform/runtime/text.h"

#include <QFontMetrics>
#include <algorithm>
#include <array>
#include <utility>

namespace cuentas::gui {

QString mapFaceName(std::string_view faceName) {
    static const std::array<std::pair<const char*, const char*>, 8> kFaces{{
        {"MS SHELL DLG", "Liberation Sans"},
        {"MS SHELL DLG 2", "Liberation Sans"},
        {"MS SANS SERIF", "Liberation Sans"},
        {"MICROSOFT SANS SERIF", "Liberation Sans"},
        {"ARIAL", "Liberation Sans"},
        {"TAHOMA", "Liberation Sans"},
        {"TIMES NEW ROMAN", "Liberation Serif"},
        {"COURIER NEW", "Liberation Mono"},
    }};
    std::string upper = Upper(AllTrim(faceName));
    for (const auto& [from, to] : kFaces) {
        if (upper == from) {
            return QString::fromLatin1(to);
        }
    }
    return fromWindows1252(faceName);
}

QFont toQFont(const FontDefinition& definition, int dpi) {
    QFont font(mapFaceName(definition.faceName));
    font.setPixelSize(std::max(1, fontPixelHeight(definition.pointSize, dpi)));
    font.setWeight(static_cast<QFont::Weight>(std::clamp(definition.weight, 100, 900)));
    font.setItalic(definition.italic);
    return font;
}

QFont toQFont(const NativeFont& font) {
    QFont result = toQFont(font.definition, screenProvider().dotsPerInch());
    result.setUnderline(font.underline);
    return result;
}

BaseUnits baseUnitsOf(const QFont& font) {
    QFontMetrics metrics(font);
    int alphabet = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return BaseUnits{(alphabet / 26 + 1) / 2, metrics.ascent() + metrics.descent()};
}

} // namespace cuentas::gui
