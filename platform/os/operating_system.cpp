#include "platform/os/operating_system.h"

#include "platform/os/codepage.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <iostream>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace cuentas {
namespace {

OperatingSystem& defaultSystem() {
    static OperatingSystem system;
    return system;
}

OperatingSystem* current = nullptr;
DesktopServices desktop;

bool desktopShowsBoxes() {
    return desktop.canShowBoxes && desktop.canShowBoxes();
}

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

} // namespace

OperatingSystem& operatingSystem() {
    return current ? *current : defaultSystem();
}

void installDesktopServices(const DesktopServices& services) {
    desktop = services;
}

ScopedOs::ScopedOs(OperatingSystem& replacement) : previous_(current) {
    current = &replacement;
}
ScopedOs::~ScopedOs() {
    current = previous_;
}

int OperatingSystem::openFile(const std::string& nativePath, int flags, int mode) {
    int fd;
    do {
        fd = ::open(nativePath.c_str(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return resultOrErrno(fd);
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

int OperatingSystem::messageBox(const std::string& text, const std::string& caption,
                                std::uint32_t flags) {
    if (desktopShowsBoxes() && desktop.messageBox) {
        return desktop.messageBox(text, caption, flags);
    }
    // Texts are Windows-1252 inside the program; a terminal reads UTF-8.
    writeStandardError(utf8FromWindows1252(caption) + ": " + utf8FromWindows1252(text) + "\n");
    return kMessageBoxAnswerOk;
}

std::uint32_t OperatingSystem::errorMessageBox(const std::string& text, const std::string& caption,
                                               ErrorBoxButtons buttons) {
    if (desktopShowsBoxes() && desktop.errorMessageBox) {
        return desktop.errorMessageBox(text, caption, buttons);
    }
    // No one can answer: the text is kept on stderr and the error is given up.
    writeStandardError(utf8FromWindows1252(caption) + "\n" + utf8FromWindows1252(text));
    return buttons.breakCode;
}

void OperatingSystem::tone(std::uint32_t frequency, std::uint32_t ticks) {
    if (desktop.tone) {
        desktop.tone(frequency, ticks);
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
