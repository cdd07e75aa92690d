// Global memory blocks: zeroed when asked, a fixed block reached through its handle, a moveable
// one through locks that are counted, and freeing; on our layer also the refusal of handles it
// never made.

#include "platform/win32.h"
#include "tests/support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(GlobalMemory, MoveableBlocksAreZeroedAndCountTheirLocks) {
    const HGLOBAL block = GlobalAlloc(GHND, 64);
    ASSERT_NE(block, nullptr);
    EXPECT_GE(GlobalSize(block), 64u);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_TRUE(std::all_of(bytes, bytes + 64, [](unsigned char b) { return b == 0; }));
    bytes[63] = 0xAB;
    auto* again = static_cast<unsigned char*>(GlobalLock(block));
    EXPECT_EQ(again[63], 0xAB);
    EXPECT_TRUE(GlobalUnlock(block));
    SetLastError(ERROR_INVALID_HANDLE);
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, AFixedBlocksHandleIsItsAddress) {
    const HGLOBAL block = GlobalAlloc(GPTR, 16);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalLock(block), block);
    GlobalUnlock(block);
    EXPECT_EQ(static_cast<unsigned char*>(block)[15], 0);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, HandlesItNeverMadeOrFreedAreRefused) {
    if (!testsession::RunningOnOwnLayer()) {
        GTEST_SKIP() << "Windows leaves the answer for such handles undefined";
    }
    int local = 0;
    const HGLOBAL stranger = &local;
    EXPECT_EQ(GlobalLock(stranger), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalSize(stranger), 0u);
    EXPECT_FALSE(GlobalUnlock(stranger));
    EXPECT_EQ(GlobalFree(stranger), stranger);
    const HGLOBAL freed = GlobalAlloc(GHND, 8);
    GlobalFree(freed);
    EXPECT_EQ(GlobalLock(freed), nullptr);
    EXPECT_EQ(GlobalFree(freed), freed);
}

} // namespace
