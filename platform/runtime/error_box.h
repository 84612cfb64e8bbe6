#pragma once
// How the runtime puts an error before the user: its error message box, the plain message
// box (MessageBoxA) and tones. All go through the operating-system seam.

#include <cstdint>
#include <string>

namespace cuentas {

// Button codes of the error message box. The break code always carries the top bit; its low
// bits are 3 when a recovery point can take the error, 0 when giving up ends the process.
inline constexpr std::uint32_t kDefaultButtonCode = 1;
inline constexpr std::uint32_t kRetryButtonCode = 2;
inline constexpr std::uint32_t kBreakFlag = 0x80000000;
inline constexpr std::uint32_t kBreakToRecoveryCode = 0x80000003;

// Shows `text` in a modal box with a button for each non-zero code ("Default", "Retry", and
// "Break" or "Quit" for giving up) and returns the chosen button's code: 1, 2 or the break
// code. Without a display the text goes to stderr and the answer is the break code.
std::uint32_t ErrorMessageBox(const std::string& text, const std::string& caption,
                              std::uint32_t defaultCode, std::uint32_t retryCode,
                              std::uint32_t breakCode);

// A modal box with the text, the caption and only an OK button, without an owner window;
// on stderr without a display. Returns 1 (OK).
int MessageBoxA(const std::string& text, const std::string& caption, std::uint32_t flags = 0);

// Sounds a tone of `frequency` hertz for `duration` ticks of 1/18.2 second; silent when the
// machine has no sound output. The caller decides whether sounds are on (SetBeep).
void Tone(std::uint32_t frequency, std::uint32_t duration);

} // namespace cuentas
