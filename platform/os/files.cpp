#include "platform/os/files.h"

#include "platform/os/operating_system.h"
#include "platform/os/os_error.h"
#include "platform/os/paths.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <utility>

namespace cuentas {
namespace {

thread_local std::uint32_t lastError = 0;
thread_local OsCause lastCause = OsCause::Unknown;
bool networkError = false;

bool succeed() {
    lastError = oserror::kNone;
    lastCause = OsCause::Unknown;
    return true;
}

OsCause causeOf(FileStatus::Kind kind) {
    switch (kind) {
    case FileStatus::Kind::Folder:
        return OsCause::Folder;
    case FileStatus::Kind::Pipe:
        return OsCause::Pipe;
    case FileStatus::Kind::Device:
        return OsCause::Device;
    case FileStatus::Kind::Socket:
        return OsCause::Socket;
    default:
        return OsCause::Unknown;
    }
}

// Records a failure given as a negative errno; ENOENT becomes "path not found" when the
// directory itself is missing.
bool fail(long negativeErrno, const std::string& native = {}) {
    int e = static_cast<int>(-negativeErrno);
    lastError = osErrorFromErrno(e);
    lastCause = osCauseFromErrno(e);
    if (e == ENXIO && !native.empty()) {
        // Opened without waiting: a pipe that nobody reads, or a device without its unit.
        FileStatus status;
        if (operatingSystem().pathStatus(native, status) == 0) {
            lastError = oserror::kAccessDenied;
            lastCause = causeOf(status.kind);
        }
    }
    if (e == ENOENT && !native.empty()) {
        auto slash = native.rfind('/');
        std::string dir = slash == std::string::npos ? "." : native.substr(0, slash);
        FileStatus status;
        if (!dir.empty() && (operatingSystem().pathStatus(dir, status) != 0 ||
                             status.kind != FileStatus::Kind::Folder)) {
            lastError = oserror::kPathNotFound;
        }
    }
    return false;
}

// A pipe, a device, a socket or a folder opened as a file is refused as access denied, with
// what it is as the cause.
bool failNotRegular(FileStatus::Kind kind) {
    lastError = oserror::kAccessDenied;
    lastCause = kind == FileStatus::Kind::Regular ? OsCause::Unknown : causeOf(kind);
    return false;
}

// Opens a regular file and never waits: opening a pipe blocks until its other end is opened,
// so the open does not wait (O_NONBLOCK, harmless on regular files), and anything but a
// regular file is refused at once, before a read could wait on a pipe or never end on a
// device. Returns the descriptor, or -1 with the failure recorded.
int openRegular(const std::string& native, int flags, int mode, FileStatus& status) {
    OperatingSystem& system = operatingSystem();
    int fd = system.openFile(native, flags | O_NONBLOCK | O_NOCTTY, mode);
    if (fd < 0) {
        fail(fd, native);
        return -1;
    }
    int checked = system.fileStatus(fd, status);
    if (checked < 0 || status.kind != FileStatus::Kind::Regular) {
        system.closeFile(fd);
        if (checked < 0) {
            fail(checked);
        } else {
            failNotRegular(status.kind);
        }
        return -1;
    }
    return fd;
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
    int locked = operatingSystem().lockFile(fd, exclusive ? FileLock::Exclusive : FileLock::Shared);
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

// The temporary a save writes before its rename: the target's name, ".tmp" and the writer's
// process id, so that two writers never share one.
std::string temporaryName(const std::string& target, long pid) {
    return target + ".tmp" + std::to_string(pid);
}

bool isTemporaryOf(const std::string& name, const std::string& targetName) {
    const std::string prefix = targetName + ".tmp";
    return name.size() > prefix.size() && name.starts_with(prefix) &&
           name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

// Removes the temporary `path` if no save is writing it: a writer holds an exclusive lock
// on its temporary from creation to rename, and a process that is gone holds none. Only the
// lock holder removes or renames a temporary, so once the lock is ours and the name still
// leads to the file we locked, it stays so until we remove it.
void removeIfAbandoned(const std::string& path) {
    OperatingSystem& system = operatingSystem();
    int fd = system.openFile(path, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY, 0);
    if (fd < 0) {
        return;
    }
    FileStatus locked;
    FileStatus named;
    if (system.lockFile(fd, FileLock::Exclusive) == 0 && system.fileStatus(fd, locked) == 0 &&
        system.pathStatus(path, named) == 0 && locked.kind == FileStatus::Kind::Regular &&
        locked.device == named.device && locked.inode == named.inode) {
        system.removeFile(path);
    }
    system.closeFile(fd); // releases the lock
}

// Temporaries left by saves whose process ended before the rename (killed, crashed).
void removeAbandonedTemporaries(const std::string& target) {
    const std::string directory = directoryOf(target);
    const std::string targetName = target.substr(target.rfind('/') + 1);
    std::error_code failed;
    for (const auto& entry : std::filesystem::directory_iterator(directory, failed)) {
        std::string name = entry.path().filename().string();
        if (isTemporaryOf(name, targetName)) {
            removeIfAbandoned(directory + "/" + name);
        }
    }
}

// Creates this process's temporary and takes its lock. A temporary of that name is a
// leftover of an earlier process with the same id (ids are reused), removed when abandoned.
// Returns the descriptor or -errno.
int createTemporary(const std::string& temporary) {
    OperatingSystem& system = operatingSystem();
    for (int attempt = 0;; ++attempt) {
        int fd = system.openFile(temporary, O_WRONLY | O_CREAT | O_TRUNC | O_EXCL, 0666);
        if (fd == -EEXIST && attempt < 3) {
            removeIfAbandoned(temporary);
            continue;
        }
        if (fd < 0) {
            return fd;
        }
        // Held until the rename; another save removing leftovers holds it only for a moment.
        system.lockFile(fd, FileLock::ExclusiveWaiting);
        FileStatus status;
        if (system.fileStatus(fd, status) == 0 && status.links == 0 && attempt < 3) {
            system.closeFile(fd); // removed as abandoned just before we locked it
            continue;
        }
        return fd;
    }
}

// Writes a file whole through `write` (given the open descriptor; a negative result is
// -errno) into a temporary file in the target's directory, flushes it to disk and renames it
// over the target, so a reader sees either the old or the new content, never a part.
bool replaceWhole(const std::string& name, const std::function<long(int)>& write) {
    OperatingSystem& system = operatingSystem();
    std::string target = nativePath(name);
    removeAbandonedTemporaries(target);
    std::string temporary = temporaryName(target, system.processId());
    int fd = createTemporary(temporary);
    if (fd < 0) {
        return fail(fd, temporary);
    }
    long written = write(fd);
    int failure = written < 0 ? static_cast<int>(written) : system.syncFile(fd);
    // Renamed, or removed, while our lock still tells other saves that it is being written.
    if (failure >= 0) {
        failure = system.renameFile(temporary, target);
    }
    if (failure < 0) {
        system.removeFile(temporary);
    }
    system.closeFile(fd); // the content is on disk already: nothing is lost by a failed close
    if (failure < 0) {
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
    FileStatus status;
    int fd = openRegular(native, flags, (mode & openmode::kCreate) ? 0666 : 0, status);
    if (fd >= 0) {
        if (int shared = applySharing(fd, mode); shared < 0) {
            operatingSystem().closeFile(fd);
            fail(shared);
            fd = -1;
        }
    }
    if (fd < 0) {
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
    FileStatus status;
    // Emptied only once no other open holds it exclusively: emptying on open would cut a
    // file that another writer is still writing.
    int fd = openRegular(native, O_RDWR | O_CREAT, permissions, status);
    if (fd >= 0) {
        int failure = applySharing(fd, openmode::kShareDenyNone);
        if (failure >= 0) {
            failure = operatingSystem().truncateFile(fd, 0);
        }
        if (failure < 0) {
            operatingSystem().closeFile(fd);
            fail(failure);
            fd = -1;
        }
    }
    if (fd < 0) {
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

bool FTruncate(FileHandle handle, std::int64_t size) {
    if (handle < 0) {
        return fail(-EBADF);
    }
    int result = operatingSystem().truncateFile(static_cast<int>(handle), size);
    return result < 0 ? fail(result) : succeed();
}

bool FErase(const std::string& name) {
    const std::string native = nativePath(name);
    int result = operatingSystem().removeFile(native);
    return result < 0 ? fail(result, native) : succeed();
}

std::uint32_t FError() {
    return lastError;
}

OsCause FErrorCause() {
    return lastCause;
}

std::optional<ReadableFile> openToRead(const std::string& name) {
    FileStatus status;
    int fd = openRegular(nativePath(name), O_RDONLY, 0, status);
    if (fd < 0) {
        return std::nullopt;
    }
    succeed();
    return ReadableFile{fd, status.size, status.device, status.inode};
}

std::int64_t readUpTo(FileHandle handle, char* buffer, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        long n = operatingSystem().readFile(static_cast<int>(handle), buffer + done, size - done);
        if (n < 0) {
            fail(n);
            return -1;
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    succeed();
    return static_cast<std::int64_t>(done);
}

bool networkErrorFlag() {
    return networkError;
}

bool setNetworkErrorFlag(bool raised) {
    return std::exchange(networkError, raised);
}

bool File(const std::string& name) {
    FileStatus status;
    return operatingSystem().pathStatus(nativePath(name), status) == 0 &&
           status.kind == FileStatus::Kind::Regular;
}

bool FCopy(const std::string& from, const std::string& to) {
    OperatingSystem& system = operatingSystem();
    std::optional<ReadableFile> source = openToRead(from);
    if (!source) {
        return false;
    }
    const int in = static_cast<int>(source->handle);
    // Read under a shared lock, as any reader of ours, so that the target's clean-up never
    // takes a source named like one of its temporaries for an abandoned one.
    system.lockFile(in, FileLock::Shared);
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
    std::optional<ReadableFile> file = openToRead(name);
    if (!file) {
        return std::nullopt;
    }
    const int handle = static_cast<int>(file->handle);
    std::string content;
    bool tooLarge = file->size > kMemoReadLimit;
    if (!tooLarge) {
        // Sized from the file and read straight into place.
        content.resize(static_cast<std::size_t>(file->size));
        std::int64_t n = readUpTo(file->handle, content.data(), content.size());
        if (n < 0) {
            operatingSystem().closeFile(handle); // keeps the read's error
            return std::nullopt;
        }
        content.resize(static_cast<std::size_t>(n));
    }
    // Then to the end, which may come later than the size said if the file grows meanwhile.
    char buffer[1 << 16];
    for (std::int64_t n = 1; n > 0 && !tooLarge;) {
        n = readUpTo(file->handle, buffer, sizeof buffer);
        if (n < 0) {
            operatingSystem().closeFile(handle);
            return std::nullopt;
        }
        content.append(buffer, static_cast<std::size_t>(n));
        tooLarge = content.size() > kMemoReadLimit;
    }
    operatingSystem().closeFile(handle);
    if (tooLarge) {
        lastError = oserror::kNotEnoughMemory;
        lastCause = OsCause::TooLarge;
        return std::nullopt;
    }
    succeed();
    return content;
}

} // namespace cuentas
