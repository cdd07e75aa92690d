// Input routing: hit testing, disabled and transparent windows, capture, activation by a
// click, double clicks, wheel and keys, focus, the move loop and mouse-leave tracking.

#include "platform/posix/user32/input.h"
#include "platform/testing.h"
#include "tests/platform/user32/MessageSequence.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace sequence;

// Mouse messages other than moves, which come with every change of the cursor position.
bool IsMouseMessage(UINT message) {
    return (message > WM_MOUSEMOVE && message <= WM_MOUSELAST) || message == WM_MOUSEACTIVATE;
}

class InputRoutingTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        RegisterRecordingClass();
        parent = CreateWindowExA(0, RecordingClass, "", WS_POPUP | WS_VISIBLE, 100, 100, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        SetParentWindow(parent);
        testdriver::PumpUntilIdle();
        Clear();
    }
    void TearDown() override { testdriver::Reset(); }

    HWND Child(int x, int y, int width, int height, DWORD style = 0,
               const char* className = RecordingClass) {
        return CreateWindowExA(WS_EX_NOPARENTNOTIFY, className, "", WS_CHILD | WS_VISIBLE | style,
                               x, y, width, height, parent, nullptr, nullptr, nullptr);
    }

    // The mouse messages the log holds, by window.
    static std::vector<std::pair<HWND, UINT>> MouseMessages() {
        std::vector<std::pair<HWND, UINT>> result;
        for (const Recorded& entry : Log()) {
            if (IsMouseMessage(entry.Message)) {
                result.emplace_back(entry.Window, entry.Message);
            }
        }
        return result;
    }

    HWND parent = nullptr;
};

TEST_F(InputRoutingTest, DisabledWindowsGetNoMouseInputTheirParentDoes) {
    for (const bool disabled : {false, true}) {
        const HWND child = Child(10, 10, 50, 50, disabled ? WS_DISABLED : 0);
        Clear();
        testdriver::Click(child, 5, 5);
        const HWND receiver = disabled ? parent : child;
        const std::vector<std::pair<HWND, UINT>> expected = {{receiver, WM_LBUTTONDOWN},
                                                             {receiver, WM_LBUTTONUP}};
        EXPECT_EQ(MouseMessages(), expected) << (disabled ? "disabled" : "enabled");
        DestroyWindow(child);
    }
}

TEST_F(InputRoutingTest, DisabledTopLevelWindowTakesNoClick) {
    EnableWindow(parent, FALSE);
    Clear();
    testdriver::Click(parent, 20, 20);
    EXPECT_TRUE(MouseMessages().empty());
}

TEST_F(InputRoutingTest, TransparentWindowsPassTheClickToWhatLiesBeneath) {
    WNDCLASSA wndClass{};
    wndClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCHITTEST) {
            return HTTRANSPARENT;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    };
    wndClass.lpszClassName = "Transparent";
    ASSERT_NE(RegisterClassA(&wndClass), 0);
    // The first child is at the top of the z-order.
    const HWND transparent = Child(10, 10, 100, 100, 0, "Transparent");
    const HWND beneath = Child(50, 50, 100, 100);
    Clear();
    testdriver::Click(transparent, 60, 60);
    const std::vector<std::pair<HWND, UINT>> toSibling = {{beneath, WM_LBUTTONDOWN},
                                                          {beneath, WM_LBUTTONUP}};
    EXPECT_EQ(MouseMessages(), toSibling) << "the sibling beneath takes it";
    Clear();
    testdriver::Click(transparent, 5, 5);
    const std::vector<std::pair<HWND, UINT>> toParent = {{parent, WM_LBUTTONDOWN},
                                                         {parent, WM_LBUTTONUP}};
    EXPECT_EQ(MouseMessages(), toParent) << "nothing beneath: the parent takes it";
}

