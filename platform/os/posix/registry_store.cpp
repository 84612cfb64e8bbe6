#include "platform/os/posix/registry_store.h"

#include "platform/os/operating_system.h"
#include "platform/os/os_error.h"
#include "platform/os/posix/registry_file.h"
#include "platform/os/registry.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cuentas {
namespace {

// Another process holds a hive's lock only for one read or one append; a lock held longer
// than about a second is a stuck process, and the caller gets an error instead of a hang.
constexpr int kLockAttempts = 200;
constexpr std::uint32_t kLockPauseMilliseconds = 5;

std::int32_t errorFromErrno(int e) {
    return static_cast<std::int32_t>(osErrorFromSystem(e));
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            operatingSystem().closeFile(fd_); // closing also releases the flock
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

std::int32_t lock(int fd, int operation) {
    for (int attempt = 1;; ++attempt) {
        if (::flock(fd, operation | LOCK_NB) == 0) {
            return ERROR_SUCCESS;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno != EWOULDBLOCK) {
            return errorFromErrno(errno);
        }
        if (attempt >= kLockAttempts) {
            return ERROR_SHARING_VIOLATION;
        }
        operatingSystem().sleep(kLockPauseMilliseconds);
    }
}

// Refuses what is not a regular file of a sane size, before a single byte is read.
std::int32_t checkRegularFile(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return errorFromErrno(errno);
    }
    if (!S_ISREG(info.st_mode) ||
        static_cast<unsigned long long>(info.st_size) > kMaxHiveFileSize) {
        return ERROR_BADDB;
    }
    return ERROR_SUCCESS;
}

// Reads from the start to the end; a file that grew past the limit meanwhile is refused.
std::int32_t readAll(int fd, std::string& text) {
    text.clear();
    char buffer[16384];
    for (;;) {
        long n = operatingSystem().readFile(fd, buffer, sizeof buffer);
        if (n < 0) {
            return errorFromErrno(static_cast<int>(-n));
        }
        if (n == 0) {
            return ERROR_SUCCESS;
        }
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > kMaxHiveFileSize) {
            text.clear();
            return ERROR_BADDB;
        }
    }
}

// Checks and locks an open hive file, then reads it whole.
std::int32_t checkLockAndRead(const Descriptor& file, int lockOperation, std::string& text) {
    std::int32_t error = checkRegularFile(file.fd());
    if (error == ERROR_SUCCESS) {
        error = lock(file.fd(), lockOperation);
    }
    if (error == ERROR_SUCCESS) {
        error = readAll(file.fd(), text);
    }
    return error;
}

} // namespace

HiveFileText readHiveFile(const std::string& path) {
    HiveFileText result;
    // The seam opens without waiting: a FIFO would wait for a writer that may never come.
    Descriptor file(operatingSystem().openFile(path, FileOpening{}));
    if (file.fd() < 0) {
        int e = -file.fd();
        if (e == ENOENT || e == ENOTDIR) {
            result.missing = true;
        } else {
            result.error = errorFromErrno(e);
        }
        return result;
    }
    result.error = checkLockAndRead(file, LOCK_SH, result.text);
    return result;
}

std::int32_t addHiveKey(const std::string& path, std::string_view hiveName,
                        std::string_view keyPath, bool& created) {
    created = false;
    FileOpening appending;
    appending.access = FileOpening::Access::ReadWrite;
    appending.creation = FileOpening::Creation::OpenOrCreate;
    appending.append = true;
    Descriptor file(operatingSystem().openFile(path, appending));
    if (file.fd() < 0) {
        int e = -file.fd();
        // Creating only fails with ENOENT when the directory is missing.
        return e == ENOENT ? ERROR_PATH_NOT_FOUND : errorFromErrno(e);
    }
    std::string text;
    if (std::int32_t error = checkLockAndRead(file, LOCK_EX, text); error != ERROR_SUCCESS) {
        return error;
    }
    // Another process may have added the key between our look and our lock.
    if (RegistryHive::parse(text, hiveName).hasKey(keyPath)) {
        return ERROR_SUCCESS;
    }
    std::string section = appendedSection(text, hiveName, keyPath);
    if (text.size() + section.size() > kMaxHiveFileSize) {
        return ERROR_REGISTRY_QUOTA_LIMIT;
    }
    long written = operatingSystem().writeFile(file.fd(), section.data(), section.size());
    if (written < 0) {
        // A partly written section would be a damaged line: take back our bytes, and only
        // ours (we hold the lock, so nothing came after them).
        // Should that fail too, readers skip the line they do not understand.
        [[maybe_unused]] int undone = ::ftruncate(file.fd(), static_cast<off_t>(text.size()));
        return errorFromErrno(static_cast<int>(-written));
    }
    if (int synced = operatingSystem().syncFile(file.fd()); synced < 0) {
        return errorFromErrno(-synced);
    }
    created = true;
    return ERROR_SUCCESS;
}

} // namespace cuentas
