#pragma once
// The Qt side of the runtime's message boxes, which the program installs as the desktop's
// boxes (DesktopServices). Tests call them directly and answer the box themselves.

#include "platform/os/operating_system.h"

#include <string>

namespace cuentas::gui {

// TRUE when a QApplication runs on a platform that shows windows to a user (not the
// offscreen or minimal platforms, which have no one to answer a box).
bool hasDisplay();

// A modal box, without owner, with the text, the caption and only an OK button.
int showMessageBox(const std::string& text, const std::string& caption, std::uint32_t flags);
// A modal box with a button for each non-zero code: "Default", "Retry", and "Break" (when a
// recovery point can take the error) or "Quit". Returns the chosen button's code; closing the
// box gives up.
std::uint32_t showErrorMessageBox(const std::string& text, const std::string& caption,
                                  ErrorBoxButtons buttons);

} // namespace cuentas::gui