TEST_F(InputRoutingTest, CaptureTakesTheMouseEverywhere) {
    const HWND child = Child(10, 10, 50, 50);
    const HWND other = Child(100, 10, 50, 50);
    EXPECT_EQ(SetCapture(child), nullptr);
    SetIgnored({});
    Clear();
    testdriver::Click(other, 5, 5);
    std::vector<std::pair<HWND, UINT>> messages;
    for (const Recorded& entry : Log()) {
        if (entry.Message != WM_PAINT && entry.Message != WM_ERASEBKGND) {
            messages.emplace_back(entry.Window, entry.Message);
        }
    }
    const std::vector<std::pair<HWND, UINT>> expected = {
        {child, WM_MOUSEMOVE}, {child, WM_LBUTTONDOWN}, {child, WM_LBUTTONUP}};
    EXPECT_EQ(messages, expected) << "no WM_SETCURSOR or hit testing while captured";
    ASSERT_GE(Log().size(), 3u);
    EXPECT_EQ(GET_X_LPARAM(Log()[1].LParamValue), 95) << "in the capturing window's client";
    Clear();
    EXPECT_EQ(SetCapture(other), child);
    const Expected changed[] = {
        {WM_CAPTURECHANGED, Sent | LParam, 0, reinterpret_cast<LPARAM>(other)}};
    ExpectSequence(changed, "capture taken by another window");
    ReleaseCapture();
    const Expected released[] = {{WM_CAPTURECHANGED, Sent | LParam, 0, 0}};
    ExpectSequence(released, "capture released");
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputRoutingTest, ClickOnAnInactiveWindowActivatesIt) {
    const HWND other = CreateWindowExA(0, RecordingClass, "", WS_POPUP | WS_VISIBLE, 500, 400, 100,
                                       100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(GetActiveWindow(), other);
    testdriver::PumpUntilIdle();
    Clear();
    testdriver::MouseDown(parent, 10, 10);
    const Expected expected[] = {
        {WM_MOUSEMOVE, Posted | Parent | Optional},
        {WM_MOUSEACTIVATE, Sent | Parent | WParam | LParam, reinterpret_cast<WPARAM>(parent),
         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)},
        {WM_WINDOWPOSCHANGING, Sent | Parent},
        {WM_WINDOWPOSCHANGED, Sent | Parent},
        {WM_NCACTIVATE, Sent | WParam, FALSE},
        {WM_ACTIVATE, Sent | WParam | LParam, WA_INACTIVE, reinterpret_cast<LPARAM>(parent)},
        {WM_NCACTIVATE, Sent | Parent | WParam, TRUE},
        {WM_ACTIVATE, Sent | Parent | WParam | LParam, WA_CLICKACTIVE,
         reinterpret_cast<LPARAM>(other)},
        {WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(parent)},
        {WM_SETFOCUS, Sent | Parent | DefProc | WParam, reinterpret_cast<WPARAM>(other)},
        {WM_LBUTTONDOWN, Posted | Parent | WParam | LParam, MK_LBUTTON, MAKELPARAM(10, 10)},
    };
    ExpectSequence(expected, "click on an inactive window");
    EXPECT_EQ(GetActiveWindow(), parent);
    testdriver::MouseUp(parent, 10, 10);
}

TEST_F(InputRoutingTest, DoubleClicksOnlyForClassesThatAskForThem) {
    WNDCLASSA wndClass{};
    wndClass.style = CS_DBLCLKS;
    wndClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcA(window, message, wParam, lParam);
    };
    wndClass.lpszClassName = "DoubleClicks";
    ASSERT_NE(RegisterClassA(&wndClass), 0);
    const HWND plain = Child(10, 10, 50, 50);
    const HWND wanting = Child(100, 10, 50, 50, 0, "DoubleClicks");
    RecordWindow(wanting);

    struct Case {
        HWND Window;
        std::uint64_t Pause;
        int Shift;
        UINT Second;
    };
    const Case cases[] = {
        {plain, 0, 0, WM_LBUTTONDOWN},       {wanting, 0, 0, WM_LBUTTONDBLCLK},
        {wanting, 100, 1, WM_LBUTTONDBLCLK}, {wanting, 501, 0, WM_LBUTTONDOWN},
        {wanting, 0, 3, WM_LBUTTONDOWN},
    };
    for (const Case& test : cases) {
        testdriver::AdvanceClock(1000);
        testdriver::Click(test.Window, 5, 5);
        testdriver::AdvanceClock(test.Pause);
        Clear();
        testdriver::Click(test.Window, 5 + test.Shift, 5);
        const std::vector<std::pair<HWND, UINT>> expected = {{test.Window, test.Second},
                                                             {test.Window, WM_LBUTTONUP}};
        std::vector<std::pair<HWND, UINT>> got = MouseMessages();
        got.erase(std::remove_if(got.begin(), got.end(),
                                 [](const auto& entry) { return entry.second == WM_MOUSEMOVE; }),
                  got.end());
        EXPECT_EQ(got, expected) << "pause " << test.Pause << " shift " << test.Shift;
    }
}

