// The operating-system seam on Windows: the real calls.
#include "platform/os/operating_system.h"

#include "platform/os/codepage.h"
#include "platform/os/user_language.h"
#include "platform/os/win32/handles.h"
#include "platform/os/win32/wide_text.h"

#include <cstdio>
#include <ctime>
#include <mutex>

#include <windows.h>

namespace cuentas {
namespace {

DWORD accessOf(const FileOpening& opening) {
    switch (opening.access) {
    case FileOpening::Access::Read:
        return GENERIC_READ;
    case FileOpening::Access::Write:
        return opening.append ? FILE_APPEND_DATA | SYNCHRONIZE : GENERIC_WRITE;
    case FileOpening::Access::ReadWrite:
        return opening.append ? GENERIC_READ | FILE_APPEND_DATA | SYNCHRONIZE
                              : GENERIC_READ | GENERIC_WRITE;
    }
    return GENERIC_READ;
}

// What other opens may do meanwhile. Free opens (reading a table, a file copied whole) let
// others read, write, rename and remove the file: a program that replaces a file we read must
// not be held up by us. Opens under the sharing rules let others read and write it.
DWORD shareModeOf(FileOpening::Sharing sharing) {
    switch (sharing) {
    case FileOpening::Sharing::Free:
        return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    case FileOpening::Sharing::Shared:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    case FileOpening::Sharing::DenyWrite:
        return FILE_SHARE_READ;
    case FileOpening::Sharing::DenyRead:
        return FILE_SHARE_WRITE;
    case FileOpening::Sharing::DenyAll:
        return 0;
    }
    return 0;
}

DWORD dispositionOf(FileOpening::Creation creation) {
    switch (creation) {
    case FileOpening::Creation::Existing:
        return OPEN_EXISTING;
    case FileOpening::Creation::OpenOrCreate:
        return OPEN_ALWAYS;
    case FileOpening::Creation::New:
        return CREATE_NEW;
    }
    return OPEN_EXISTING;
}

int lastError() {
    return -static_cast<int>(GetLastError());
}

FileStatus::Kind kindOf(HANDLE handle, DWORD attributes) {
    switch (GetFileType(handle)) {
    case FILE_TYPE_CHAR:
        return FileStatus::Kind::Device;
    case FILE_TYPE_PIPE:
        return FileStatus::Kind::Pipe;
    case FILE_TYPE_DISK:
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FileStatus::Kind::Folder
                                                       : FileStatus::Kind::Regular;
    default:
        return FileStatus::Kind::Other;
    }
}

int statusOf(HANDLE handle, FileStatus& status) {
    status = FileStatus{};
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        status.kind = kindOf(handle, 0);
        return 0;
    }
    if (!GetFileInformationByHandle(handle, &information)) {
        return lastError();
    }
    status.kind = kindOf(handle, information.dwFileAttributes);
    if (status.kind == FileStatus::Kind::Regular) {
        status.size = (std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow;
    }
    status.device = information.dwVolumeSerialNumber;
    status.inode = (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow;
    status.links = information.nNumberOfLinks;
    return 0;
}

// Text for a console, which shows UTF-16: the UTF-8 the program writes is decoded, a sequence
// cut at the end of one write is finished by the next.
class ConsoleText {
public:
    long write(HANDLE console, const char* bytes, std::size_t size) {
        std::lock_guard<std::mutex> hold(mutex_);
        pending_.append(bytes, size);
        std::size_t complete = completePrefix(pending_);
        std::wstring wide = win32::wideFromUtf8(std::string_view(pending_).substr(0, complete));
        pending_.erase(0, complete);
        for (std::size_t done = 0; done < wide.size();) {
            DWORD written = 0;
            auto piece = static_cast<DWORD>(std::min<std::size_t>(wide.size() - done, 16384));
            if (!WriteConsoleW(console, wide.data() + done, piece, &written, nullptr) ||
                written == 0) {
                return lastError();
            }
            done += written;
        }
        return static_cast<long>(size);
    }

private:
    // The length of the longest prefix that does not end inside a UTF-8 sequence.
    static std::size_t completePrefix(const std::string& text) {
        std::size_t end = text.size();
        for (std::size_t back = 1; back <= 3 && back <= end; ++back) {
            auto byte = static_cast<unsigned char>(text[end - back]);
            if ((byte & 0xC0) != 0x80) {
                std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
                return length > back ? end - back : end;
            }
        }
        return end;
    }

    std::mutex mutex_;
    std::string pending_;
};

ConsoleText& consoleText() {
    static ConsoleText text;
    return text;
}

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return GetFileType(handle) == FILE_TYPE_CHAR && GetConsoleMode(handle, &mode);
}

// Whether standard output or error is a console, asked once: the streams stay what they
// were when the program started, and each question costs a call into the system.
bool isConsoleStream(int file, HANDLE handle) {
    static const bool output = isConsole(GetStdHandle(STD_OUTPUT_HANDLE));
    static const bool error = isConsole(GetStdHandle(STD_ERROR_HANDLE));
    if (handle != GetStdHandle(file == kStandardOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE)) {
        return isConsole(handle);
    }
    return file == kStandardOutput ? output : error;
}

// Writes everything or fails: a short write is continued.
long writeWhole(HANDLE handle, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        DWORD written = 0;
        auto piece = static_cast<DWORD>(std::min<std::size_t>(size - done, 1u << 30));
        if (!WriteFile(handle, bytes + done, piece, &written, nullptr)) {
            return lastError();
        }
        if (written == 0) {
            return -ERROR_WRITE_FAULT;
        }
        done += written;
    }
    return static_cast<long>(done);
}

} // namespace

