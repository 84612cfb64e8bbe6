#include "platform/os/file_snapshot.h"

#include "platform/os/large_blocks.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <linux/magic.h>
#include <pthread.h>
#include <sched.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace cuentas {
namespace {

// The mapped files, where the signal handler can reach them without taking a lock. A slot's
// state is its lease's descriptor while the snapshot lives, kFree when unused and kBusy while
// the handler copies it or its owner releases it.
constexpr int kFree = -1;
constexpr int kBusy = -2;
constexpr int kSlots = 32;

struct Slot {
    std::atomic<int> state{kFree};
    int fd = -1;
    char* bytes = nullptr;
    std::size_t length = 0;
    std::atomic<bool> detached{false}; // the bytes are no longer the file's (copied or blanked)
};

Slot slots[kSlots];
struct sigaction previousHandler {};

// Only local file systems: there every change to a file goes through this kernel, which
// holds a writer back until the lease is released. A network or user-space file system may
// change the file behind it.
bool leasesHoldOn(int fd) {
    struct statfs info {};
    if (::fstatfs(fd, &info) != 0) {
        return false;
    }
    switch (static_cast<unsigned long>(info.f_type)) {
    case EXT4_SUPER_MAGIC: // also ext2 and ext3
    case XFS_SUPER_MAGIC:
    case BTRFS_SUPER_MAGIC:
    case TMPFS_MAGIC:
    case F2FS_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

// Puts read-only zero pages where the slot's bytes were: what is left when the bytes can no
// longer be had. They cost no memory of their own.
void blankOut(Slot& slot) {
    ::mmap(slot.bytes, slot.length, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    slot.detached.store(true, std::memory_order_release);
}

// Puts a private copy of the slot's bytes where the mapping was, in one step, and lets the
// waiting writer go on. Without memory for the copy the bytes are blanked instead: the writer
// is not held back, and nothing reads past the end of a file it cuts short. Only calls that
// are safe in a signal handler.
void copyAndRelease(Slot& slot) {
    void* copy =
        ::mmap(nullptr, slot.length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    bool copied = false;
    if (copy != MAP_FAILED) {
        std::memcpy(copy, slot.bytes, slot.length);
        ::mprotect(copy, slot.length, PROT_READ);
        copied = ::mremap(copy, slot.length, slot.length, MREMAP_MAYMOVE | MREMAP_FIXED,
                          slot.bytes) != MAP_FAILED;
        if (!copied) {
            ::munmap(copy, slot.length);
        }
    }
    if (copied) {
        slot.detached.store(true, std::memory_order_release);
    } else {
        blankOut(slot);
    }
    ::fcntl(slot.fd, F_SETLEASE, F_UNLCK);
}

bool leaseBreaking(const Slot& slot) {
    return !slot.detached.load(std::memory_order_acquire) &&
           ::fcntl(slot.fd, F_GETLEASE) != F_RDLCK;
}

// Handles a break of the slot's lease if one is under way; false when it was not. A slot held
// busy by someone else is theirs to look at again when they let it go.
bool settleBreak(Slot& slot) {
    bool handled = false;
    for (;;) {
        int fd = slot.state.load(std::memory_order_acquire);
        if (fd < 0 || !slot.state.compare_exchange_strong(fd, kBusy, std::memory_order_acquire)) {
            return handled;
        }
        if (leaseBreaking(slot)) {
            copyAndRelease(slot);
            handled = true;
        }
        slot.state.store(fd, std::memory_order_release);
        // A break that came while the slot was busy found nobody to handle it.
        if (!leaseBreaking(slot)) {
            return handled;
        }
    }
}

struct sigaction previousBusErrorHandler {};

void passOn(const struct sigaction& previous, int signal, siginfo_t* info, void* context) {
    if (previous.sa_flags & SA_SIGINFO) {
        if (previous.sa_sigaction) {
            previous.sa_sigaction(signal, info, context);
        }
    } else if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
        previous.sa_handler(signal);
    }
}

// A lease being broken reads as F_UNLCK. Every slot is looked at: two breaks at once may
// arrive as one signal.
void onLeaseBreak(int signal, siginfo_t* info, void* context) {
    const int savedErrno = errno;
    bool ours = false;
    for (Slot& slot : slots) {
        ours = settleBreak(slot) || ours;
    }
    errno = savedErrno;
    if (!ours) {
        passOn(previousHandler, signal, info, context); // someone else's input signal
    }
}

// A file cut short by a program that the lease does not hold back (one opening it to read
// with O_TRUNC): the pages past its new end are gone. The slot is blanked and the read that
// faulted is done again on zeros, instead of ending the program. Faults elsewhere are not ours.
void onBusError(int signal, siginfo_t* info, void* context) {
    const auto* address = static_cast<const char*>(info->si_addr);
    for (Slot& slot : slots) {
        if (slot.state.load(std::memory_order_acquire) == kFree) {
            continue;
        }
        if (slot.bytes && address >= slot.bytes && address < slot.bytes + slot.length) {
            const int savedErrno = errno;
            blankOut(slot);
            errno = savedErrno;
            return;
        }
    }
    if (previousBusErrorHandler.sa_handler == SIG_DFL ||
        previousBusErrorHandler.sa_handler == SIG_IGN) {
        // Ends the program as it would have ended: the faulting read is done again.
        ::sigaction(SIGBUS, &previousBusErrorHandler, nullptr);
        return;
    }
    passOn(previousBusErrorHandler, signal, info, context);
}

bool installHandlers() {
    static bool installed = [] {
        struct sigaction action {};
        action.sa_sigaction = onLeaseBreak;
        action.sa_flags = SA_SIGINFO | SA_RESTART;
        sigemptyset(&action.sa_mask);
        struct sigaction busError {};
        busError.sa_sigaction = onBusError;
        busError.sa_flags = SA_SIGINFO;
        sigemptyset(&busError.sa_mask);
        return ::sigaction(SIGIO, &action, &previousHandler) == 0 &&
               ::sigaction(SIGBUS, &busError, &previousBusErrorHandler) == 0;
    }();
    return installed;
}

// The lease's break reaches us only where the signal is let through.
bool signalLetThrough() {
    sigset_t blocked;
    return ::pthread_sigmask(SIG_BLOCK, nullptr, &blocked) == 0 && !sigismember(&blocked, SIGIO);
}

int claimSlot() {
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (slots[i].state.compare_exchange_strong(expected, kBusy)) {
            return i;
        }
    }
    return -1;
}

// A read lease on an open file description of our own, so that it ends with the snapshot
// whatever the caller does with `fd`: a duplicate would share the caller's, and its lease. The
// kernel signals a break with SIGIO to this process.
int leasedReopening(int fd) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    int own = ::open(self.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (own < 0) {
        return -1;
    }
    struct stat theirs {};
    struct stat ours {};
    if (::fstat(fd, &theirs) != 0 || ::fstat(own, &ours) != 0 || theirs.st_dev != ours.st_dev ||
        theirs.st_ino != ours.st_ino || ::fcntl(own, F_SETSIG, SIGIO) != 0 ||
        ::fcntl(own, F_SETOWN, ::getpid()) != 0 || ::fcntl(own, F_SETLEASE, F_RDLCK) != 0) {
        ::close(own);
        return -1;
    }
    return own;
}

// `room` bytes of our own on whole pages, then the file's bytes from a page boundary.
char* mapAfterRoom(int fd, std::size_t length, std::size_t room) {
    const std::size_t roomPages = wholePages(room);
    void* area = ::mmap(nullptr, roomPages + length, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) {
        return nullptr;
    }
    char* bytes = static_cast<char*>(area) + roomPages;
    if (::mmap(bytes, length, PROT_READ, MAP_PRIVATE | MAP_FIXED, fd, 0) == MAP_FAILED) {
        ::munmap(area, roomPages + length);
        return nullptr;
    }
    return bytes;
}

void unmapWithRoom(char* bytes, std::size_t length, std::size_t room) {
    const std::size_t roomPages = wholePages(room);
    ::munmap(bytes - roomPages, roomPages + length);
}

} // namespace

std::optional<FileSnapshot> FileSnapshot::take(int fd, std::size_t length, std::size_t room) {
    struct stat info {};
    if (length == 0 || ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::uint64_t>(info.st_size) < length || !leasesHoldOn(fd) ||
        !signalLetThrough() || !installHandlers()) {
        return std::nullopt;
    }
    const int slot = claimSlot();
    if (slot < 0) {
        return std::nullopt;
    }
    Slot& s = slots[slot];
    // The lease first: from then on nobody can change the bytes being mapped.
    s.fd = leasedReopening(fd);
    s.bytes = s.fd < 0 ? nullptr : mapAfterRoom(s.fd, length, room);
    // The size again, under the lease: a file cut short before it was taken is not mapped.
    if (s.bytes &&
        (::fstat(s.fd, &info) != 0 || static_cast<std::uint64_t>(info.st_size) < length)) {
        unmapWithRoom(s.bytes, length, room);
        s.bytes = nullptr;
    }
    if (!s.bytes) {
        if (s.fd >= 0) {
            ::close(s.fd);
        }
        s.fd = -1;
        s.state.store(kFree, std::memory_order_release);
        return std::nullopt;
    }
    s.length = length;
    s.detached.store(false, std::memory_order_relaxed);
    s.state.store(s.fd, std::memory_order_release);
    // A writer that came while the slot was being filled found it busy and is still waiting.
    settleBreak(s);
    return FileSnapshot(slot, s.bytes, length, room);
}

FileSnapshot::FileSnapshot(FileSnapshot&& other) noexcept
    : slot_(other.slot_), bytes_(other.bytes_), length_(other.length_), room_(other.room_) {
    other.slot_ = -1;
}

bool FileSnapshot::asInFile() const {
    if (slot_ < 0) {
        return false;
    }
    const Slot& s = slots[slot_];
    return !s.detached.load(std::memory_order_acquire) && ::fcntl(s.fd, F_GETLEASE) == F_RDLCK;
}

FileSnapshot::~FileSnapshot() {
    if (slot_ < 0) {
        return;
    }
    Slot& s = slots[slot_];
    // Waits while the handler copies the bytes on another thread.
    for (int fd = s.fd; !s.state.compare_exchange_weak(fd, kBusy, std::memory_order_acquire);
         fd = s.fd) {
        ::sched_yield();
    }
    ::fcntl(s.fd, F_SETLEASE, F_UNLCK);
    ::close(s.fd);
    unmapWithRoom(s.bytes, s.length, room_);
    s.fd = -1;
    s.bytes = nullptr;
    s.length = 0;
    s.state.store(kFree, std::memory_order_release);
}

} // namespace cuentas
