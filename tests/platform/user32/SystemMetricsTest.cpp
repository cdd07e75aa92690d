// System metrics: the frames they add up to, and the answer for an unknown index.

#include "platform/win32.h"

#include <gtest/gtest.h>

namespace {

// The window manager sizes frames from these metrics: the outer rectangle of a client area is
// the client plus exactly the frame pieces the metrics give.
TEST(SystemMetrics, FramesAddUpFromTheMetrics) {
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int sizing = GetSystemMetrics(SM_CXFRAME);
    const int dialog = GetSystemMetrics(SM_CXDLGFRAME);
    const int border = GetSystemMetrics(SM_CXBORDER);
    const int edge = GetSystemMetrics(SM_CXEDGE);
    EXPECT_EQ(GetSystemMetrics(SM_CYFRAME), sizing);
    EXPECT_EQ(GetSystemMetrics(SM_CYDLGFRAME), dialog);
    EXPECT_EQ(GetSystemMetrics(SM_CYBORDER), border);
    EXPECT_GT(sizing, dialog);
    EXPECT_GT(dialog, border);
    struct Case {
        DWORD Style;
        DWORD ExStyle;
        int Side;
        int Top;
    };
    const Case cases[] = {
        {WS_OVERLAPPEDWINDOW, 0, sizing, sizing + caption},
        {WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, dialog, dialog + caption},
        {WS_POPUP | WS_DLGFRAME, 0, dialog, dialog},
        {WS_POPUP | WS_BORDER, 0, border, border},
        {WS_CHILD | WS_BORDER, WS_EX_CLIENTEDGE, border + edge, border + edge},
        {WS_CHILD, 0, 0, 0},
    };
    for (const Case& c : cases) {
        RECT rect{100, 100, 300, 200};
        ASSERT_TRUE(AdjustWindowRectEx(&rect, c.Style, FALSE, c.ExStyle));
        EXPECT_EQ(rect.left, 100 - c.Side) << std::hex << c.Style;
        EXPECT_EQ(rect.right, 300 + c.Side) << std::hex << c.Style;
        EXPECT_EQ(rect.top, 100 - c.Top) << std::hex << c.Style;
        EXPECT_EQ(rect.bottom, 200 + c.Side) << std::hex << c.Style;
    }
}

TEST(SystemMetrics, UnknownMetricsAnswerZero) {
    for (const int index : {-1, 18, 1000, 0x7FFFFFFF}) {
        EXPECT_EQ(GetSystemMetrics(index), 0) << index;
    }
}

} // namespace
