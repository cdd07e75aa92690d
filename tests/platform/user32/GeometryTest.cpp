// Geometry and show state: SetWindowPos and the messages default processing derives from it,
// frames and client areas, hit testing of the frame, ShowWindow and the owner's minimising.

#include "tests/platform/user32/MessageSequence.h"
#include "tests/support/TestSession.h"

#include <gtest/gtest.h>

namespace {

using namespace sequence;

class GeometryTest : public testing::Test {
protected:
    void SetUp() override {
        testsession::Reset();
        RegisterRecordingClass();
    }
    void TearDown() override { testsession::Reset(); }

    static HWND Make(DWORD style, HWND parent = nullptr, DWORD exStyle = 0) {
        return CreateWindowExA(exStyle, RecordingClass, "", style, 100, 100, 300, 200, parent,
                               nullptr, nullptr, nullptr);
    }

    static LRESULT HitAt(HWND window, int x, int y) {
        return SendMessageA(window, WM_NCHITTEST, 0,
                            MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
    }
};

TEST_F(GeometryTest, FrameChangedWithoutChangeSendsNoSizeOrMove) {
    const HWND window = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Clear();
    ASSERT_TRUE(
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    const Expected expected[] = {
        {WM_WINDOWPOSCHANGING, Sent},
        {WM_NCCALCSIZE, Sent | WParam, TRUE},
        // Windows may erase the redrawn window at once; ours does in the next WM_PAINT.
        {WM_ERASEBKGND, Sent | Optional},
        {WM_WINDOWPOSCHANGED, Sent},
    };
    ExpectSequence(expected, "SWP_FRAMECHANGED, nothing changed");
}

TEST_F(GeometryTest, MovingAndSizingSendMoveAndSizeFromDefaultProcessing) {
    const HWND parent = Make(WS_POPUP | WS_VISIBLE);
    const HWND child = Make(WS_CHILD | WS_VISIBLE, parent, WS_EX_NOPARENTNOTIFY);
    struct Case {
        int X, Y, Width, Height;
        UINT Flags;
        bool Moves;
        bool Sizes;
    };
    // The last call changes nothing: WM_WINDOWPOSCHANGED tells of changes only.
    const Case cases[] = {
        {5, 6, 0, 0, SWP_NOSIZE, true, false},
        {0, 0, 40, 30, SWP_NOMOVE, false, true},
        {1, 2, 41, 31, 0, true, true},
        {1, 2, 41, 31, 0, false, false},
    };
    for (const Case& test : cases) {
        Clear();
        ASSERT_TRUE(SetWindowPos(child, nullptr, test.X, test.Y, test.Width, test.Height,
                                 test.Flags | SWP_NOZORDER | SWP_NOACTIVATE));
        std::vector<Expected> expected{{WM_WINDOWPOSCHANGING, Sent}};
        if (test.Sizes) {
            expected.push_back({WM_NCCALCSIZE, Sent});
            // Windows may erase a resized window at once; ours does in the next WM_PAINT.
            expected.push_back({WM_ERASEBKGND, Sent | Optional});
        }
        if (test.Moves || test.Sizes) {
            expected.push_back({WM_WINDOWPOSCHANGED, Sent});
        }
        if (test.Moves) {
            expected.push_back({WM_MOVE, Sent | DefProc | LParam, 0,
                                MAKELPARAM(static_cast<WORD>(test.X), static_cast<WORD>(test.Y))});
        }
        if (test.Sizes) {
            expected.push_back(
                {WM_SIZE, Sent | DefProc | WParam | LParam, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(test.Width), static_cast<WORD>(test.Height))});
        }
        ExpectSequence(expected, "SetWindowPos " + std::to_string(test.Flags));
    }
    RECT rect{};
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 100 + 1 + 0) << "a child's rectangle is placed in its parent";
}

TEST_F(GeometryTest, ClientAreaFollowsTheFrameOfTheStyles) {
    struct Case {
        DWORD Style;
        DWORD ExStyle;
        LONG Width;  // client width for a 300 by 200 window
        LONG Height; // client height
    };
    const int frame = GetSystemMetrics(SM_CXFRAME);
    const int fixed = GetSystemMetrics(SM_CXDLGFRAME);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int edge = GetSystemMetrics(SM_CXEDGE);
    const int scroll = GetSystemMetrics(SM_CXVSCROLL);
    const Case cases[] = {
        {WS_POPUP, 0, 300, 200},
        {WS_POPUP | WS_BORDER, 0, 298, 198},
        {WS_OVERLAPPEDWINDOW, 0, 300 - 2 * frame, 200 - 2 * frame - caption},
        {WS_POPUP | WS_CAPTION, 0, 300 - 2 * fixed, 200 - 2 * fixed - caption},
        {WS_POPUP, WS_EX_CLIENTEDGE, 300 - 2 * edge, 200 - 2 * edge},
        {WS_POPUP | WS_VSCROLL, WS_EX_CLIENTEDGE, 300 - 2 * edge - scroll, 200 - 2 * edge},
    };
    for (const Case& test : cases) {
        const HWND window = Make(test.Style, nullptr, test.ExStyle);
        RECT client{};
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, test.Width) << std::hex << test.Style;
        EXPECT_EQ(client.bottom, test.Height) << std::hex << test.Style;
        RECT adjusted = client;
        AdjustWindowRectEx(&adjusted, test.Style & ~WS_VSCROLL, FALSE, test.ExStyle);
        if ((test.Style & WS_VSCROLL) == 0) {
            EXPECT_EQ(adjusted.right - adjusted.left, 300) << std::hex << test.Style;
        }
    }
}

