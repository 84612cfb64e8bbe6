#pragma once
// The runtime's error box as a Windows message box, whose buttons are the system's own: which
// set of them stands for the codes offered, and which code each button gives back.
//   default, retry, give up: Abort, Retry (the default button), Ignore: Ignore takes the
//                            default, Retry retries, Abort gives up
//   retry, give up:          Retry (default), Cancel
//   default, give up:        OK (default) takes the default, Cancel gives up
//   give up only:            OK
// Closing the box, where it can be closed, gives up, as on Qt.

#include "platform/os/operating_system.h"

#include <cstdint>

namespace cuentas::gui {

// The MessageBoxW style for the offered codes (buttons, default button, error icon).
std::uint32_t errorBoxStyle(ErrorBoxButtons buttons);
// The code of the button MessageBoxW answered with (IDOK, IDCANCEL, ...; 0 when it failed).
std::uint32_t errorBoxAnswer(int pressed, ErrorBoxButtons buttons);

} // namespace cuentas::gui
