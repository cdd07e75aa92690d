// The test driver itself: reset, recording of API calls, read-back of window state, typed
// text and scripted answers.

#include "platform/posix/testing/driver_hooks.h"
#include "platform/testing.h"
#include "tests/support/ReadBack.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

class TestDriverTest : public testing::Test {
protected:
    void SetUp() override { testdriver::Reset(); }
    void TearDown() override { testdriver::Reset(); }

    static HWND Popup() {
        return CreateWindowExA(0, "STATIC", "popup", WS_POPUP | WS_VISIBLE, 10, 10, 300, 200,
                               nullptr, nullptr, nullptr, nullptr);
    }
};

TEST_F(TestDriverTest, ResetReturnsTheLayerToItsStartingState) {
    WNDCLASSA wndClass{};
    wndClass.lpfnWndProc = DefWindowProcA;
    wndClass.lpszClassName = "Leftover";
    ASSERT_NE(RegisterClassA(&wndClass), 0);
    const HWND window = CreateWindowExA(0, "Leftover", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                        100, 100, nullptr, nullptr, nullptr, nullptr);
    SetCapture(window);
    SetTimer(window, 1, 100, nullptr);
    PostMessageA(window, WM_USER, 0, 0);
    PostQuitMessage(1);
    testdriver::KeyDown(VK_SHIFT);
    testdriver::AdvanceClock(50);
    testdriver::Record(testdriver::ApiFamily::Timers);
    SetTimer(nullptr, 0, 10, nullptr);
    testdriver::QueueMessageBoxAnswer(IDOK);

    testdriver::Reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    EXPECT_EQ(testdriver::Now(), 0u);
    EXPECT_TRUE(testdriver::RecordedCalls().empty());
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "queue and quit cleared";
    EXPECT_NE(RegisterClassA(&wndClass), 0) << "application classes were unregistered";
    SetTimer(nullptr, 0, 10, nullptr);
    EXPECT_TRUE(testdriver::RecordedCalls().empty()) << "recording stopped";
    testdriver::AdvanceClock(1000);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(TestDriverTest, RecordsChosenFamiliesAndWindows) {
    const HWND chosen = Popup();
    const HWND other = Popup();
    testdriver::RecordMessagesTo(chosen);
    testdriver::Record(testdriver::ApiFamily::Timers);
    SendMessageA(other, WM_USER, 1, 2);
    SendMessageA(chosen, WM_USER, 3, 4);
    PostMessageA(chosen, WM_USER + 1, 5, 6);
    const UINT_PTR id = SetTimer(chosen, 9, 250, nullptr);
    KillTimer(chosen, id);
    const auto handle = reinterpret_cast<std::uintptr_t>(chosen);
    const std::vector<testdriver::ApiCall> expected = {
        {testdriver::ApiFamily::Messages, "SendMessageA", {handle, WM_USER, 3, 4}, ""},
        {testdriver::ApiFamily::Messages, "PostMessageA", {handle, WM_USER + 1, 5, 6}, ""},
        {testdriver::ApiFamily::Timers, "SetTimer", {handle, 9, 250, 0}, ""},
        {testdriver::ApiFamily::Timers, "KillTimer", {handle, 9}, ""},
    };
    EXPECT_EQ(testdriver::RecordedCalls(), expected);
    EXPECT_EQ(
        testdriver::Describe(expected[3]), "KillTimer(0x" + [&] {
            char number[32];
            std::snprintf(number, sizeof number, "%llx", static_cast<unsigned long long>(handle));
            return std::string(number);
        }() + ", 0x9)");
    testdriver::ClearRecordedCalls();
    EXPECT_TRUE(testdriver::RecordedCalls().empty());
}

TEST_F(TestDriverTest, ReadsBackWindowsAndListBoxes) {
    const HWND parent = Popup();
    const HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_NOTIFY, 5, 5,
                                      100, 100, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(list, nullptr);
    for (const char* item : {"one", "two", ""}) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    EXPECT_EQ(readback::ListItems(list), (std::vector<std::string>{"one", "two", ""}));
    EXPECT_EQ(readback::CurrentItem(list), -1);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    EXPECT_EQ(readback::CurrentItem(list), 1);
    EXPECT_EQ(readback::ClassName(list), "LISTBOX");
    EXPECT_EQ(readback::WindowText(parent), "popup");
    EXPECT_EQ(readback::Style(list) & WS_CHILD, WS_CHILD);
    const RECT rect = readback::WindowRect(list);
    EXPECT_EQ(rect.left, 15);
    EXPECT_TRUE(readback::IsVisible(list));
    EXPECT_TRUE(readback::IsEnabled(list));
    testdriver::Click(list, 10, 5);
    EXPECT_EQ(readback::Focus(), list);
    EXPECT_EQ(readback::ActiveWindow(), parent);
    EXPECT_EQ(readback::Capture(), nullptr);
}

TEST_F(TestDriverTest, TypedTextArrivesAsCharactersOfEveryByte) {
    const HWND parent = Popup();
    const HWND edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 5, 5, 200, 20, parent,
                                      nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    SetFocus(edit);
    const std::string text = "Ab1 ~?\xC3\xA9";
    testdriver::TypeText(text);
    EXPECT_EQ(readback::WindowText(edit), text);
    EXPECT_GE(GetKeyState(VK_SHIFT), 0) << "Shift is released after the text";
}

TEST_F(TestDriverTest, MessageBoxesTakeQueuedAnswersAndAreRecorded) {
    testdriver::Record(testdriver::ApiFamily::Dialogs);
    testdriver::QueueMessageBoxAnswer(IDNO);
    testdriver::QueueMessageBoxAnswer(IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "Replace?", "Save", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Replace?", "Save", MB_YESNO), IDYES);
    const std::vector<testdriver::ApiCall> calls = testdriver::RecordedCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].Function, "MessageBoxA");
    EXPECT_NE(calls[0].Text.find("Replace?"), std::string::npos);
}

TEST_F(TestDriverTest, FileDialogAnswersComeOutInOrder) {
    testdriver::QueueFileDialogPath("/tmp/a.mp3");
    testdriver::QueueFileDialogCancel();
    const std::optional<posix::FileDialogAnswer> first = posix::TakeFileDialogAnswer();
    ASSERT_TRUE(first.has_value());
    EXPECT_FALSE(first->Cancelled);
    EXPECT_EQ(first->Path, "/tmp/a.mp3");
    const std::optional<posix::FileDialogAnswer> second = posix::TakeFileDialogAnswer();
    ASSERT_TRUE(second.has_value());
    EXPECT_TRUE(second->Cancelled);
    EXPECT_FALSE(posix::TakeFileDialogAnswer().has_value());
}

} // namespace
