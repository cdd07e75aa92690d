// Coordinates far out of range, given to the layer through every path: creation, placing,
// mapping, invalidating, frames and input (POSIX only: it drives input through the test
// driver).

#include "platform/testing.h"
#include "tests/platform/user32/MessageSequence.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using namespace sequence;

class GeometryLimitsTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        RegisterRecordingClass();
    }
    void TearDown() override { testdriver::Reset(); }
};

// Coordinates far out of range are kept within limits instead of overflowing.
TEST_F(GeometryLimitsTest, ExtremeCoordinatesStayWithinLimits) {
    constexpr int huge = std::numeric_limits<int>::max();
    constexpr int tiny = std::numeric_limits<int>::min();
    const HWND window = CreateWindowExA(0, RecordingClass, "", WS_POPUP | WS_VISIBLE, huge, tiny,
                                        huge, huge, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const HWND child = CreateWindowExA(0, RecordingClass, "", WS_CHILD | WS_VISIBLE, huge, huge,
                                       huge, huge, window, nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    RECT rect{};
    GetWindowRect(child, &rect);
    EXPECT_LE(rect.left, rect.right);
    EXPECT_LE(rect.top, rect.bottom);
    EXPECT_TRUE(SetWindowPos(child, nullptr, tiny, huge, huge, tiny, SWP_NOZORDER));
    POINT point{huge, tiny};
    EXPECT_TRUE(ClientToScreen(child, &point));
    EXPECT_TRUE(ScreenToClient(child, &point));
    POINT points[1] = {{tiny, huge}};
    MapWindowPoints(child, nullptr, points, 1);
    const RECT everything{tiny, tiny, huge, huge};
    EXPECT_TRUE(InvalidateRect(window, &everything, TRUE));
    RECT adjusted = everything;
    EXPECT_TRUE(AdjustWindowRectEx(&adjusted, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CLIENTEDGE));
    testdriver::MouseMove(child, huge, tiny);
    testdriver::Click(window, tiny, huge);
    testdriver::PumpUntilIdle();
}

} // namespace
