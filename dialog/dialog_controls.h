#pragma once
// Reading and writing the account dialog's controls through their runtime properties.

#include "dialog/main_dialog.h"

#include <string>

namespace cuentas {

// The control of a dialog value (nil when the value is no account dialog).
Value controlOf(const Value& dialog, MainDialogId id);
// The TEXTVALUE of an edit as text.
std::string textOf(const Value& dialog, MainDialogId id);
void setText(const Value& dialog, MainDialogId id, const std::string& text);
std::string captionOf(const Value& dialog, MainDialogId id);
void setCaption(const Value& dialog, MainDialogId id, const std::string& caption);

} // namespace cuentas
