#include "platform/gui/font_object.h"

#include "platform/gui/gui_symbols.h"
#include "platform/runtime/class_declaration.h"

namespace cuentas::gui {
namespace {

constexpr int kNormalWeight = 400;
constexpr int kBoldWeight = 700;

} // namespace

NativeFont FontObject::nativeFont() const {
    FontDefinition effective = definition;
    if (effective.faceName.empty()) {
        switch (family) {
        case FontFamily::Roman:
            effective.faceName = "Times New Roman";
            break;
        case FontFamily::Modern:
            effective.faceName = "Courier New";
            break;
        case FontFamily::Any:
        case FontFamily::Swiss:
            effective.faceName = "MS Shell Dlg";
            break;
        }
    }
    return NativeFont{effective, underline};
}

Value makeFont(FontFamily family, int points, std::string faceName) {
    std::vector<Value> args{Value::unsignedNumber(static_cast<std::uint32_t>(family)),
                            Value::integer(points), Value(std::move(faceName))};
    return Value(CreateInstance(symbols::kFont, args));
}

void declareFontClass() {
    ClassDeclaration<FontObject>("FONT")
        .init([](FontObject& font, Arguments args) {
            if (!args.empty() && args[0].isNumeric()) {
                std::uint32_t family = args[0].asUnsigned();
                font.family = family <= 3 ? static_cast<FontFamily>(family) : FontFamily::Any;
            }
            if (args.size() > 1 && args[1].isNumeric() && args[1].asInteger() > 0) {
                font.definition.pointSize = args[1].asInteger();
            }
            if (args.size() > 2) {
                font.definition.faceName = args[2].asString();
            }
        })
        .property("FACENAME", [](const FontObject& font) { return font.definition.faceName; })
        .property("SIZE", [](const FontObject& font) { return font.definition.pointSize; })
        .property("FAMILY",
                  [](const FontObject& font) { return static_cast<std::uint32_t>(font.family); })
        .property(
            "BOLD", [](const FontObject& font) { return font.definition.weight >= kBoldWeight; },
            [](FontObject& font, bool on) {
                font.definition.weight = on ? kBoldWeight : kNormalWeight;
            })
        .property(
            "ITALIC", [](const FontObject& font) { return font.definition.italic; },
            [](FontObject& font, bool on) { font.definition.italic = on; })
        .property("UNDERLINE", &FontObject::underline, &FontObject::underline);
}

} // namespace cuentas::gui
