// Blocks of memory for the runtime's large arrays, and the rows laid side by side in them.
#include "platform/os/large_blocks.h"
#include "platform/runtime/arrays.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace cuentas {
namespace {

TEST(LargeBlocks, SmallOnesAreAlignedForACacheLineLargeOnesForAHugePage) {
    for (std::size_t size : {std::size_t{1}, std::size_t{64}, kLargeBlockSize - 1, kLargeBlockSize,
                             kLargeBlockSize * 3 + 4097}) {
        SCOPED_TRACE(size);
        auto* block = static_cast<unsigned char*>(allocateBlock(size));
        const auto address = reinterpret_cast<std::uintptr_t>(block);
        EXPECT_EQ(address % 64, 0u);
        if (size >= kLargeBlockSize) {
            EXPECT_EQ(address % kLargeBlockSize, 0u);
            EXPECT_EQ(block[size - 1], 0) << "fresh pages read as zeros";
        }
        std::memset(block, 0xA5, size); // every byte is the caller's
        freeBlock(block, size);
    }
}

TEST(ArrayRows, RowsOfPairsAreArraysOfTheirOwnSharingOneBlock) {
    for (std::size_t count : {std::size_t{0}, std::size_t{3}, std::size_t{100000}}) {
        SCOPED_TRACE(count);
        ArrayRef kept;
        {
            ArrayRows rows(
                count, [](std::size_t i) noexcept { return Value::integer(static_cast<int>(i)); },
                [](std::size_t i) noexcept { return Value(Text(std::to_string(i) + " name")); });
            ASSERT_EQ(rows.size(), count);
            if (count == 0) {
                continue;
            }
            kept = rows.reference(count - 1);
            rows[0].append(Value("grown")); // a row is an ordinary array
            EXPECT_EQ(rows.reference(0)->size(), 3u);
        }
        // The block outlives the rows object while one of its rows is held.
        ASSERT_EQ(kept->size(), 2u);
        EXPECT_EQ(kept->at(1).asInteger(), static_cast<int>(count - 1));
        EXPECT_EQ(kept->at(2).asString(), std::to_string(count - 1) + " name");
    }
}

} // namespace
} // namespace cuentas
