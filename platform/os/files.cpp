#include "platform/os/files.h"

#include "platform/os/operating_system.h"
#include "platform/os/os_error.h"
#include "platform/os/paths.h"

#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <utility>

namespace cuentas {
namespace {

thread_local std::uint32_t lastError = 0;
bool networkError = false;

bool succeed() {
    lastError = oserror::kNone;
    return true;
}

// Records a failure given as a negative errno; ENOENT becomes "path not found" when the
// directory itself is missing.
bool fail(long negativeErrno, const std::string& native = {}) {
    int e = static_cast<int>(-negativeErrno);
    lastError = osErrorFromErrno(e);
    if (e == ENOENT && !native.empty()) {
        auto slash = native.rfind('/');
        std::string dir = slash == std::string::npos ? "." : native.substr(0, slash);
        if (!dir.empty() && operatingSystem().fileKind(dir) != FileKind::Directory) {
            lastError = oserror::kPathNotFound;
        }
    }
    return false;
}

int accessFlags(std::uint32_t mode) {
    switch (mode & 0x3) {
    case openmode::kWrite:
        return O_WRONLY;
    case openmode::kReadWrite:
        return O_RDWR;
    default:
        return O_RDONLY;
    }
}

// Sharing rules are advisory locks: an exclusive or deny mode takes the lock alone, any other
// open shares it, so the two conflict the way sharing modes do.
int applySharing(int fd, std::uint32_t mode) {
    std::uint32_t share = mode & 0x70;
    bool exclusive = share == openmode::kShareExclusive || share == openmode::kShareDenyWrite ||
                     share == openmode::kShareDenyRead;
    int locked = operatingSystem().lockFile(fd, exclusive);
    return locked == -EWOULDBLOCK ? -EBUSY : locked;
}

// FOpen and FCreate leave the network-error flag telling whether they failed because another
// open holds the file (sharing or lock violation), so that a caller can tell a busy file,
// worth trying again, from a missing or forbidden one.
void noteSharingConflict(bool failed) {
    setNetworkErrorFlag(failed && (lastError == oserror::kSharingViolation ||
                                   lastError == oserror::kLockViolation));
}

std::string directoryOf(const std::string& native) {
    auto slash = native.rfind('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : native.substr(0, slash));
}

// Writes a file whole through `write` (given the open descriptor; a negative result is
// -errno) into a temporary file in the target's directory, flushes it to disk and renames it
// over the target, so a reader sees either the old or the new content, never a part.
bool replaceWhole(const std::string& name, const std::function<long(int)>& write) {
    OperatingSystem& system = operatingSystem();
    std::string target = nativePath(name);
    // The temporary name carries the process id so that two writers never share it.
    std::string temporary = target + ".tmp" + std::to_string(system.processId());
    int fd = system.openFile(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_EXCL, 0666);
    if (fd == -EEXIST) {
        system.removeFile(temporary); // left behind by a crashed run of the same pid
        fd = system.openFile(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_EXCL, 0666);
    }
    if (fd < 0) {
        return fail(fd, temporary);
    }
    long written = write(fd);
    int synced = written < 0 ? 0 : system.syncFile(fd);
    int closed = system.closeFile(fd);
    int failure = written < 0 ? static_cast<int>(written) : (synced < 0 ? synced : closed);
    if (failure >= 0) {
        failure = system.renameFile(temporary, target);
    }
    if (failure < 0) {
        system.removeFile(temporary);
        return fail(failure);
    }
    // Make the rename itself durable; a failure here leaves a complete file either way.
    int dir = system.openFile(directoryOf(target), O_RDONLY | O_DIRECTORY, 0);
    if (dir >= 0) {
        system.syncFile(dir);
        system.closeFile(dir);
    }
    return succeed();
}

} // namespace

FileHandle FOpen(const std::string& name, std::uint32_t mode) {
    std::string native = nativePath(name);
    int flags = accessFlags(mode) | ((mode & openmode::kAppend) ? O_APPEND : 0) |
                ((mode & openmode::kCreate) ? O_CREAT : 0);
    int fd = operatingSystem().openFile(native, flags, (mode & openmode::kCreate) ? 0666 : 0);
    if (fd >= 0) {
        if (int shared = applySharing(fd, mode); shared < 0) {
            operatingSystem().closeFile(fd);
            fd = shared;
        }
    }
    if (fd < 0) {
        fail(fd, native);
        noteSharingConflict(true);
        return kNoFile;
    }
    succeed();
    noteSharingConflict(false);
    return fd;
}

FileHandle FCreate(const std::string& name, std::uint32_t attributes) {
    std::string native = nativePath(name);
    int permissions = (attributes & 0x01) ? 0444 : 0666;
    int fd = operatingSystem().openFile(native, O_RDWR | O_CREAT | O_TRUNC, permissions);
    if (fd < 0) {
        fail(fd, native);
        noteSharingConflict(true);
        return kNoFile;
    }
    succeed();
    noteSharingConflict(false);
    return fd;
}

std::int64_t FSeek(FileHandle handle, std::int64_t offset, int origin) {
    int whence = origin == 2 ? SEEK_END : (origin == 1 ? SEEK_CUR : SEEK_SET);
    long long position = operatingSystem().seekFile(static_cast<int>(handle), offset, whence);
    if (position < 0) {
        fail(static_cast<long>(position));
        return -1;
    }
    succeed();
    return position;
}

std::size_t FWrite(FileHandle handle, std::string_view text) {
    if (handle < 0) {
        fail(-EBADF);
        return 0;
    }
    long written = operatingSystem().writeFile(static_cast<int>(handle), text.data(), text.size());
    if (written < 0) {
        fail(written);
        return 0;
    }
    succeed();
    return static_cast<std::size_t>(written);
}

std::size_t FPutS(FileHandle handle, std::string_view text) {
    std::string line(text);
    line += "\r\n";
    return FWrite(handle, line);
}

bool FClose(FileHandle handle) {
    if (handle < 0) {
        return fail(-EBADF);
    }
    int result = operatingSystem().closeFile(static_cast<int>(handle));
    return result < 0 ? fail(result) : succeed();
}

std::uint32_t FError() {
    return lastError;
}

bool networkErrorFlag() {
    return networkError;
}

bool setNetworkErrorFlag(bool raised) {
    return std::exchange(networkError, raised);
}

bool File(const std::string& name) {
    return operatingSystem().fileKind(nativePath(name)) == FileKind::Regular;
}

bool FCopy(const std::string& from, const std::string& to) {
    OperatingSystem& system = operatingSystem();
    std::string source = nativePath(from);
    int in = system.openFile(source, O_RDONLY, 0);
    if (in < 0) {
        return fail(in, source);
    }
    // Copied in pieces, so that a large log never has to fit in memory.
    bool copied = replaceWhole(to, [&system, in](int out) -> long {
        char buffer[1 << 16];
        for (;;) {
            long n = system.readFile(in, buffer, sizeof buffer);
            if (n <= 0) {
                return n;
            }
            if (long written = system.writeFile(out, buffer, static_cast<std::size_t>(n));
                written < 0) {
                return written;
            }
        }
    });
    system.closeFile(in);
    return copied;
}

bool MemoWrit(const std::string& name, std::string_view text) {
    return replaceWhole(name, [text](int out) {
        return operatingSystem().writeFile(out, text.data(), text.size());
    });
}

std::optional<std::string> MemoRead(const std::string& name) {
    OperatingSystem& system = operatingSystem();
    std::string native = nativePath(name);
    int fd = system.openFile(native, O_RDONLY, 0);
    if (fd < 0) {
        fail(fd, native);
        return std::nullopt;
    }
    std::string content;
    char buffer[1 << 16];
    for (;;) {
        long n = system.readFile(fd, buffer, sizeof buffer);
        if (n < 0) {
            system.closeFile(fd);
            fail(n);
            return std::nullopt;
        }
        if (n == 0) {
            break;
        }
        content.append(buffer, static_cast<std::size_t>(n));
    }
    system.closeFile(fd);
    succeed();
    return content;
}

} // namespace cuentas
