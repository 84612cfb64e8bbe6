// The operating-system seam on POSIX systems.
#include "platform/os/operating_system.h"
#include "platform/os/user_language.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <iostream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace cuentas {
namespace {

int resultOrErrno(long long result) {
    return result < 0 ? -errno : static_cast<int>(result);
}

FileStatus statusOf(const struct stat& info) {
    FileStatus status;
    if (S_ISREG(info.st_mode)) {
        status.kind = FileStatus::Kind::Regular;
    } else if (S_ISDIR(info.st_mode)) {
        status.kind = FileStatus::Kind::Folder;
    } else if (S_ISFIFO(info.st_mode)) {
        status.kind = FileStatus::Kind::Pipe;
    } else if (S_ISCHR(info.st_mode) || S_ISBLK(info.st_mode)) {
        status.kind = FileStatus::Kind::Device;
    } else if (S_ISSOCK(info.st_mode)) {
        status.kind = FileStatus::Kind::Socket;
    }
    status.size = info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    status.device = info.st_dev;
    status.inode = info.st_ino;
    status.links = info.st_nlink;
    return status;
}

int openFlags(const FileOpening& opening) {
    int flags = O_CLOEXEC | O_NOCTTY;
    // Opening a named pipe waits until its other end is opened: never wait (harmless on
    // regular files); the file layer refuses anything but a regular file afterwards.
    flags |= O_NONBLOCK;
    switch (opening.access) {
    case FileOpening::Access::Read:
        flags |= O_RDONLY;
        break;
    case FileOpening::Access::Write:
        flags |= O_WRONLY;
        break;
    case FileOpening::Access::ReadWrite:
        flags |= O_RDWR;
        break;
    }
    switch (opening.creation) {
    case FileOpening::Creation::Existing:
        break;
    case FileOpening::Creation::OpenOrCreate:
        flags |= O_CREAT;
        break;
    case FileOpening::Creation::New:
        flags |= O_CREAT | O_EXCL;
        break;
    }
    if (opening.append) {
        flags |= O_APPEND;
    }
    if (!opening.followLinks) {
        flags |= O_NOFOLLOW;
    }
    return flags;
}

// Sharing rules among the processes of this runtime are advisory locks: a deny mode takes the
// lock alone, a shared open shares it, so the two conflict the way sharing modes do. A
// conflict is reported as EBUSY, the sharing violation.
int applySharing(int fd, FileOpening::Sharing sharing) {
    if (sharing == FileOpening::Sharing::Free) {
        return 0;
    }
    int operation = (sharing == FileOpening::Sharing::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    int result;
    do {
        result = ::flock(fd, operation);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        return 0;
    }
    return errno == EWOULDBLOCK ? -EBUSY : -errno;
}

} // namespace

int OperatingSystem::openFile(const std::string& nativePath, const FileOpening& opening) {
    int fd;
    do {
        fd = ::open(nativePath.c_str(), openFlags(opening), opening.readOnly ? 0444 : 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return -errno;
    }
    if (int shared = applySharing(fd, opening.sharing); shared < 0) {
        ::close(fd);
        return shared;
    }
    return fd;
}

long OperatingSystem::writeFile(int fd, const void* data, std::size_t size) {
    // Writes everything or fails: a short write is continued, EINTR retried.
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return -errno;
        }
        if (n == 0) {
            return -EIO;
        }
        done += static_cast<std::size_t>(n);
    }
    return static_cast<long>(done);
}

long OperatingSystem::readFile(int fd, void* data, std::size_t size) {
    ssize_t n;
    do {
        n = ::read(fd, data, size);
    } while (n < 0 && errno == EINTR);
    return n < 0 ? -errno : static_cast<long>(n);
}

long long OperatingSystem::seekFile(int fd, long long offset, int whence) {
    off_t position = ::lseek(fd, static_cast<off_t>(offset), whence);
    return position < 0 ? -errno : static_cast<long long>(position);
}

int OperatingSystem::syncFile(int fd) {
    return resultOrErrno(::fsync(fd));
}

int OperatingSystem::truncateFile(int fd, long long size) {
    return resultOrErrno(::ftruncate(fd, static_cast<off_t>(size)));
}

int OperatingSystem::closeFile(int fd) {
    // A close interrupted by a signal has released the descriptor anyway: never close twice.
    int result = ::close(fd);
    return result < 0 && errno != EINTR ? -errno : 0;
}

int OperatingSystem::renameFile(const std::string& from, const std::string& to) {
    return resultOrErrno(::rename(from.c_str(), to.c_str()));
}

int OperatingSystem::removeFile(const std::string& nativePath) {
    return resultOrErrno(::unlink(nativePath.c_str()));
}

int OperatingSystem::syncFolder(const std::string& nativePath) {
    int fd = ::open(nativePath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return -errno;
    }
    int result = resultOrErrno(::fsync(fd));
    ::close(fd);
    return result;
}

std::vector<std::string> OperatingSystem::folderEntries(const std::string& nativePath) {
    std::vector<std::string> names;
    DIR* folder = ::opendir(nativePath.c_str());
    if (!folder) {
        return names;
    }
    while (const dirent* entry = ::readdir(folder)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(std::move(name));
        }
    }
    ::closedir(folder);
    return names;
}

int OperatingSystem::fileStatus(int fd, FileStatus& status) {
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        return -errno;
    }
    status = statusOf(info);
    return 0;
}

int OperatingSystem::pathStatus(const std::string& nativePath, FileStatus& status) {
    struct stat info {};
    if (::stat(nativePath.c_str(), &info) != 0) {
        return -errno;
    }
    status = statusOf(info);
    return 0;
}

int OperatingSystem::lockFile(int fd, FileLock lock) {
    int operation = lock == FileLock::Shared ? LOCK_SH : LOCK_EX;
    if (lock != FileLock::ExclusiveWaiting) {
        operation |= LOCK_NB;
    }
    return ::flock(fd, operation) == 0 ? 0 : -errno;
}

std::string OperatingSystem::executablePath() {
    char buffer[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) {
        return {};
    }
    return std::string(buffer, static_cast<std::size_t>(n));
}

std::string OperatingSystem::currentDirectory() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

std::chrono::system_clock::time_point OperatingSystem::now() {
    return std::chrono::system_clock::now();
}

LocalTime OperatingSystem::localTime(std::chrono::system_clock::time_point moment) {
    std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
    std::tm local{};
    localtime_r(&seconds, &local);
    return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
}

int OperatingSystem::processId() {
    return static_cast<int>(::getpid());
}

bool OperatingSystem::processRunning(int processId) {
    return processId > 0 && (::kill(processId, 0) == 0 || errno == EPERM);
}

void OperatingSystem::exitProcess(int code) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    // Every table and file is closed by then; static destructors of the GUI toolkit must
    // not run under a live event loop.
    ::_exit(code);
}

void OperatingSystem::sleep(std::uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::optional<std::string> OperatingSystem::environmentVariable(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    if (!value) {
        return std::nullopt;
    }
    return std::string(value);
}

std::string userInterfaceLanguage() {
    return {}; // the locale variables are all there is
}

void OperatingSystem::tone(std::uint32_t frequency, std::uint32_t ticks) {
    if (desktopServices().tone) {
        desktopServices().tone(frequency, ticks);
    }
}

void OperatingSystem::debugOutput(const std::string& text) {
    // Linux has no debugger output channel: stderr is where a developer looks.
    writeStandardError(text);
}

void OperatingSystem::writeStandardError(const std::string& text) {
    std::cerr << text << std::flush;
}

} // namespace cuentas
