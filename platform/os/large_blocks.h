#pragma once
// Memory for blocks of several mebibytes (the rows of a large table): mapped on their own, on
// a 2 MiB boundary, and offered to the system's huge pages, so that filling them costs a few
// faults instead of one per 4 KiB page. Smaller blocks come from the ordinary heap.

#include <cstddef>

namespace cuentas {

// Blocks of this size or more are large.
inline constexpr std::size_t kLargeBlockSize = std::size_t{2} << 20;

// `size` bytes, aligned to at least 64, zero-filled when large (fresh pages). Throws
// std::bad_alloc when there is no memory for them.
void* allocateBlock(std::size_t size);
// `size` rounded up to whole pages of memory.
std::size_t wholePages(std::size_t size);

// Frees a block of allocateBlock, given the same size.
void freeBlock(void* block, std::size_t size) noexcept;

} // namespace cuentas
