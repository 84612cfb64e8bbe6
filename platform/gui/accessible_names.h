#pragma once
// The names a screen reader gives the controls of a dialog template, read from the template
// itself, so that every dialog built from a template is named without work of its own.
//
// A control that shows no text of its own (an edit, or a text or button whose template text
// is empty) is named by the fixed text a reader of the window meets just before it: the
// nearest visible fixed text to its left on the same row, a row being the controls whose
// rectangles overlap vertically (between two equally near, the one that overlaps more, then
// the earlier in the template). When no fixed text stands there, the nearest visible fixed
// text before it in template order names it. The name is that text without its trailing
// colons and blanks ("Nº Banco :" names "Nº Banco"). Controls with a text of their own, and
// those no fixed text precedes, get no name here.

#include "platform/gui/dialog_template.h"

#include <map>
#include <string>
#include <string_view>

namespace cuentas::gui {

// Control id to name (Windows-1252), for the controls the rule above names.
std::map<int, std::string> accessibleNamesFromTemplate(const DialogTemplate& dialogTemplate);

// Control id to the id of the fixed text that names it, for the same controls.
std::map<int, int> namingFixedTexts(const DialogTemplate& dialogTemplate);

// A fixed text as a name: without its trailing colons and blanks.
std::string nameFromCaption(std::string_view caption);

} // namespace cuentas::gui
