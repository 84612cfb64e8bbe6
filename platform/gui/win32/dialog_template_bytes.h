#pragma once
// A dialog template as Windows reads it: an extended dialog template (DLGTEMPLATEEX) in memory,
// with the template's own styles, font and texts, its coordinates in dialog units.

#include "platform/gui/dialog_template.h"

#include <cstdint>
#include <vector>

namespace cuentas::gui {

// The controls in the order their windows are made, which is also the order of the tab stops:
// the template's, except that each edit follows the fixed text that names it (see
// accessible_names.h). Windows' accessibility names an edit after the static text just before
// it, so it then hears the names the template gives. Fixed texts are no tab stops, so the tab
// order stays the template's.
std::vector<const ControlTemplate*> windowOrder(const DialogTemplate& dialogTemplate);

// The DLGTEMPLATEEX of the template, its controls in window order, in DWORD-aligned storage as
// DialogBoxIndirectParamW needs it.
std::vector<std::uint32_t> dialogTemplateBytes(const DialogTemplate& dialogTemplate);

} // namespace cuentas::gui
