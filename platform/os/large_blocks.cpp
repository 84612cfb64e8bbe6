#include "platform/os/large_blocks.h"

#include <cstdint>
#include <new>
#include <sys/mman.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#define CUENTAS_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define CUENTAS_LEAK_CHECKED 1
#endif
#endif

namespace cuentas {
namespace {

constexpr std::align_val_t kSmallAlignment{64};

} // namespace

std::size_t wholePages(std::size_t size) {
    const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return (size + page - 1) / page * page;
}

void* allocateBlock(std::size_t size) {
    if (size < kLargeBlockSize) {
        return ::operator new(size, kSmallAlignment);
    }
    // Mapped with room to move its start to a 2 MiB boundary, then trimmed to the block: only
    // whole, aligned 2 MiB stretches can become huge pages. A tail shorter than that stays in
    // small pages, so nothing past the block is taken.
    const std::size_t length = wholePages(size);
    void* area = ::mmap(nullptr, length + kLargeBlockSize, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (area == MAP_FAILED) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(area);
    const std::uintptr_t aligned = (start + kLargeBlockSize - 1) & ~(kLargeBlockSize - 1);
    if (aligned > start) {
        ::munmap(area, aligned - start);
    }
    const std::uintptr_t end = start + length + kLargeBlockSize;
    if (end > aligned + length) {
        ::munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
    }
    auto* block = reinterpret_cast<void*>(aligned);
    // Advice only: where the system keeps huge pages for those who ask, it is taken.
    ::madvise(block, length, MADV_HUGEPAGE);
#ifdef CUENTAS_LEAK_CHECKED
    // The leak checker looks for references in the heap it knows; this block is not in it.
    __lsan_register_root_region(block, length);
#endif
    return block;
}

void freeBlock(void* block, std::size_t size) noexcept {
    if (!block) {
        return;
    }
    if (size < kLargeBlockSize) {
        ::operator delete(block, kSmallAlignment);
        return;
    }
#ifdef CUENTAS_LEAK_CHECKED
    __lsan_unregister_root_region(block, wholePages(size));
#endif
    ::munmap(block, wholePages(size));
}

} // namespace cuentas