TEST_F(GeometryTest, CoordinatesMapBetweenClientAreasAndTheScreen) {
    const HWND parent = Make(WS_POPUP | WS_BORDER);
    const HWND child = CreateWindowExA(0, RecordingClass, "", WS_CHILD, 10, 20, 50, 50, parent,
                                       nullptr, nullptr, nullptr);
    POINT point{0, 0};
    ClientToScreen(child, &point);
    EXPECT_EQ(point.x, 100 + 1 + 10);
    EXPECT_EQ(point.y, 100 + 1 + 20);
    ScreenToClient(parent, &point);
    EXPECT_EQ(point.x, 10);
    EXPECT_EQ(point.y, 20);
    POINT points[2] = {{0, 0}, {5, 5}};
    MapWindowPoints(child, parent, points, 2);
    EXPECT_EQ(points[1].x, 15);
    EXPECT_EQ(points[1].y, 25);
}

TEST_F(GeometryTest, DefaultHitTestFindsThePartsOfTheFrame) {
    const HWND window = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RECT rect{};
    GetWindowRect(window, &rect);
    const int frame = GetSystemMetrics(SM_CXFRAME);
    const int caption = GetSystemMetrics(SM_CYCAPTION);
    const int button = GetSystemMetrics(SM_CXSIZE);
    struct Case {
        int X, Y;
        LRESULT Code;
    };
    const Case cases[] = {
        {rect.left + 150, rect.top + 100, HTCLIENT},
        {rect.left + 150, rect.top + frame + caption / 2, HTCAPTION},
        {rect.right - frame - button / 2, rect.top + frame + caption / 2, HTCLOSE},
        {rect.left + frame + 2, rect.top + frame + caption / 2, HTSYSMENU},
        {rect.left + 1, rect.top + 100, HTLEFT},
        {rect.right - 1, rect.bottom - 1, HTBOTTOMRIGHT},
        {rect.left + 150, rect.top + 1, HTTOP},
        {rect.right + 5, rect.top + 100, HTNOWHERE},
    };
    for (const Case& test : cases) {
        EXPECT_EQ(HitAt(window, test.X, test.Y), test.Code) << test.X << "," << test.Y;
    }
}

TEST_F(GeometryTest, SizableWindowsKeepTheMinimumTrackingSize) {
    const HWND overlapped = Make(WS_OVERLAPPEDWINDOW);
    const HWND popup = Make(WS_POPUP);
    for (HWND window : {overlapped, popup}) {
        SetWindowPos(window, nullptr, 0, 0, 10, 5, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT rect{};
    GetWindowRect(overlapped, &rect);
    EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXMINTRACK));
    EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYMINTRACK));
    GetWindowRect(popup, &rect);
    EXPECT_EQ(rect.right - rect.left, 10) << "a popup without a sizing frame has no limit";
}

TEST_F(GeometryTest, ShowCommandsSetVisibilityStateAndActivation) {
    struct Case {
        int Command;
        bool Visible, Iconic, Zoomed, Active;
    };
    const Case cases[] = {
        {SW_SHOWNORMAL, true, false, false, true},   {SW_SHOWNOACTIVATE, true, false, false, false},
        {SW_SHOWNA, true, false, false, false},      {SW_SHOW, true, false, false, true},
        {SW_SHOWMINIMIZED, true, true, false, true}, {SW_SHOWMINNOACTIVE, true, true, false, false},
        {SW_MINIMIZE, true, true, false, false},     {SW_SHOWMAXIMIZED, true, false, true, true},
        {SW_HIDE, false, false, false, false},
    };
    for (const Case& test : cases) {
        testsession::Reset();
        RegisterRecordingClass();
        const HWND window = Make(WS_OVERLAPPEDWINDOW);
        EXPECT_FALSE(ShowWindow(window, test.Command)) << "answers that it was hidden";
        EXPECT_EQ(IsWindowVisible(window) != FALSE, test.Visible) << test.Command;
        EXPECT_EQ(IsIconic(window) != FALSE, test.Iconic) << test.Command;
        EXPECT_EQ(IsZoomed(window) != FALSE, test.Zoomed) << test.Command;
        EXPECT_EQ(GetActiveWindow() == window, test.Active) << test.Command;
    }
}

