#pragma once
// The runtime numbers operating-system errors as its file functions report them (FError,
// OSCODE): 2 file not found, 3 path not found, 5 access denied, 32 sharing violation,
// 33 lock violation, 112 disk full, ... These are the Windows error codes; POSIX errors are
// translated on the way in.

#include <cstdint>
#include <string>

namespace cuentas {

namespace oserror {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kPathNotFound = 3;
inline constexpr std::uint32_t kTooManyOpenFiles = 4;
inline constexpr std::uint32_t kAccessDenied = 5;
inline constexpr std::uint32_t kInvalidHandle = 6;
inline constexpr std::uint32_t kNotEnoughMemory = 8;
inline constexpr std::uint32_t kGeneralFailure = 31;
inline constexpr std::uint32_t kSharingViolation = 32;
inline constexpr std::uint32_t kLockViolation = 33;
inline constexpr std::uint32_t kFileExists = 80;
inline constexpr std::uint32_t kInvalidParameter = 87;
inline constexpr std::uint32_t kDiskFull = 112;
inline constexpr std::uint32_t kNameTooLong = 206;
} // namespace oserror

// What really went wrong, where the runtime's number alone would mislead the user: a folder
// and a missing permission are both "access denied", a loop of links a "general failure".
enum class OsCause {
    Unknown,   // the number says all that is known
    Folder,    // a folder where a file was expected
    NotFolder, // a file where the path needs a folder
    Pipe,      // a named pipe where a file was expected
    Device,    // a device where a file was expected
    Socket,    // a socket where a file was expected
    LinkLoop,  // too many levels of symbolic links
    ReadOnly,  // a read-only file system
    TooLarge,  // more than the caller reads whole
};

// Translates an error number of the system the program runs on (errno on POSIX, the Windows
// error code on Windows), as the operating-system seam reports it (negated).
std::uint32_t osErrorFromSystem(int systemError);
// The cause of a system error number that the runtime's number alone does not tell.
OsCause osCauseFromSystem(int systemError);
// The system's own error number for a runtime error and its cause: what a system call of this
// platform fails with to give them (for tests that stand in for the system).
int systemErrorFor(std::uint32_t osError, OsCause cause = OsCause::Unknown);
// A short English text for a runtime OS error code; the cause's own text when it is known.
std::string osErrorText(std::uint32_t code, OsCause cause = OsCause::Unknown);

} // namespace cuentas
