// Windows error codes in the runtime's numbering, which is theirs.
#include "platform/os/os_error.h"

#include <windows.h>

namespace cuentas {

std::uint32_t osErrorFromSystem(int e) {
    switch (e) {
    case ERROR_HANDLE_DISK_FULL:
        return oserror::kDiskFull;
    case ERROR_WRITE_PROTECT:
        return oserror::kAccessDenied;
    case ERROR_DIRECTORY:
        return oserror::kPathNotFound;
    default:
        return static_cast<std::uint32_t>(e);
    }
}

OsCause osCauseFromSystem(int e) {
    switch (e) {
    case ERROR_WRITE_PROTECT:
        return OsCause::ReadOnly;
    case ERROR_DIRECTORY:
        return OsCause::NotFolder;
    case ERROR_CANT_RESOLVE_FILENAME:
        return OsCause::LinkLoop;
    case ERROR_FILE_TOO_LARGE:
        return OsCause::TooLarge;
    default:
        return OsCause::Unknown;
    }
}

int systemErrorFor(std::uint32_t osError, OsCause cause) {
    switch (cause) {
    case OsCause::ReadOnly:
        return ERROR_WRITE_PROTECT;
    case OsCause::NotFolder:
        return ERROR_DIRECTORY;
    case OsCause::LinkLoop:
        return ERROR_CANT_RESOLVE_FILENAME;
    case OsCause::TooLarge:
        return ERROR_FILE_TOO_LARGE;
    default:
        return static_cast<int>(osError);
    }
}

} // namespace cuentas