int OperatingSystem::openFile(const std::string& nativePath, const FileOpening& opening) {
    DWORD attributes = opening.readOnly ? FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE
                                        : FILE_ATTRIBUTE_ARCHIVE;
    if (!opening.followLinks) {
        attributes |= FILE_FLAG_OPEN_REPARSE_POINT;
    }
    HANDLE handle =
        CreateFileA(nativePath.c_str(), accessOf(opening), shareModeOf(opening.sharing), nullptr,
                    dispositionOf(opening.creation), attributes, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return lastError();
    }
    return win32::handles().add(handle, opening.append);
}

long OperatingSystem::writeFile(int file, const void* data, std::size_t size) {
    HANDLE handle = win32::handles().find(file);
    if (handle == INVALID_HANDLE_VALUE) {
        return -ERROR_INVALID_HANDLE;
    }
    if ((file == kStandardOutput || file == kStandardError) && isConsoleStream(file, handle)) {
        return consoleText().write(handle, static_cast<const char*>(data), size);
    }
    // Appends of several processes to one file are taken in turns: not every file system
    // appends one writer's piece whole while another appends too. The lock lies past any end
    // a file can have, so it holds up no reader.
    const bool appending = win32::handles().appending(file);
    OVERLAPPED turn{};
    turn.Offset = MAXDWORD - 1;
    turn.OffsetHigh = MAXDWORD >> 1;
    if (appending) {
        LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &turn);
        LARGE_INTEGER end{};
        SetFilePointerEx(handle, end, nullptr, FILE_END);
    }
    long result = writeWhole(handle, data, size);
    if (appending) {
        UnlockFileEx(handle, 0, 1, 0, &turn);
    }
    return result;
}

long OperatingSystem::readFile(int file, void* data, std::size_t size) {
    HANDLE handle = win32::handles().find(file);
    if (handle == INVALID_HANDLE_VALUE) {
        return -ERROR_INVALID_HANDLE;
    }
    DWORD read = 0;
    auto piece = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    if (!ReadFile(handle, data, piece, &read, nullptr)) {
        DWORD error = GetLastError();
        // The other end of a pipe closed: the end of the input.
        return error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF
                   ? 0
                   : -static_cast<long>(error);
    }
    return static_cast<long>(read);
}

long long OperatingSystem::seekFile(int file, long long offset, int whence) {
    HANDLE handle = win32::handles().find(file);
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    DWORD method = whence == kSeekEnd ? FILE_END : whence == kSeekCurrent ? FILE_CURRENT : FILE_BEGIN;
    if (handle == INVALID_HANDLE_VALUE || !SetFilePointerEx(handle, distance, &position, method)) {
        return handle == INVALID_HANDLE_VALUE ? -ERROR_INVALID_HANDLE : lastError();
    }
    return position.QuadPart;
}

int OperatingSystem::syncFile(int file) {
    HANDLE handle = win32::handles().find(file);
    if (handle == INVALID_HANDLE_VALUE) {
        return -ERROR_INVALID_HANDLE;
    }
    return FlushFileBuffers(handle) ? 0 : lastError();
}

int OperatingSystem::truncateFile(int file, long long size) {
    HANDLE handle = win32::handles().find(file);
    if (handle == INVALID_HANDLE_VALUE) {
        return -ERROR_INVALID_HANDLE;
    }
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size;
    return SetFileInformationByHandle(handle, FileEndOfFileInfo, &end, sizeof end) ? 0
                                                                                   : lastError();
}

int OperatingSystem::closeFile(int file) {
    HANDLE handle = win32::handles().remove(file);
    if (handle == INVALID_HANDLE_VALUE) {
        return -ERROR_INVALID_HANDLE;
    }
    return CloseHandle(handle) ? 0 : lastError();
}

