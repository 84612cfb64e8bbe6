#pragma once
// The one seam between the runtime and the operating system: files, clock, locale, registry,
// environment, message boxes, sound, sleep, debugger output and process exit.
// Tests derive from OperatingSystem, override what they need and install it with ScopedOs.
// It speaks plain C++ types and never includes anything of the runtime above it. Each
// platform implements it in a folder of its own (posix/, win32/).

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cuentas {

// Flags of MessageBoxA that the runtime passes.
inline constexpr std::uint32_t kMessageBoxOk = 0x0;
inline constexpr std::uint32_t kMessageBoxIconError = 0x10;
inline constexpr int kMessageBoxAnswerOk = 1;

// The standard streams, as open files.
inline constexpr int kStandardInput = 0;
inline constexpr int kStandardOutput = 1;
inline constexpr int kStandardError = 2;

// Where seekFile counts from.
inline constexpr int kSeekStart = 0;
inline constexpr int kSeekCurrent = 1;
inline constexpr int kSeekEnd = 2;

// How a file is opened: what is done with it, whether it is made, and what other opens of it
// may do meanwhile.
struct FileOpening {
    enum class Access { Read, Write, ReadWrite };
    enum class Creation {
        Existing,     // it must exist
        OpenOrCreate, // made, empty, when missing
        New,          // made; fails when the name exists
    };
    // Opens under the sharing rules conflict when either of them denies what the other does
    // (a sharing violation); Free opens take no part in the rules where the system lets them.
    enum class Sharing { Free, Shared, DenyWrite, DenyRead, DenyAll };

    Access access = Access::Read;
    Creation creation = Creation::Existing;
    Sharing sharing = Sharing::Free;
    bool append = false;     // every write goes to the end
    bool readOnly = false;   // a file made gets the read-only attribute
    bool followLinks = true; // false: a symbolic link at the name is not opened
};

// What a path or an open file is, its size in bytes (regular files), the file it is (device and
// inode, or volume and file index) and how many names it has (0 once removed).
struct FileStatus {
    enum class Kind { Regular, Folder, Pipe, Device, Socket, Other };
    Kind kind = Kind::Other;
    std::uint64_t size = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t links = 0;
};

// Advisory locks on an open file: shared or exclusive, taken at once or waited for.
enum class FileLock { Shared, Exclusive, ExclusiveWaiting };

// A moment as the local calendar and clock show it.
struct LocalTime {
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The buttons of the runtime's error message box.
struct ErrorBoxButtons {
    std::uint32_t defaultCode = 0; // 1, or 0 for no "default" button
    std::uint32_t retryCode = 0;   // 2, or 0 for no "retry" button
    std::uint32_t breakCode = 0;   // 0x80000003 or 0x80000000: "give up", with or without break
};

class OperatingSystem {
public:
    virtual ~OperatingSystem() = default;

    // Files. Results of 0 or more are success; a negative result is the system's own error
    // number, negated (errno, or the Windows error code), which osErrorFromSystem translates.
    // Paths are native (on POSIX the runtime's backslashes already turned into slashes). Open
    // files are small numbers; kStandardInput, kStandardOutput and kStandardError are open
    // from the start.
    virtual int openFile(const std::string& nativePath, const FileOpening& opening);
    virtual long writeFile(int file, const void* data, std::size_t size);
    virtual long readFile(int file, void* data, std::size_t size);
    virtual long long seekFile(int file, long long offset, int whence);
    virtual int syncFile(int file);
    virtual int truncateFile(int file, long long size);
    virtual int closeFile(int file);
    // Renames over an existing file in one step, which reaches the disk before it returns.
    virtual int renameFile(const std::string& from, const std::string& to);
    virtual int removeFile(const std::string& nativePath);
    // Makes the latest renames and removals in a folder durable (nothing to do where renames
    // are written through).
    virtual int syncFolder(const std::string& nativePath);
    // The names in a folder, "." and ".." left out; an empty list when it cannot be read.
    virtual std::vector<std::string> folderEntries(const std::string& nativePath);
    // Of an open file, and of a path with its links followed: 0, or the negated error.
    virtual int fileStatus(int file, FileStatus& status);
    virtual int pathStatus(const std::string& nativePath, FileStatus& status);
    // 0, or the negated error; a lock not waited for gives the system's lock conflict when
    // another open holds one that conflicts.
    virtual int lockFile(int file, FileLock lock);

    // Process and clock.
    virtual std::string executablePath(); // native path of the running executable
    virtual std::string currentDirectory();
    virtual std::chrono::system_clock::time_point now();
    // The local time of a moment, by the system's time zone.
    virtual LocalTime localTime(std::chrono::system_clock::time_point moment);
    virtual int processId();
    // Whether a process of that id is running now (ours included).
    virtual bool processRunning(int processId);
    [[noreturn]] virtual void exitProcess(int code);
    virtual void sleep(std::uint32_t milliseconds);

    // Locale queries: GetUserDefaultLCID and GetLocaleInfoA.
    virtual std::uint32_t userDefaultLocale();
    virtual int localeInfo(std::uint32_t locale, std::uint32_t item, char* buffer, int size);
    // The language the user reads messages in, as its two-letter code ("es", "en"); empty
    // when nothing says.
    virtual std::string messageLanguage();

    virtual std::optional<std::string> environmentVariable(std::string_view name);

    // User interface: MessageBoxA and the runtime's error message box. Without a desktop that
    // can show them (DesktopServices), the text goes to stderr: the plain box is answered OK,
    // the error box is given up.
    virtual int messageBox(const std::string& text, const std::string& caption,
                           std::uint32_t flags);
    virtual std::uint32_t errorMessageBox(const std::string& text, const std::string& caption,
                                          ErrorBoxButtons buttons);
    // A tone of `frequency` hertz for `ticks` eighteenths of a second; silent without a
    // desktop's tone (DesktopServices).
    virtual void tone(std::uint32_t frequency, std::uint32_t ticks);
    virtual void debugOutput(const std::string& text);
    // UTF-8 text for the standard error stream, as it is.
    virtual void writeStandardError(const std::string& text);
};

// What only a desktop can do: show a box that a user answers, and sound a tone. The GUI and
// sound libraries provide these; the program installs them at start-up, so that the layers
// below never link a GUI toolkit or a sound library.
struct DesktopServices {
    // TRUE when someone can see and answer a box now.
    bool (*canShowBoxes)() = nullptr;
    int (*messageBox)(const std::string& text, const std::string& caption,
                      std::uint32_t flags) = nullptr;
    std::uint32_t (*errorMessageBox)(const std::string& text, const std::string& caption,
                                     ErrorBoxButtons buttons) = nullptr;
    void (*tone)(std::uint32_t frequency, std::uint32_t ticks) = nullptr;
};

// Replaces the desktop services the default operating system uses (empty ones: none).
void installDesktopServices(const DesktopServices& services);
// The desktop services installed now.
const DesktopServices& desktopServices();

// The operating system the runtime talks to now.
OperatingSystem& operatingSystem();

// Installs a replacement for as long as it lives (tests).
class ScopedOs {
public:
    explicit ScopedOs(OperatingSystem& replacement);
    ~ScopedOs();
    ScopedOs(const ScopedOs&) = delete;
    ScopedOs& operator=(const ScopedOs&) = delete;

private:
    OperatingSystem* previous_;
};

} // namespace cuentas