TEST_F(GeometryTest, MinimisingAndRestoringKeepThePlacement) {
    const HWND window = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    RECT normal{};
    GetWindowRect(window, &normal);
    Clear();
    ShowWindow(window, SW_MINIMIZE);
    // Wine takes the focus away first and asks for the limits again; our layer does neither,
    // and Windows documents neither order nor the question.
    const Expected minimised[] = {
        {WM_KILLFOCUS, Sent | Optional},
        {WM_WINDOWPOSCHANGING, Sent},
        {WM_GETMINMAXINFO, Sent | DefProc | Optional},
        {WM_NCCALCSIZE, Sent},
        {WM_WINDOWPOSCHANGED, Sent},
        {WM_MOVE, Sent | DefProc},
        {WM_SIZE, Sent | DefProc | WParam, SIZE_MINIMIZED},
        {WM_NCACTIVATE, Sent | Optional},
        {WM_ACTIVATE, Sent | Optional},
        {WM_ACTIVATEAPP, Sent | Optional},
        {WM_KILLFOCUS, Sent | Optional},
    };
    ExpectSequence(minimised, "minimised");
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 0) << "a minimised window has no client area";
    Clear();
    ShowWindow(window, SW_SHOWMAXIMIZED);
    EXPECT_TRUE(IsZoomed(window));
    std::vector<WPARAM> sizes;
    for (const Recorded& entry : Log()) {
        if (entry.Message == WM_SIZE) {
            sizes.push_back(entry.WParamValue);
        }
    }
    EXPECT_EQ(sizes, (std::vector<WPARAM>{SIZE_MAXIMIZED})) << "the toolkit reads the state here";
    RECT maximised{};
    GetWindowRect(window, &maximised);
    EXPECT_LT(maximised.left, 0) << "the sizing border lies beyond the screen";
    EXPECT_GT(maximised.right, GetSystemMetrics(SM_CXSCREEN));
    Clear();
    ShowWindow(window, SW_RESTORE);
    sizes.clear();
    for (const Recorded& entry : Log()) {
        if (entry.Message == WM_SIZE) {
            sizes.push_back(entry.WParamValue);
        }
    }
    EXPECT_EQ(sizes, (std::vector<WPARAM>{SIZE_RESTORED}));
    RECT restored{};
    GetWindowRect(window, &restored);
    EXPECT_EQ(restored.left, normal.left);
    EXPECT_EQ(restored.right, normal.right);
    EXPECT_EQ(restored.bottom, normal.bottom);
}

// Whether the owned window was told, with wParam and lParam, that its owner changed.
bool Told(HWND owned, WPARAM shown, LPARAM why) {
    for (const Recorded& entry : Log()) {
        if (entry.Window == owned && entry.Message == WM_SHOWWINDOW && entry.WParamValue == shown &&
            entry.LParamValue == why) {
            return true;
        }
    }
    return false;
}

// An owned window disappears while its owner is minimised and is told why in lParam. Windows
// documents this for an owner being minimised and restored whatever asks for it; Wine does it
// only when the system command does.
TEST_F(GeometryTest, OwnedWindowsFollowTheirOwnerBeingMinimisedAndRestored) {
    struct Way {
        const char* Name;
        void (*Minimise)(HWND);
        void (*Restore)(HWND);
        bool FollowedOnWine;
    };
    const Way ways[] = {
        {"system command", [](HWND owner) { SendMessageA(owner, WM_SYSCOMMAND, SC_MINIMIZE, 0); },
         [](HWND owner) { SendMessageA(owner, WM_SYSCOMMAND, SC_RESTORE, 0); }, true},
        {"ShowWindow", [](HWND owner) { ShowWindow(owner, SW_MINIMIZE); },
         [](HWND owner) { ShowWindow(owner, SW_RESTORE); }, false},
    };
    for (const Way& way : ways) {
        SCOPED_TRACE(way.Name);
        const HWND owner = Make(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE);
        const HWND owned = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, owner);
        const bool follows = testsession::WindowsOrWine(true, way.FollowedOnWine);
        SetParentWindow(owner);
        Clear();
        way.Minimise(owner);
        EXPECT_EQ(IsWindowVisible(owned) == FALSE, follows);
        EXPECT_EQ(Told(owned, FALSE, SW_PARENTCLOSING), follows);
        Clear();
        way.Restore(owner);
        EXPECT_TRUE(IsWindowVisible(owned)) << "default processing shows it again";
        EXPECT_EQ(Told(owned, TRUE, SW_PARENTOPENING), follows);
        DestroyWindow(owner);
    }
}

TEST_F(GeometryTest, HidingTheActiveWindowActivatesAnother) {
    const HWND first = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    const HWND second = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_EQ(GetActiveWindow(), second);
    ShowWindow(second, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), first);
    ShowWindow(first, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

} // namespace