TEST_F(InputRoutingTest, WheelAndKeysGoToTheFocusWindow) {
    const HWND focused = Child(10, 10, 50, 50);
    const HWND other = Child(100, 10, 50, 50);
    SetFocus(focused);
    Clear();
    testdriver::Wheel(other, 5, 5, -WHEEL_DELTA);
    std::vector<std::pair<HWND, SHORT>> wheel;
    for (const Recorded& entry : Log()) {
        if (entry.Message == WM_MOUSEWHEEL) {
            wheel.emplace_back(entry.Window, GET_WHEEL_DELTA_WPARAM(entry.WParamValue));
        }
    }
    // Default processing hands the wheel on to the parent.
    const std::vector<std::pair<HWND, SHORT>> expectedWheel = {{focused, -WHEEL_DELTA},
                                                               {parent, -WHEEL_DELTA}};
    EXPECT_EQ(wheel, expectedWheel);
    Clear();
    testdriver::KeyDown(VK_MENU);
    testdriver::PressKey('X');
    testdriver::KeyUp(VK_MENU);
    const Expected alt[] = {
        {WM_SYSKEYDOWN, Posted | WParam, VK_MENU}, {WM_SYSKEYDOWN, Posted | WParam, 'X'},
        {WM_SYSCHAR, Posted | WParam, 'x'},        {WM_SYSKEYUP, Posted | WParam, 'X'},
        {WM_KEYUP, Posted | WParam, VK_MENU},
    };
    ExpectSequence(alt, "keys with Alt held");
    EXPECT_GE(GetKeyState('X'), 0) << "released";
    testdriver::KeyDown(VK_SHIFT);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    testdriver::KeyUp(VK_SHIFT);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
}

TEST_F(InputRoutingTest, FocusToAChildOfAHiddenWindowActivatesThatWindowFirst) {
    const HWND hidden = CreateWindowExA(0, RecordingClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 200, 200,
                                        nullptr, nullptr, nullptr, nullptr);
    const HWND child = CreateWindowExA(WS_EX_NOPARENTNOTIFY, RecordingClass, "", WS_CHILD, 0, 0, 10,
                                       10, hidden, nullptr, nullptr, nullptr);
    SetParentWindow(hidden);
    Clear();
    EXPECT_EQ(SetFocus(child), parent);
    const Expected expected[] = {
        {WM_NCACTIVATE, Sent | WParam, FALSE},
        {WM_ACTIVATE, Sent | WParam, WA_INACTIVE},
        {WM_NCACTIVATE, Sent | Parent | WParam, TRUE},
        {WM_ACTIVATE, Sent | Parent | WParam, WA_ACTIVE},
        {WM_KILLFOCUS, Sent},
        {WM_SETFOCUS, Sent | Parent | DefProc},
        {WM_KILLFOCUS, Sent | Parent | WParam, reinterpret_cast<WPARAM>(child)},
        {WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(hidden)},
    };
    ExpectSequence(expected, "focus to a child of a hidden window");
    EXPECT_EQ(GetActiveWindow(), hidden);
    EXPECT_EQ(GetFocus(), child);
}

TEST_F(InputRoutingTest, FocusMovesBetweenTwoControlsNamingTheOtherWindow) {
    const HWND first = Child(10, 10, 50, 50);
    const HWND second = Child(100, 10, 50, 50);
    SetFocus(first);
    Clear();
    EXPECT_EQ(SetFocus(second), first);
    const Expected expected[] = {
        {WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(second)},
        {WM_SETFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(first)},
    };
    ExpectSequence(expected, "focus moved");
    EXPECT_EQ(Log().size(), 0u);
    EXPECT_EQ(SetFocus(second), second) << "no message when the focus stays";
    EXPECT_TRUE(Log().empty());
}

