#pragma once
// The GUI class library: dialogs built from templates, their edits, buttons and texts, fonts
// and label records, as runtime classes reached by symbol, over the toolkit's side (Qt or
// Win32); and the desktop's message boxes. It never touches files, tables or anything of the
// program's own dialogs.

#include "platform/gui/control.h"
#include "platform/gui/controls.h"
#include "platform/gui/dialog_template.h"
#include "platform/gui/dialog_units.h"
#include "platform/gui/dialog_window.h"
#include "platform/gui/focus_event.h"
#include "platform/gui/font_object.h"
#include "platform/gui/hyper_label.h"
#include "platform/gui/message_boxes.h"
#include "platform/gui/resource_id.h"
#include "platform/gui/native_dialog.h"
#include "platform/gui/picture.h"
#include "platform/gui/window_styles.h"

namespace cuentas::gui {

// Declares RESOURCEID, HYPERLABEL, FONT, EDITFOCUSCHANGEEVENT, DIALOGWINDOW, CONTROL,
// SINGLELINEEDIT, PUSHBUTTON and FIXEDTEXT into the runtime's class registry. Call it once at
// start-up, before any program class that derives from them; calling it again does no harm.
void declareGuiClasses();

} // namespace cuentas::gui
