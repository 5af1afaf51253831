// LocalAlloc, LocalReAlloc, LocalFree, LocalSize: flags, growing in place and moving, and
// handles that are not live blocks.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

namespace {

TEST(LocalMemory, FlagValuesAreThePlatforms) {
  EXPECT_EQ(LMEM_FIXED, 0x0000u);
  EXPECT_EQ(LMEM_MOVEABLE, 0x0002u);
  EXPECT_EQ(LMEM_ZEROINIT, 0x0040u);
  EXPECT_EQ(LPTR, 0x0040u);
  EXPECT_EQ(ERROR_INVALID_HANDLE, 6);
}

TEST(LocalMemory, AllocatesFixedZeroedAndEmptyBlocks) {
  HLOCAL zeroed = LocalAlloc(0x40, 300);
  ASSERT_NE(zeroed, nullptr);
  EXPECT_EQ(LocalSize(zeroed), 300u);
  const auto* bytes = static_cast<const unsigned char*>(zeroed);
  for (int i = 0; i < 300; ++i) ASSERT_EQ(bytes[i], 0) << i;
  EXPECT_EQ(LocalFree(zeroed), nullptr);

  HLOCAL empty = LocalAlloc(0, 0);  // a block of no bytes is still a block
  ASSERT_NE(empty, nullptr);
  SetLastError(0);
  EXPECT_EQ(LocalSize(empty), 0u);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(LocalFree(empty), nullptr);

  // Only fixed blocks: a moveable one, unknown flags and absurd sizes are refused.
  EXPECT_EQ(LocalAlloc(0x0002, 16), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(LocalAlloc(0x1000, 16), nullptr);
  EXPECT_EQ(LocalAlloc(0, ~static_cast<SIZE_T>(0)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST(LocalMemory, ReAllocGrowsInPlaceOnlyWithinTheBlockAndMovesOnlyWhenAllowed) {
  HLOCAL block = LocalAlloc(0, 64);
  ASSERT_NE(block, nullptr);
  std::memset(block, 0xAB, 64);

  // Shrinking stays in place, and so does growing back to the size it had.
  EXPECT_EQ(LocalReAlloc(block, 16, 0), block);
  EXPECT_EQ(LocalSize(block), 16u);
  EXPECT_EQ(LocalReAlloc(block, 32, 0x40), block);
  EXPECT_EQ(LocalSize(block), 32u);
  const auto* bytes = static_cast<const unsigned char*>(block);
  EXPECT_EQ(bytes[15], 0xAB);
  EXPECT_EQ(bytes[16], 0);  // LMEM_ZEROINIT clears what the block grew by
  EXPECT_EQ(bytes[31], 0);

  // Beyond what was allocated, a fixed block cannot grow without LMEM_MOVEABLE.
  EXPECT_EQ(LocalReAlloc(block, 4096, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  EXPECT_EQ(LocalSize(block), 32u);  // untouched

  HLOCAL moved = LocalReAlloc(block, 4096, 0x0002 | 0x0040);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(LocalSize(moved), 4096u);
  bytes = static_cast<const unsigned char*>(moved);
  EXPECT_EQ(bytes[0], 0xAB);
  EXPECT_EQ(bytes[4095], 0);
  if (moved != block) {
    // The old address is no block any more.
    EXPECT_EQ(LocalSize(block), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  }

  // LMEM_MODIFY changes nothing of a fixed block, and cannot make it moveable.
  EXPECT_EQ(LocalReAlloc(moved, 1, 0x0080), moved);
  EXPECT_EQ(LocalSize(moved), 4096u);
  EXPECT_EQ(LocalReAlloc(moved, 1, 0x0080 | 0x0002), nullptr);
  EXPECT_EQ(LocalFree(moved), nullptr);
}

TEST(LocalMemory, FreedForeignAndNullHandlesFailWithoutHarm) {
  HLOCAL block = LocalAlloc(0x40, 8);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(LocalFree(block), nullptr);

  // A second free returns the handle and says why.
  SetLastError(0);
  EXPECT_EQ(LocalFree(block), block);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(LocalSize(block), 0u);
  EXPECT_EQ(LocalReAlloc(block, 16, 0x0002), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  // Memory that never came from LocalAlloc: a stack address, one inside a block.
  int local = 0;
  EXPECT_EQ(LocalFree(&local), static_cast<HLOCAL>(&local));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  HLOCAL live = LocalAlloc(0, 32);
  HLOCAL inside = static_cast<char*>(live) + 4;
  EXPECT_EQ(LocalSize(inside), 0u);
  EXPECT_EQ(LocalFree(inside), inside);
  EXPECT_EQ(LocalSize(live), 32u);
  EXPECT_EQ(LocalFree(live), nullptr);

  EXPECT_EQ(LocalFree(nullptr), nullptr);  // NULL is ignored
  EXPECT_EQ(LocalSize(nullptr), 0u);
}

}  // namespace
