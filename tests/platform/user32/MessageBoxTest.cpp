#include "platform/testing.h"
#include "platform/win32.h"
#include "tests/support/ReadBack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testdriver::ApiCall;
using testdriver::ApiFamily;

constexpr char boxClass[] = "#32770";

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        windows.push_back(window);
    }
    return windows;
}

HWND FindBox() {
    for (HWND window : TopLevelWindows()) {
        if (readback::ClassName(window) == boxClass && IsWindowVisible(window)) {
            return window;
        }
    }
    return nullptr;
}

std::vector<HWND> ChildrenOf(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back(child);
    }
    return children;
}

HWND ButtonOf(HWND box, int id) {
    for (HWND child : ChildrenOf(box)) {
        if (readback::ClassName(child) == "BUTTON" && GetWindowLongA(child, GWL_ID) == id) {
            return child;
        }
    }
    return nullptr;
}

class MessageBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        WNDCLASSA wndClass{};
        wndClass.lpfnWndProc = &DefWindowProcA;
        wndClass.hInstance = GetModuleHandleA(nullptr);
        wndClass.lpszClassName = "MessageBoxTestOwner";
        ASSERT_NE(RegisterClassA(&wndClass), 0);
    }

    static HWND MakeOwner() {
        const HWND owner = CreateWindowExA(0, "MessageBoxTestOwner", "Owner",
                                           WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(owner, nullptr);
        return owner;
    }
};

