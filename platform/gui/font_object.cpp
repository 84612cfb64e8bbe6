#include "platform/gui/font_object.h"

#include "platform/gui/dialog_units.h"
#include "platform/gui/fonts.h"

namespace cuentas::gui {
namespace {

constexpr int kNormalWeight = 400;
constexpr int kBoldWeight = 700;

FontObject& font(Object& self) {
    return static_cast<FontObject&>(self);
}
const FontObject& font(const Object& self) {
    return static_cast<const FontObject&>(self);
}

// A property that switches one quality of the font on or off.
ClassInfo& switchProperty(ClassInfo& info, std::string_view name, bool (*get)(const FontObject&),
                          void (*set)(FontObject&, bool)) {
    return info.property(
        name, [get](const Object& self) { return Value::logic(get(font(self))); },
        [get, set](Object& self, const Value& value) {
            if (value.isLogic()) {
                set(font(self), value.asLogic());
            }
            return Value::logic(get(font(self)));
        });
}

} // namespace

QFont FontObject::qfont() const {
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
    QFont result = toQFont(effective, screenDpi());
    result.setUnderline(underline);
    return result;
}

Value makeFont(FontFamily family, int points, std::string faceName) {
    std::vector<Value> args{Value::unsignedNumber(static_cast<std::uint32_t>(family)),
                            Value::integer(points), Value(std::move(faceName))};
    return Value(CreateInstance(Symbol::intern("FONT"), args));
}

void declareFontClass() {
    ClassInfo& info =
        DeclareClass("FONT", {}, [](const ClassInfo& c) { return std::make_shared<FontObject>(c); })
            .method("INIT",
                    [](Object& self, Arguments args) {
                        FontObject& f = font(self);
                        if (!args.empty() && args[0].isNumeric()) {
                            std::uint32_t family = args[0].asUnsigned();
                            f.family =
                                family <= 3 ? static_cast<FontFamily>(family) : FontFamily::Any;
                        }
                        if (args.size() > 1 && args[1].isNumeric() && args[1].asInteger() > 0) {
                            f.definition.pointSize = args[1].asInteger();
                        }
                        if (args.size() > 2) {
                            f.definition.faceName = args[2].asString();
                        }
                        return Value(self.reference());
                    })
            .property("FACENAME",
                      [](const Object& self) { return Value(font(self).definition.faceName); })
            .property(
                "SIZE",
                [](const Object& self) { return Value::integer(font(self).definition.pointSize); })
            .property("FAMILY", [](const Object& self) {
                return Value::unsignedNumber(static_cast<std::uint32_t>(font(self).family));
            });
    switchProperty(
        info, "BOLD", [](const FontObject& f) { return f.definition.weight >= kBoldWeight; },
        [](FontObject& f, bool on) { f.definition.weight = on ? kBoldWeight : kNormalWeight; });
    switchProperty(
        info, "ITALIC", [](const FontObject& f) { return f.definition.italic; },
        [](FontObject& f, bool on) { f.definition.italic = on; });
    switchProperty(
        info, "UNDERLINE", [](const FontObject& f) { return f.underline; },
        [](FontObject& f, bool on) { f.underline = on; });
}

} // namespace cuentas::gui
