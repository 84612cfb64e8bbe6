#include "platform/os/os_error.h"

#include <cerrno>

namespace cuentas {

std::uint32_t osErrorFromErrno(int e) {
    switch (e) {
    case 0:
        return oserror::kNone;
    case ENOENT:
        return oserror::kFileNotFound;
    case ENOTDIR:
        return oserror::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return oserror::kAccessDenied;
    case EMFILE:
    case ENFILE:
        return oserror::kTooManyOpenFiles;
    case EBADF:
        return oserror::kInvalidHandle;
    case ENOMEM:
        return oserror::kNotEnoughMemory;
    case EBUSY:
    case ETXTBSY:
        return oserror::kSharingViolation;
    case EWOULDBLOCK:
        return oserror::kLockViolation;
    case EEXIST:
        return oserror::kFileExists;
    case EINVAL:
        return oserror::kInvalidParameter;
    case ENOSPC:
    case EDQUOT:
        return oserror::kDiskFull;
    case ENAMETOOLONG:
        return oserror::kNameTooLong;
    default:
        return oserror::kGeneralFailure;
    }
}

OsCause osCauseFromErrno(int e) {
    switch (e) {
    case EISDIR:
        return OsCause::Folder;
    case ENOTDIR:
        return OsCause::NotFolder;
    case ELOOP:
        return OsCause::LinkLoop;
    case EROFS:
        return OsCause::ReadOnly;
    case EFBIG:
    case EOVERFLOW:
        return OsCause::TooLarge;
    case ENXIO:
        return OsCause::Device;
    default:
        return OsCause::Unknown;
    }
}

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
    default:
        return "general failure";
    }
}

} // namespace cuentas
