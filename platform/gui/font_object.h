#pragma once
// FONT: a font a program creates for its controls: family, size in points, face name, and the
// BOLD, ITALIC and UNDERLINE switches.

#include "platform/gui/dialog_template.h"
#include "platform/gui/native_dialog.h"
#include "platform/runtime/object.h"

namespace cuentas::gui {

// The family a font asks for when it names no face.
enum class FontFamily : std::uint32_t { Any = 0, Roman = 1, Swiss = 2, Modern = 3 };

class FontObject : public Object {
public:
    using Object::Object;
    FontDefinition definition;
    FontFamily family = FontFamily::Any;
    bool underline = false;

    // The font to make: the face of the family when no face is named.
    NativeFont nativeFont() const;
};

// A new FONT object (INIT with family, points and face name).
Value makeFont(FontFamily family, int points, std::string faceName);

void declareFontClass();

} // namespace cuentas::gui
