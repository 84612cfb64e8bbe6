#include "platform/os/os_error.h"

namespace cuentas {

std::string osErrorText(std::uint32_t code, OsCause cause) {
    switch (cause) {
    case OsCause::Folder:
        return "a folder where a file was expected";
    case OsCause::NotFolder:
        return "a file where the path needs a folder";
    case OsCause::Pipe:
        return "a named pipe where a file was expected";
    case OsCause::Device:
        return "a device where a file was expected";
    case OsCause::Socket:
        return "a socket where a file was expected";
    case OsCause::LinkLoop:
        return "too many levels of symbolic links";
    case OsCause::ReadOnly:
        return "read-only file system";
    case OsCause::TooLarge:
        return "file too large";
    case OsCause::Unknown:
        break;
    }
    switch (code) {
    case oserror::kNone:
        return "no error";
    case oserror::kFileNotFound:
        return "file not found";
    case oserror::kPathNotFound:
        return "path not found";
    case oserror::kTooManyOpenFiles:
        return "too many open files";
    case oserror::kAccessDenied:
        return "access denied";
    case oserror::kInvalidHandle:
        return "invalid handle";
    case oserror::kNotEnoughMemory:
        return "not enough memory";
    case oserror::kSharingViolation:
        return "sharing violation";
    case oserror::kLockViolation:
        return "lock violation";
    case oserror::kFileExists:
        return "file exists";
    case oserror::kInvalidParameter:
        return "invalid parameter";
    case oserror::kDiskFull:
        return "disk full";
    case oserror::kNameTooLong:
        return "file name too long";
    case oserror::kGeneralFailure:
        return "general failure";
    default:
        return "operating-system error " + std::to_string(code);
    }
}

} // namespace cuentas
