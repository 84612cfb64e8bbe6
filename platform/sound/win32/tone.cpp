// The tone on Windows: the system's own Beep, which takes milliseconds and frequencies from 37
// to 32,767 hertz.
#include "platform/sound/sound.h"

#include <algorithm>

#include <windows.h>

namespace cuentas::sound {

void playTone(std::uint32_t frequency, std::uint32_t ticks) {
    if (frequency < 37 || frequency > 32767 || ticks == 0) {
        return;
    }
    Beep(frequency, static_cast<DWORD>(std::min<std::uint32_t>(ticks, 182) * 1000 / 18));
}

} // namespace cuentas::sound
