#include "platform/os/files.h"

#include "platform/os/file_replacement.h"
#include "platform/os/operating_system.h"
#include "platform/os/os_error.h"
#include "platform/os/paths.h"

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

// Records a failure given as a negated system error. Given the path, it tells a missing
// folder from a missing file, and a name that is not a file from a forbidden one.
bool fail(long negatedSystemError, const std::string& native = {}) {
    const int systemError = static_cast<int>(-negatedSystemError);
    lastError = osErrorFromSystem(systemError);
    lastCause = osCauseFromSystem(systemError);
    if (native.empty()) {
        return false;
    }
    if (lastError == oserror::kFileNotFound) {
        FileStatus status;
        const std::string folder = nativeFolderOf(native);
        if (operatingSystem().pathStatus(folder, status) != 0 ||
            status.kind != FileStatus::Kind::Folder) {
            lastError = oserror::kPathNotFound;
        }
    }
    // A pipe that nobody reads, a device without its unit, a folder: refused as access
    // denied, with what it is as the cause.
    if (lastCause == OsCause::Device || lastError == oserror::kAccessDenied) {
        FileStatus status;
        if (operatingSystem().pathStatus(native, status) == 0 &&
            status.kind != FileStatus::Kind::Regular) {
            lastError = oserror::kAccessDenied;
            lastCause = causeOf(status.kind);
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

// Opens a regular file: anything else is refused at once, before a read could wait on a pipe
// or never end on a device (the system opens without waiting). Returns the open file, or -1
// with the failure recorded.
int openRegular(const std::string& native, const FileOpening& opening, FileStatus& status) {
    OperatingSystem& system = operatingSystem();
    int file = system.openFile(native, opening);
    if (file < 0) {
        fail(file, native);
        return -1;
    }
    int checked = system.fileStatus(file, status);
    if (checked < 0 || status.kind != FileStatus::Kind::Regular) {
        system.closeFile(file);
        if (checked < 0) {
            fail(checked);
        } else {
            failNotRegular(status.kind);
        }
        return -1;
    }
    return file;
}

FileOpening::Access accessOf(std::uint32_t mode) {
    switch (mode & 0x3) {
    case openmode::kWrite:
        return FileOpening::Access::Write;
    case openmode::kReadWrite:
        return FileOpening::Access::ReadWrite;
    default:
        return FileOpening::Access::Read;
    }
}

FileOpening::Sharing sharingOf(std::uint32_t mode) {
    switch (mode & 0x70) {
    case openmode::kShareExclusive:
        return FileOpening::Sharing::DenyAll;
    case openmode::kShareDenyWrite:
        return FileOpening::Sharing::DenyWrite;
    case openmode::kShareDenyRead:
        return FileOpening::Sharing::DenyRead;
    default:
        return FileOpening::Sharing::Shared;
    }
}

// FOpen and FCreate leave the network-error flag telling whether they failed because another
// open holds the file (sharing or lock violation), so that a caller can tell a busy file,
// worth trying again, from a missing or forbidden one.
FileHandle noteOutcome(int file) {
    const bool busy = file < 0 && (lastError == oserror::kSharingViolation ||
                                   lastError == oserror::kLockViolation);
    setNetworkErrorFlag(busy);
    if (file < 0) {
        return kNoFile;
    }
    succeed();
    return file;
}

// Writes a file whole through `write` (given the open file; a negative result is the negated
// system error) into a temporary file in the same folder, flushes it to disk and puts it in
// the target's place in one step, so a reader sees either the old or the new content, never
// a part.
bool replaceWhole(const std::string& name, const std::function<long(int)>& write) {
    OperatingSystem& system = operatingSystem();
    const std::string target = nativePath(name);
    replacement::removeAbandonedTemporaries(target);
    const std::string temporary = replacement::temporaryName(target, system.processId());
    int file = replacement::createTemporary(temporary);
    if (file < 0) {
        return fail(file, temporary);
    }
    long written = write(file);
    int failure = written < 0 ? static_cast<int>(written) : system.syncFile(file);
    if (failure < 0) {
        replacement::discardTemporary(file, temporary);
        return fail(failure);
    }
    if (int placed = replacement::putInPlace(file, temporary, target); placed < 0) {
        return fail(placed, target);
    }
    // Make the rename itself durable; a failure here leaves a complete file either way.
    system.syncFolder(nativeFolderOf(target));
    return succeed();
}

} // namespace

std::string replacement::temporaryName(const std::string& target, int processId) {
    return target + ".tmp" + std::to_string(processId);
}

FileHandle FOpen(const std::string& name, std::uint32_t mode) {
    FileOpening opening;
    opening.access = accessOf(mode);
    opening.sharing = sharingOf(mode);
    opening.append = (mode & openmode::kAppend) != 0;
    if (mode & openmode::kCreate) {
        opening.creation = FileOpening::Creation::OpenOrCreate;
    }
    FileStatus status;
    return noteOutcome(openRegular(nativePath(name), opening, status));
}

FileHandle FCreate(const std::string& name, std::uint32_t attributes) {
    FileOpening opening;
    opening.access = FileOpening::Access::ReadWrite;
    opening.creation = FileOpening::Creation::OpenOrCreate;
    opening.sharing = FileOpening::Sharing::Shared;
    opening.readOnly = (attributes & 0x01) != 0;
    FileStatus status;
    // Emptied only once no other open holds it exclusively: emptying on open would cut a
    // file that another writer is still writing.
    int file = openRegular(nativePath(name), opening, status);
    if (file >= 0) {
        if (int failure = operatingSystem().truncateFile(file, 0); failure < 0) {
            operatingSystem().closeFile(file);
            fail(failure);
            file = -1;
        }
    }
    return noteOutcome(file);
}

std::int64_t FSeek(FileHandle handle, std::int64_t offset, int origin) {
    int whence = origin == 2 ? kSeekEnd : (origin == 1 ? kSeekCurrent : kSeekStart);
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
        lastError = oserror::kInvalidHandle;
        lastCause = OsCause::Unknown;
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
        lastError = oserror::kInvalidHandle;
        lastCause = OsCause::Unknown;
        return false;
    }
    int result = operatingSystem().closeFile(static_cast<int>(handle));
    return result < 0 ? fail(result) : succeed();
}

bool FTruncate(FileHandle handle, std::int64_t size) {
    if (handle < 0) {
        lastError = oserror::kInvalidHandle;
        lastCause = OsCause::Unknown;
        return false;
    }
    int result = operatingSystem().truncateFile(static_cast<int>(handle), size);
    return result < 0 ? fail(result) : succeed();
}

bool FCloseErasing(FileHandle handle, const std::string& name) {
    OperatingSystem& system = operatingSystem();
    const std::string native = nativePath(name);
    int removed = 0;
    if (replacement::removableWhileOpen()) {
        removed = system.removeFile(native);
        system.closeFile(static_cast<int>(handle));
    } else {
        system.closeFile(static_cast<int>(handle));
        removed = system.removeFile(native);
    }
    return removed < 0 ? fail(removed, native) : succeed();
}

std::uint32_t FError() {
    return lastError;
}

OsCause FErrorCause() {
    return lastCause;
}

std::optional<ReadableFile> openToRead(const std::string& name) {
    FileStatus status;
    int file = openRegular(nativePath(name), FileOpening{}, status);
    if (file < 0) {
        return std::nullopt;
    }
    succeed();
    return ReadableFile{file, status.size};
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
    FileOpening reading;
    // Read under the sharing rules, as any reader of ours, so that the target's clean-up never
    // takes a source named like one of its temporaries for an abandoned one.
    reading.sharing = FileOpening::Sharing::Shared;
    FileStatus status;
    const int in = openRegular(nativePath(from), reading, status);
    if (in < 0) {
        return false;
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