TEST_F(InputRoutingTest, DisabledWindowLosesAndRefusesTheFocus) {
    const HWND child = Child(10, 10, 50, 50);
    SetFocus(child);
    Clear();
    EXPECT_FALSE(EnableWindow(child, FALSE)) << "answers that it was enabled";
    const Expected expected[] = {
        {WM_CANCELMODE, Sent},
        {WM_KILLFOCUS, Sent | WParam, 0},
        {WM_ENABLE, Sent | WParam, FALSE},
    };
    ExpectSequence(expected, "focused window disabled");
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(SetFocus(child), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(EnableWindow(child, TRUE)) << "answers that it was disabled";
    const Expected enabled[] = {{WM_ENABLE, Sent | WParam, TRUE}};
    ExpectSequence(enabled, "enabled again");
}

// The toolkit drags a window by sending the move command from its button-down handler.
TEST_F(InputRoutingTest, MoveCommandFollowsTheMouseUntilTheButtonIsReleased) {
    WNDCLASSA wndClass{};
    wndClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_LBUTTONDOWN) {
            ReleaseCapture();
            SendMessageA(window, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
            return LRESULT{0};
        }
        return DefWindowProcA(window, message, wParam, lParam);
    };
    wndClass.lpszClassName = "Draggable";
    ASSERT_NE(RegisterClassA(&wndClass), 0);
    const HWND window = CreateWindowExA(0, "Draggable", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200,
                                        150, 300, 200, nullptr, nullptr, nullptr, nullptr);
    RecordWindow(window);
    Clear();
    testdriver::Drag(window, 20, 20, 70, 50);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 250);
    EXPECT_EQ(rect.top, 180);
    EXPECT_EQ(GetCapture(), nullptr);
    std::vector<UINT> loop;
    for (const Recorded& entry : Log()) {
        if (entry.Message == WM_ENTERSIZEMOVE || entry.Message == WM_EXITSIZEMOVE ||
            entry.Message == WM_LBUTTONUP) {
            loop.push_back(entry.Message);
        }
    }
    EXPECT_EQ(loop, (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}))
        << "the loop takes the release itself";
    testdriver::Click(window, 5, 5);
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 250) << "a click without a move leaves the window in place";
}

TEST_F(InputRoutingTest, MouseLeaveIsPostedOnceWhenTheCursorLeaves) {
    const HWND child = Child(10, 10, 50, 50);
    testdriver::MouseMove(child, 5, 5);
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, child, 0};
    ASSERT_TRUE(_TrackMouseEvent(&track));
    TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
    ASSERT_TRUE(_TrackMouseEvent(&query));
    EXPECT_EQ(query.hwndTrack, child);
    Clear();
    testdriver::MouseMove(child, 6, 6);
    testdriver::MouseMove(parent, 200, 150);
    testdriver::MouseMove(parent, 201, 150);
    int leaves = 0;
    for (const Recorded& entry : Log()) {
        leaves += entry.Window == child && entry.Message == WM_MOUSELEAVE ? 1 : 0;
    }
    EXPECT_EQ(leaves, 1);
    // Asked while the cursor is elsewhere, leaving is reported at once.
    Clear();
    ASSERT_TRUE(_TrackMouseEvent(&track));
    testdriver::PumpUntilIdle();
    const Expected leftAlready[] = {{WM_MOUSELEAVE, Posted}};
    ExpectSequence(leftAlready, "tracking asked outside the window");
}

// GetAsyncKeyState follows the input as it comes in; GetKeyState follows the messages taken.
TEST_F(InputRoutingTest, KeyStateFollowsTheMessagesTakenAsyncStateTheInput) {
    SetFocus(parent);
    posix::QueueKey('K', true);
    EXPECT_LT(GetAsyncKeyState('K'), 0);
    EXPECT_GE(GetKeyState('K'), 0) << "not taken yet";
    testdriver::PumpUntilIdle();
    EXPECT_LT(GetKeyState('K'), 0);
    testdriver::KeyUp('K');
    EXPECT_GE(GetKeyState('K'), 0);
    EXPECT_GE(GetAsyncKeyState('K'), 0);
    testdriver::PressKey(VK_CAPITAL);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 1) << "a press toggles";
    testdriver::PressKey(VK_CAPITAL);
    EXPECT_EQ(GetKeyState(VK_CAPITAL) & 1, 0);
}

TEST_F(InputRoutingTest, SettingTheCursorMovesTheMouseOverWindows) {
    Clear();
    ASSERT_TRUE(SetCursorPos(150, 120));
    POINT cursor{};
    ASSERT_TRUE(GetCursorPos(&cursor));
    EXPECT_EQ(cursor.x, 150);
    EXPECT_EQ(cursor.y, 120);
    testdriver::PumpUntilIdle();
    const Expected expected[] = {{WM_MOUSEMOVE, Posted | Parent | LParam, 0, MAKELPARAM(50, 20)}};
    ExpectSequence(expected, "cursor set over the window");
    EXPECT_EQ(WindowFromPoint(cursor), parent);
}

} // namespace
