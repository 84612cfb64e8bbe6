// POSIX error numbers in the runtime's numbering.
#include "platform/os/os_error.h"

#include <cerrno>

namespace cuentas {

std::uint32_t osErrorFromSystem(int e) {
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

OsCause osCauseFromSystem(int e) {
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

int systemErrorFor(std::uint32_t osError, OsCause cause) {
    switch (cause) {
    case OsCause::Folder:
        return EISDIR;
    case OsCause::NotFolder:
        return ENOTDIR;
    case OsCause::LinkLoop:
        return ELOOP;
    case OsCause::ReadOnly:
        return EROFS;
    case OsCause::TooLarge:
        return EFBIG;
    case OsCause::Device:
        return ENXIO;
    case OsCause::Pipe:
    case OsCause::Socket:
    case OsCause::Unknown:
        break;
    }
    switch (osError) {
    case oserror::kNone:
        return 0;
    case oserror::kFileNotFound:
        return ENOENT;
    case oserror::kPathNotFound:
        return ENOTDIR;
    case oserror::kTooManyOpenFiles:
        return EMFILE;
    case oserror::kAccessDenied:
        return EACCES;
    case oserror::kInvalidHandle:
        return EBADF;
    case oserror::kNotEnoughMemory:
        return ENOMEM;
    case oserror::kSharingViolation:
        return EBUSY;
    case oserror::kLockViolation:
        return EWOULDBLOCK;
    case oserror::kFileExists:
        return EEXIST;
    case oserror::kInvalidParameter:
        return EINVAL;
    case oserror::kDiskFull:
        return ENOSPC;
    case oserror::kNameTooLong:
        return ENAMETOOLONG;
    default:
        return EIO;
    }
}

} // namespace cuentas