TEST_F(MessageBoxTest, QueuedAnswersComeBackAtOnceInOrderAndAreRecorded) {
    const HWND owner = MakeOwner();
    testdriver::Record(ApiFamily::Dialogs);
    testdriver::QueueMessageBoxAnswer(IDNO);
    testdriver::QueueMessageBoxAnswer(IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Replace it?", "Save", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(owner, "Done.", nullptr, MB_OK), IDOK);
    EXPECT_EQ(TopLevelWindows(), std::vector<HWND>{owner});
    EXPECT_TRUE(IsWindowEnabled(owner));
    const std::vector<ApiCall> expected = {
        {ApiFamily::Dialogs, "MessageBoxA", {0, MB_YESNO}, "Save\nReplace it?"},
        {ApiFamily::Dialogs,
         "MessageBoxA",
         {reinterpret_cast<std::uintptr_t>(owner), MB_OK},
         "Error\nDone."},
    };
    EXPECT_EQ(testdriver::RecordedCalls(), expected);
}

TEST_F(MessageBoxTest, BadArgumentsAnswerZeroAndShowNothing) {
    SetLastError(0);
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", 3), 0); // Yes/No/Cancel is not offered
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MSGBOX_STYLE);
    EXPECT_EQ(MessageBoxA(reinterpret_cast<HWND>(0x4321), "text", "caption", MB_OK), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_TRUE(TopLevelWindows().empty());
}

// The box is built from the layer's own windows; what it looks like while it runs.
TEST_F(MessageBoxTest, ShowsTextCaptionAndButtonsWithTheOwnerDisabled) {
    const HWND owner = MakeOwner();
    struct Seen {
        HWND Box = nullptr;
        HWND BoxOwner = nullptr;
        std::string Caption;
        std::vector<std::string> Classes;
        std::vector<std::string> Texts;
        bool OwnerEnabled = true;
        HWND Focus = nullptr;
        HWND YesButton = nullptr;
    } seen;
    testdriver::AddIdleStep([&seen, owner] {
        seen.Box = FindBox();
        ASSERT_NE(seen.Box, nullptr);
        seen.BoxOwner = GetWindow(seen.Box, GW_OWNER);
        seen.Caption = readback::WindowText(seen.Box);
        for (HWND child : ChildrenOf(seen.Box)) {
            seen.Classes.push_back(readback::ClassName(child));
            seen.Texts.push_back(readback::WindowText(child));
        }
        seen.OwnerEnabled = IsWindowEnabled(owner) != FALSE;
        seen.Focus = readback::Focus();
        seen.YesButton = ButtonOf(seen.Box, IDYES);
        testdriver::Click(seen.YesButton, 5, 5);
    });
    EXPECT_EQ(MessageBoxA(owner, "Replace the file?", "Save As", MB_YESNO), IDYES);
    EXPECT_EQ(seen.BoxOwner, owner);
    EXPECT_EQ(seen.Caption, "Save As");
    EXPECT_EQ(seen.Classes, (std::vector<std::string>{"STATIC", "BUTTON", "BUTTON"}));
    EXPECT_EQ(seen.Texts, (std::vector<std::string>{"Replace the file?", "&Yes", "&No"}));
    EXPECT_FALSE(seen.OwnerEnabled);
    ASSERT_NE(seen.YesButton, nullptr);
    EXPECT_EQ(seen.Focus, seen.YesButton); // the default button
    EXPECT_FALSE(IsWindow(seen.Box));
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(MessageBoxTest, WithoutOwnerItIsATopLevelWindowOfItsOwn) {
    HWND box = nullptr;
    HWND boxOwner = reinterpret_cast<HWND>(1);
    testdriver::AddIdleStep([&] {
        box = FindBox();
        boxOwner = GetWindow(box, GW_OWNER);
        testdriver::PressKey(VK_RETURN);
    });
    EXPECT_EQ(MessageBoxA(nullptr, "Made by us.", "Info", MB_OK), IDOK);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(boxOwner, nullptr);
    EXPECT_EQ(GetParent(box), nullptr);
    EXPECT_TRUE(TopLevelWindows().empty());
}

constexpr int shiftTab = -1; // Tab with Shift held

TEST_F(MessageBoxTest, KeysAnswerAsTheBoxTypeAllows) {
    struct Case {
        UINT Type;
        std::vector<int> Keys;
        int Answer;
    };
    const Case cases[] = {
        {MB_OK, {VK_RETURN}, IDOK},
        {MB_OK, {VK_ESCAPE}, IDOK},
        {MB_OK, {VK_SPACE}, IDOK},
        {MB_OKCANCEL, {VK_RETURN}, IDOK},
        {MB_OKCANCEL, {VK_ESCAPE}, IDCANCEL},
        {MB_OKCANCEL | MB_DEFBUTTON2, {VK_RETURN}, IDCANCEL},
        {MB_YESNO, {VK_RETURN}, IDYES},
        {MB_YESNO, {VK_TAB, VK_RETURN}, IDNO},
        {MB_YESNO, {VK_RIGHT, VK_SPACE}, IDNO},
        {MB_YESNO, {VK_TAB, VK_TAB, VK_RETURN}, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, {VK_RETURN}, IDNO},
        {MB_YESNO | MB_DEFBUTTON2, {shiftTab, VK_RETURN}, IDYES},
        // Escape does nothing in a Yes/No box.
        {MB_YESNO, {VK_ESCAPE, VK_TAB, VK_RETURN}, IDNO},
    };
    for (const Case& c : cases) {
        testdriver::Reset();
        for (const int key : c.Keys) {
            testdriver::AddIdleStep([key] {
                if (key == shiftTab) {
                    testdriver::KeyDown(VK_SHIFT);
                    testdriver::PressKey(VK_TAB);
                    testdriver::KeyUp(VK_SHIFT);
                } else {
                    testdriver::PressKey(key);
                }
            });
        }
        EXPECT_EQ(MessageBoxA(nullptr, "Question", "Caption", c.Type), c.Answer)
            << "type " << c.Type << ", first key " << c.Keys.front();
        EXPECT_EQ(testdriver::PendingIdleSteps(), 0u) << "type " << c.Type;
    }
}

TEST_F(MessageBoxTest, CloseRequestAnswersOkButLeavesAYesNoBoxOpen) {
    struct Case {
        UINT Type;
        bool ClosesOnRequest;
        int Answer;
    };
    const Case cases[] = {
        {MB_OK, true, IDOK},
        {MB_OKCANCEL, true, IDCANCEL},
        {MB_YESNO, false, IDNO},
    };
    for (const Case& c : cases) {
        testdriver::Reset();
        bool openAfterClose = false;
        testdriver::AddIdleStep([] { PostMessageA(FindBox(), WM_CLOSE, 0, 0); });
        testdriver::AddIdleStep([&openAfterClose] {
            const HWND box = FindBox();
            openAfterClose = box != nullptr;
            if (box != nullptr) {
                testdriver::Click(ButtonOf(box, IDNO), 5, 5);
            }
        });
        EXPECT_EQ(MessageBoxA(nullptr, "Question", "Caption", c.Type), c.Answer) << c.Type;
        EXPECT_EQ(openAfterClose, !c.ClosesOnRequest) << c.Type;
    }
}

TEST_F(MessageBoxTest, ClickOutsideTheButtonsAnswersNothing) {
    testdriver::AddIdleStep([] { testdriver::Click(FindBox(), 2, 2); });
    testdriver::AddIdleStep([] {
        const HWND no = ButtonOf(FindBox(), IDNO);
        testdriver::MouseDown(no, 5, 5);
        testdriver::MouseMove(no, -50, -50);
        testdriver::MouseUp(no, -50, -50); // released outside: no click
    });
    testdriver::AddIdleStep([] { testdriver::Click(ButtonOf(FindBox(), IDYES), 5, 5); });
    EXPECT_EQ(MessageBoxA(nullptr, "Question", "Caption", MB_YESNO), IDYES);
}

int ticks = 0;
bool ownerEnabledAtTick = true;
HWND tickOwner = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ++ticks;
    ownerEnabledAtTick = ownerEnabledAtTick && IsWindowEnabled(tickOwner);
    if (ticks == 5) {
        testdriver::PressKey(VK_RETURN);
    }
}

// Nothing but the timer happens while the box waits: its loop must keep dispatching WM_TIMER.
TEST_F(MessageBoxTest, TimersKeepTickingWhileTheBoxWaits) {
    tickOwner = MakeOwner();
    ticks = 0;
    ownerEnabledAtTick = true;
    ASSERT_NE(SetTimer(tickOwner, 7, 100, &Tick), 0u);
    const std::uint64_t start = testdriver::Now();
    EXPECT_EQ(MessageBoxA(tickOwner, "Waiting", "Caption", MB_OK), IDOK);
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(testdriver::Now() - start, 500u);
    EXPECT_FALSE(ownerEnabledAtTick);
    EXPECT_TRUE(IsWindowEnabled(tickOwner));
    KillTimer(tickOwner, 7);
}

TEST_F(MessageBoxTest, QuitEndsTheBoxAndReachesTheOuterLoop) {
    struct Case {
        UINT Type;
        int Answer;
    };
    for (const Case& c : {Case{MB_OK, IDOK}, Case{MB_OKCANCEL, IDCANCEL}, Case{MB_YESNO, IDNO}}) {
        testdriver::Reset();
        testdriver::AddIdleStep([] { PostQuitMessage(3); });
        EXPECT_EQ(MessageBoxA(nullptr, "Question", "Caption", c.Type), c.Answer);
        EXPECT_TRUE(TopLevelWindows().empty());
        MSG msg{};
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, WM_QUIT);
        EXPECT_EQ(msg.wParam, 3u);
    }
}

TEST_F(MessageBoxTest, DestroyingTheOwnerEndsTheBox) {
    const HWND owner = MakeOwner();
    testdriver::AddIdleStep([owner] { DestroyWindow(owner); });
    EXPECT_EQ(MessageBoxA(owner, "Question", "Caption", MB_YESNO), IDNO);
    EXPECT_TRUE(TopLevelWindows().empty());
}

TEST_F(MessageBoxTest, FocusReturnsToWhereItWas) {
    const HWND owner = MakeOwner();
    SetFocus(owner);
    ASSERT_EQ(GetFocus(), owner);
    testdriver::AddIdleStep([] { testdriver::PressKey(VK_RETURN); });
    EXPECT_EQ(MessageBoxA(owner, "Done.", "Caption", MB_OK), IDOK);
    EXPECT_EQ(GetFocus(), owner);
}

} // namespace
