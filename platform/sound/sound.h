#pragma once
// Tones through the desktop's sound output (on Linux ALSA's default device, its library loaded
// on the first tone; on Windows Beep), which the program installs as the desktop's tone
// (DesktopServices). It never shows a window or touches a file.

#include <cstdint>

namespace cuentas::sound {

// A tone of `frequency` hertz for `ticks` eighteenths of a second, at most ten seconds. Silent,
// and quiet on stderr, on a machine without a sound device or when the device is busy.
void playTone(std::uint32_t frequency, std::uint32_t ticks);

} // namespace cuentas::sound
