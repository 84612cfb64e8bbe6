#include "logfile/open_retry.h"

#include "platform/os/system_calls.h"
#include "platform/runtime/settings.h"

namespace cuentas {

FileHandle FOPENRETRY(const std::string& name, std::uint32_t mode) {
    for (int tries = kOpenTries; tries > 0;) {
        FileHandle handle = FOpen(name, mode);
        if (handle != kNoFile) {
            return handle;
        }
        if (!NetErr()) {
            break;
        }
        --tries;
        Sleep(1); // after the last try as well
    }
    return kNoFile;
}

} // namespace cuentas