int OperatingSystem::renameFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : lastError();
}

int OperatingSystem::removeFile(const std::string& nativePath) {
    return DeleteFileA(nativePath.c_str()) ? 0 : lastError();
}

int OperatingSystem::syncFolder(const std::string&) {
    return 0; // renames are written through (MOVEFILE_WRITE_THROUGH)
}

std::vector<std::string> OperatingSystem::folderEntries(const std::string& nativePath) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    std::string pattern = nativePath;
    if (!pattern.empty() && pattern.back() != '\\' && pattern.back() != '/') {
        pattern.push_back('\\');
    }
    pattern.push_back('*');
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..") {
            names.push_back(std::move(name));
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

int OperatingSystem::fileStatus(int file, FileStatus& status) {
    HANDLE handle = win32::handles().find(file);
    if (handle == INVALID_HANDLE_VALUE) {
        return -ERROR_INVALID_HANDLE;
    }
    return statusOf(handle, status);
}

int OperatingSystem::pathStatus(const std::string& nativePath, FileStatus& status) {
    // Opened for nothing but its attributes, folders included, sharing everything.
    HANDLE handle = CreateFileA(nativePath.c_str(), FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return lastError();
    }
    int result = statusOf(handle, status);
    CloseHandle(handle);
    return result;
}

int OperatingSystem::lockFile(int file, FileLock lock) {
    HANDLE handle = win32::handles().find(file);
    if (handle == INVALID_HANDLE_VALUE) {
        return -ERROR_INVALID_HANDLE;
    }
    DWORD flags = lock == FileLock::Shared ? 0 : LOCKFILE_EXCLUSIVE_LOCK;
    if (lock != FileLock::ExclusiveWaiting) {
        flags |= LOCKFILE_FAIL_IMMEDIATELY;
    }
    OVERLAPPED whole{};
    return LockFileEx(handle, flags, 0, MAXDWORD, MAXDWORD, &whole) ? 0 : lastError();
}

std::string OperatingSystem::executablePath() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2); // cut short: a longer path than MAX_PATH
    }
}

std::string OperatingSystem::currentDirectory() {
    DWORD length = GetCurrentDirectoryA(0, nullptr);
    std::string path(length, '\0');
    length = GetCurrentDirectoryA(length, path.data());
    path.resize(length);
    return path;
}

std::chrono::system_clock::time_point OperatingSystem::now() {
    return std::chrono::system_clock::now();
}

LocalTime OperatingSystem::localTime(std::chrono::system_clock::time_point moment) {
    std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
    std::tm local{};
    localtime_s(&local, &seconds);
    return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                     local.tm_hour,        local.tm_min,     local.tm_sec};
}

int OperatingSystem::processId() {
    return static_cast<int>(GetCurrentProcessId());
}

bool OperatingSystem::processRunning(int processId) {
    if (processId <= 0) {
        return false;
    }
    HANDLE process =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(processId));
    if (!process) {
        // A process of another user is there all the same.
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return running;
}

void OperatingSystem::exitProcess(int code) {
    std::fflush(nullptr);
    // Every table and file is closed by then; nothing of the program's own runs after this.
    ExitProcess(static_cast<UINT>(code));
}

void OperatingSystem::sleep(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

std::optional<std::string> OperatingSystem::environmentVariable(std::string_view name) {
    const std::string variable(name);
    SetLastError(ERROR_SUCCESS);
    DWORD length = GetEnvironmentVariableA(variable.c_str(), nullptr, 0);
    if (length == 0) {
        // Set but empty, or not set at all.
        return GetLastError() == ERROR_ENVVAR_NOT_FOUND ? std::nullopt
                                                        : std::optional<std::string>("");
    }
    std::string value(length, '\0');
    length = GetEnvironmentVariableA(variable.c_str(), value.data(), length);
    value.resize(length);
    return value;
}

std::string userInterfaceLanguage() {
    char code[9] = {};
    const LCID language = MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT);
    return GetLocaleInfoA(language, LOCALE_SISO639LANGNAME, code, sizeof code) > 0 ? std::string(code)
                                                                                   : std::string();
}

void OperatingSystem::tone(std::uint32_t frequency, std::uint32_t ticks) {
    // Beep takes milliseconds and frequencies from 37 to 32,767 hertz.
    if (frequency < 37 || frequency > 32767 || ticks == 0) {
        return;
    }
    Beep(frequency, static_cast<DWORD>(std::min<std::uint32_t>(ticks, 182) * 1000 / 18));
}

void OperatingSystem::debugOutput(const std::string& text) {
    OutputDebugStringA(text.c_str());
}

void OperatingSystem::writeStandardError(const std::string& text) {
    writeFile(kStandardError, text.data(), text.size());
}

} // namespace cuentas
