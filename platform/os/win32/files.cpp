// Replacing a file whole on Windows: a save holds its temporary open without sharing from
// creation until it is complete, so no other process can open, rename or remove it
// meanwhile; a temporary is abandoned once no process of the id in its name runs, or once it
// is older than any save can take (ids are reused).
#include "platform/os/file_replacement.h"

#include "platform/os/operating_system.h"
#include "platform/os/paths.h"

#include <cstdlib>

#include <windows.h>

namespace cuentas::replacement {
namespace {

// Longer than any save takes, however slow the disk.
constexpr ULONGLONG kAbandonedAfter100ns = 10ULL * 60 * 1000 * 1000 * 10; // ten minutes
// Another program that has the target open without letting it be replaced (a reader that
// opened it without FILE_SHARE_DELETE) holds it for a moment only: the save tries again for
// about a second before it gives up.
constexpr int kPlaceAttempts = 20;
constexpr DWORD kPlacePauseMilliseconds = 50;

int processIdOf(const std::string& name, const std::string& targetName) {
    return std::atoi(name.c_str() + targetName.size() + 4);
}

bool olderThanAnySave(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        return false;
    }
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    auto value = [](const FILETIME& time) {
        return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    };
    return value(now) > value(data.ftLastWriteTime) + kAbandonedAfter100ns;
}

bool busy(int error) {
    return error == -ERROR_ACCESS_DENIED || error == -ERROR_SHARING_VIOLATION ||
           error == -ERROR_LOCK_VIOLATION;
}

} // namespace

bool isTemporaryOf(const std::string& name, const std::string& targetName) {
    const std::string prefix = targetName + ".tmp";
    return name.size() > prefix.size() &&
           CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.data(),
                          static_cast<int>(prefix.size()), prefix.data(),
                          static_cast<int>(prefix.size())) == CSTR_EQUAL &&
           name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

void removeAbandonedTemporaries(const std::string& target) {
    OperatingSystem& system = operatingSystem();
    const std::string folder = nativeFolderOf(target);
    const std::string targetName = target.substr(target.find_last_of("\\/:") + 1);
    for (const std::string& name : system.folderEntries(folder)) {
        if (!isTemporaryOf(name, targetName)) {
            continue;
        }
        const std::string path = nativeChild(folder, name);
        const int writer = processIdOf(name, targetName);
        // A save still writing holds its temporary without sharing: removing it fails.
        if (writer == system.processId() || !system.processRunning(writer) ||
            olderThanAnySave(path)) {
            system.removeFile(path);
        }
    }
}

int createTemporary(const std::string& temporary) {
    FileOpening opening;
    opening.access = FileOpening::Access::Write;
    // A leftover of an earlier process with our id is replaced.
    opening.creation = FileOpening::Creation::OpenOrCreate;
    opening.sharing = FileOpening::Sharing::DenyAll;
    OperatingSystem& system = operatingSystem();
    int file = system.openFile(temporary, opening);
    if (file >= 0) {
        if (int emptied = system.truncateFile(file, 0); emptied < 0) {
            system.closeFile(file);
            return emptied;
        }
    }
    return file;
}

bool removableWhileOpen() {
    return false;
}

void discardTemporary(int file, const std::string& temporary) {
    // Held without sharing, it can be removed only once closed.
    operatingSystem().closeFile(file);
    operatingSystem().removeFile(temporary);
}

int putInPlace(int file, const std::string& temporary, const std::string& target) {
    OperatingSystem& system = operatingSystem();
    // A file open without sharing cannot be renamed, even by its holder: closed first. From
    // here to the rename, no other save removes it, since our process still runs.
    system.closeFile(file);
    int placed = 0;
    for (int attempt = 1; attempt <= kPlaceAttempts; ++attempt) {
        placed = system.renameFile(temporary, target);
        if (placed == 0 || !busy(placed)) {
            break;
        }
        // A folder of that name is no reader that will go away.
        FileStatus status;
        if (system.pathStatus(target, status) == 0 && status.kind == FileStatus::Kind::Folder) {
            break;
        }
        system.sleep(kPlacePauseMilliseconds);
    }
    if (placed < 0) {
        system.removeFile(temporary);
    }
    return placed;
}

} // namespace cuentas::replacement
