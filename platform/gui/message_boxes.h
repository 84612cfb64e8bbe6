#pragma once
// The desktop's message boxes (Qt's, or Windows' own), which the program installs as the
// desktop's boxes (DesktopServices). Tests call them directly and answer the box themselves.

#include "platform/os/operating_system.h"

#include <string>

namespace cuentas::gui {

// TRUE when someone can see and answer a box: on Qt a QApplication on a platform that shows
// windows to a user (not the offscreen or minimal platforms); on Windows an interactive
// window station.
bool hasDisplay();

// A modal box with the text, the caption and only an OK button.
int showMessageBox(const std::string& text, const std::string& caption, std::uint32_t flags);
// A modal box with a button for each non-zero code: "Default", "Retry", and "Break" (when a
// recovery point can take the error) or "Quit". Returns the chosen button's code; closing the
// box gives up. Windows' boxes have fixed buttons: Ignore takes the default, Retry retries and
// Abort gives up (OK and Cancel, or Retry and Cancel, when only two are offered; see
// platform/gui/win32/message_boxes.cpp).
std::uint32_t showErrorMessageBox(const std::string& text, const std::string& caption,
                                  ErrorBoxButtons buttons);

} // namespace cuentas::gui
