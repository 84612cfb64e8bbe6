// Replacing a file whole on POSIX: a save holds an exclusive lock on its temporary from
// creation to rename, so a temporary that nobody holds is a leftover of a save whose process
// is gone, whatever process ids have been reused since.
#include "platform/os/file_replacement.h"

#include "platform/os/operating_system.h"
#include "platform/os/paths.h"

#include <cerrno>

namespace cuentas::replacement {
namespace {

// Removes the temporary `path` if no save is writing it. Only the lock holder removes or
// renames a temporary, so once the lock is ours and the name still leads to the file we
// locked, it stays so until we remove it.
void removeIfAbandoned(const std::string& path) {
    OperatingSystem& system = operatingSystem();
    FileOpening opening;
    opening.followLinks = false;
    int file = system.openFile(path, opening);
    if (file < 0) {
        return;
    }
    FileStatus locked;
    FileStatus named;
    if (system.lockFile(file, FileLock::Exclusive) == 0 && system.fileStatus(file, locked) == 0 &&
        system.pathStatus(path, named) == 0 && locked.kind == FileStatus::Kind::Regular &&
        locked.device == named.device && locked.inode == named.inode) {
        system.removeFile(path);
    }
    system.closeFile(file); // releases the lock
}

} // namespace

bool isTemporaryOf(const std::string& name, const std::string& targetName) {
    const std::string prefix = targetName + ".tmp";
    return name.size() > prefix.size() && name.starts_with(prefix) &&
           name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

void removeAbandonedTemporaries(const std::string& target) {
    const std::string folder = nativeFolderOf(target);
    const std::string targetName = target.substr(target.rfind('/') + 1);
    for (const std::string& name : operatingSystem().folderEntries(folder)) {
        if (isTemporaryOf(name, targetName)) {
            removeIfAbandoned(nativeChild(folder, name));
        }
    }
}

// A temporary of that name is a leftover of an earlier process with the same id (ids are
// reused), removed when abandoned.
int createTemporary(const std::string& temporary) {
    OperatingSystem& system = operatingSystem();
    FileOpening opening;
    opening.access = FileOpening::Access::Write;
    opening.creation = FileOpening::Creation::New;
    for (int attempt = 0;; ++attempt) {
        int file = system.openFile(temporary, opening);
        if (file == -EEXIST && attempt < 3) {
            removeIfAbandoned(temporary);
            continue;
        }
        if (file < 0) {
            return file;
        }
        // Held until the rename; another save removing leftovers holds it only for a moment.
        system.lockFile(file, FileLock::ExclusiveWaiting);
        FileStatus status;
        if (system.fileStatus(file, status) == 0 && status.links == 0 && attempt < 3) {
            system.closeFile(file); // removed as abandoned just before we locked it
            continue;
        }
        return file;
    }
}

bool removableWhileOpen() {
    return true;
}

void discardTemporary(int file, const std::string& temporary) {
    // Removed while our lock still tells other saves that it is being written.
    operatingSystem().removeFile(temporary);
    operatingSystem().closeFile(file);
}

int putInPlace(int file, const std::string& temporary, const std::string& target) {
    OperatingSystem& system = operatingSystem();
    // Renamed, or removed, while our lock still tells other saves that it is being written.
    int renamed = system.renameFile(temporary, target);
    if (renamed < 0) {
        system.removeFile(temporary);
    }
    system.closeFile(file); // the content is on disk already: nothing is lost by a failed close
    return renamed;
}

} // namespace cuentas::replacement
