// Creation and destruction of windows: the messages and their order, the styles the system
// keeps, default placement, properties and window data.

#include "tests/platform/user32/MessageSequence.h"
#include "tests/support/ReadBack.h"
#include "tests/support/TestSession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace sequence;

class WindowLifecycleTest : public testing::Test {
protected:
    void SetUp() override {
        testsession::Reset();
        RegisterRecordingClass();
    }
    void TearDown() override { testsession::Reset(); }

    static HWND Make(DWORD style, HWND parent = nullptr, DWORD exStyle = 0, int x = 10, int y = 20,
                     int width = 200, int height = 150, UINT_PTR id = 0) {
        return CreateWindowExA(exStyle, RecordingClass, "title", style, x, y, width, height, parent,
                               reinterpret_cast<HMENU>(id), nullptr, nullptr);
    }
};

TEST_F(WindowLifecycleTest, HiddenOverlappedWindowAsksItsLimitsFirstAndGetsNoSizeOrMove) {
    ASSERT_NE(Make(WS_OVERLAPPEDWINDOW), nullptr);
    const Expected expected[] = {
        {WM_GETMINMAXINFO, Sent},
        {WM_NCCREATE, Sent},
        {WM_NCCALCSIZE, Sent | WParam, FALSE},
        {WM_CREATE, Sent},
    };
    ExpectSequence(expected, "hidden overlapped window created");
}

TEST_F(WindowLifecycleTest, PopupsAndChildrenGetSizeAndMoveAfterCreate) {
    const HWND parent = Make(WS_OVERLAPPEDWINDOW);
    Clear();
    struct Case {
        DWORD Style;
        HWND Parent;
        const char* Context;
    };
    const Case cases[] = {
        {WS_POPUP, nullptr, "popup"},
        {WS_POPUP | WS_CAPTION, nullptr, "captioned popup"},
        {WS_CHILD, parent, "child"},
    };
    for (const Case& test : cases) {
        const HWND window = Make(test.Style, test.Parent, WS_EX_NOPARENTNOTIFY);
        ASSERT_NE(window, nullptr) << test.Context;
        RECT client{};
        GetClientRect(window, &client);
        const Expected expected[] = {
            {WM_NCCREATE, Sent},
            {WM_NCCALCSIZE, Sent | WParam, FALSE},
            {WM_CREATE, Sent},
            {WM_SIZE, Sent | WParam | LParam, SIZE_RESTORED,
             MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom))},
            {WM_MOVE, Sent},
        };
        ExpectSequence(expected, test.Context);
    }
}

TEST_F(WindowLifecycleTest, ChildCreationIsAnnouncedToTheParent) {
    const HWND parent = Make(WS_OVERLAPPEDWINDOW);
    SetParentWindow(parent);
    Clear();
    const HWND child = Make(WS_CHILD, parent, 0, 0, 0, 10, 10, 7);
    const Expected expected[] = {
        {WM_NCCREATE, Sent},
        {WM_NCCALCSIZE, Sent},
        {WM_CREATE, Sent},
        {WM_SIZE, Sent},
        {WM_MOVE, Sent},
        {WM_PARENTNOTIFY, Sent | Parent | WParam | LParam, MAKEWPARAM(WM_CREATE, 7),
         reinterpret_cast<LPARAM>(child)},
    };
    ExpectSequence(expected, "child created");
}

TEST_F(WindowLifecycleTest, VisibleOverlappedWindowIsShownActivatedAndSizedAfterCreation) {
    const HWND window = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    const Expected expected[] = {
        {WM_GETMINMAXINFO, Sent},
        {WM_NCCREATE, Sent},
        {WM_NCCALCSIZE, Sent},
        {WM_CREATE, Sent},
        {WM_SHOWWINDOW, Sent | WParam | LParam, TRUE, 0},
        {WM_WINDOWPOSCHANGING, Sent},
        {WM_ACTIVATEAPP, Sent | WParam, TRUE},
        {WM_NCACTIVATE, Sent | WParam, TRUE},
        {WM_ACTIVATE, Sent | WParam, WA_ACTIVE},
        {WM_SETFOCUS, Sent | DefProc},
        // Windows may erase a window it shows at once; ours does in the first WM_PAINT.
        {WM_ERASEBKGND, Sent | Optional},
        {WM_WINDOWPOSCHANGED, Sent},
        {WM_SIZE, Sent | WParam, SIZE_RESTORED},
        {WM_MOVE, Sent},
    };
    ExpectSequence(expected, "visible overlapped window created");
    EXPECT_EQ(GetActiveWindow(), window);
    EXPECT_EQ(GetFocus(), window);
    EXPECT_TRUE(IsWindowVisible(window));
}

std::vector<std::pair<HWND, UINT>> firstMessages;

LRESULT CALLBACK NoteFirstMessages(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    firstMessages.emplace_back(window, message);
    return DefWindowProcA(window, message, wParam, lParam);
}

// The toolkit binds its object to a window on the first message, whatever it is.
TEST_F(WindowLifecycleTest, FirstMessageReachesTheClassProcedureBeforeCreationReturns) {
    std::vector<std::pair<HWND, UINT>>& first = firstMessages;
    first.clear();
    WNDCLASSA wndClass{};
    wndClass.lpfnWndProc = NoteFirstMessages;
    wndClass.lpszClassName = "FirstMessage";
    ASSERT_NE(RegisterClassA(&wndClass), 0);

    const HWND overlapped = CreateWindowExA(0, "firstmessage", "", WS_OVERLAPPED, 0, 0, 50, 50,
                                            nullptr, nullptr, nullptr, nullptr);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.front(), std::make_pair(overlapped, UINT{WM_GETMINMAXINFO}));
    first.clear();
    const HWND child = CreateWindowExA(0, "FIRSTMESSAGE", "", WS_CHILD, 0, 0, 5, 5, overlapped,
                                       nullptr, nullptr, nullptr);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.front(), std::make_pair(child, UINT{WM_NCCREATE}));
}

TEST_F(WindowLifecycleTest, StylesReadBackAsTheSystemKeepsThem) {
    const HWND owner = Make(WS_OVERLAPPEDWINDOW);
    struct Case {
        DWORD Style;
        DWORD ExStyle;
        bool Child;
        DWORD KeptStyle;
        DWORD KeptExStyle;
    };
    const Case cases[] = {
        {WS_OVERLAPPED, 0, false, WS_CAPTION | WS_CLIPSIBLINGS, WS_EX_WINDOWEDGE},
        {WS_OVERLAPPEDWINDOW, 0, false, WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS, WS_EX_WINDOWEDGE},
        {WS_POPUP, 0, false, WS_POPUP | WS_CLIPSIBLINGS, 0},
        {WS_POPUP, WS_EX_WINDOWEDGE, false, WS_POPUP | WS_CLIPSIBLINGS, 0},
        {WS_POPUP | WS_CAPTION, 0, false, WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS,
         WS_EX_WINDOWEDGE},
        {WS_POPUP | WS_BORDER, 0, false, WS_POPUP | WS_BORDER | WS_CLIPSIBLINGS, 0},
        {WS_POPUP, WS_EX_DLGMODALFRAME, false, WS_POPUP | WS_CLIPSIBLINGS,
         WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE},
        {WS_POPUP | WS_DLGFRAME, 0, false, WS_POPUP | WS_DLGFRAME | WS_CLIPSIBLINGS,
         WS_EX_WINDOWEDGE},
        {WS_CHILD, 0, true, WS_CHILD, 0},
        {WS_CHILD | WS_THICKFRAME, 0, true, WS_CHILD | WS_THICKFRAME, WS_EX_WINDOWEDGE},
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE, true,
         WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE},
    };
    for (const Case& test : cases) {
        const HWND window = Make(test.Style, owner, test.ExStyle);
        ASSERT_NE(window, nullptr);
        if (test.Child) {
            EXPECT_EQ(GetParent(window), owner);
        }
        EXPECT_EQ(readback::Style(window), test.KeptStyle) << std::hex << test.Style;
        EXPECT_EQ(readback::ExStyle(window), test.KeptExStyle) << std::hex << test.Style;
    }
}

TEST_F(WindowLifecycleTest, ChangedStylesKeepTheWindowEdgeRuleAndAreAnnounced) {
    const HWND window = Make(WS_OVERLAPPEDWINDOW);
    Clear();
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(WS_POPUP));
    const Expected expected[] = {
        {WM_STYLECHANGING, Sent | WParam, static_cast<WPARAM>(GWL_STYLE)},
        {WM_STYLECHANGED, Sent | WParam, static_cast<WPARAM>(GWL_STYLE)},
    };
    ExpectSequence(expected, "style changed");
    EXPECT_EQ(readback::Style(window), WS_POPUP | WS_CLIPSIBLINGS) << "kept by a top-level window";
    EXPECT_EQ(readback::ExStyle(window) & WS_EX_WINDOWEDGE, 0u);
    SetWindowLongA(window, GWL_EXSTYLE, WS_EX_DLGMODALFRAME | WS_EX_TOPMOST);
    EXPECT_EQ(readback::ExStyle(window), WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE)
        << "WS_EX_TOPMOST changes only through the z-order";
}

TEST_F(WindowLifecycleTest, DefaultPlacementFollowsTheKindOfWindow) {
    const HWND parent = Make(WS_OVERLAPPEDWINDOW);
    struct Case {
        DWORD Style;
        bool Child;
        int X, Y, Width, Height;
        bool Placed; // overlapped windows are placed and sized by the system
    };
    const Case cases[] = {
        {WS_POPUP, false, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, false},
        {WS_CHILD, true, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, false},
        {WS_POPUP, false, 5, 6, CW_USEDEFAULT, 30, false},
        {WS_OVERLAPPEDWINDOW, false, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
         true},
    };
    for (const Case& test : cases) {
        const HWND window =
            CreateWindowExA(0, RecordingClass, "", test.Style, test.X, test.Y, test.Width,
                            test.Height, test.Child ? parent : nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        RECT rect{};
        GetWindowRect(window, &rect);
        if (test.Child) {
            MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        }
        if (test.Placed) {
            EXPECT_GT(rect.right - rect.left, 0);
            EXPECT_GT(rect.bottom - rect.top, 0);
            EXPECT_GE(rect.left, 0);
            EXPECT_LT(rect.right, 1024 + 1);
        } else {
            const LONG x = test.X == CW_USEDEFAULT ? 0 : test.X;
            const LONG y = test.X == CW_USEDEFAULT ? 0 : test.Y;
            const LONG width = test.Width == CW_USEDEFAULT ? 0 : test.Width;
            const LONG height = test.Width == CW_USEDEFAULT ? 0 : test.Height;
            EXPECT_EQ(rect.left, x);
            EXPECT_EQ(rect.top, y);
            EXPECT_EQ(rect.right - rect.left, width);
            EXPECT_EQ(rect.bottom - rect.top, height);
        }
    }
}

TEST_F(WindowLifecycleTest, CreationFailsCleanlyOnBadArguments) {
    struct Case {
        const char* ClassName;
        DWORD Style;
        HWND Parent;
        DWORD Error;
    };
    const Case cases[] = {
        {"NoSuchClass", WS_POPUP, nullptr,
         testsession::WindowsOrWine<DWORD>(ERROR_CANNOT_FIND_WND_CLASS,
                                           ERROR_CLASS_DOES_NOT_EXIST)},
        {RecordingClass, WS_CHILD, nullptr, ERROR_TLW_WITH_WSCHILD},
        {RecordingClass, WS_CHILD, reinterpret_cast<HWND>(0x1234), ERROR_INVALID_WINDOW_HANDLE},
    };
    for (const Case& test : cases) {
        SetLastError(0);
        EXPECT_EQ(CreateWindowExA(0, test.ClassName, "", test.Style, 0, 0, 1, 1, test.Parent,
                                  nullptr, nullptr, nullptr),
                  nullptr);
        EXPECT_EQ(GetLastError(), test.Error) << test.ClassName;
    }
}

struct TreeDestruction {
    std::vector<std::pair<UINT, HWND>> Events;
    HWND Inner = nullptr;
    bool InnerExistedDuringParentDestroy = false;
} treeDestruction;

LRESULT CALLBACK NoteTreeDestruction(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY || message == WM_NCDESTROY) {
        treeDestruction.Events.emplace_back(message, window);
        if (message == WM_DESTROY && GetParent(window) == nullptr) {
            treeDestruction.InnerExistedDuringParentDestroy =
                IsWindow(treeDestruction.Inner) != FALSE;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Parent first, then down the tree for WM_DESTROY; deepest first for WM_NCDESTROY.
TEST_F(WindowLifecycleTest, DestroyingAParentDestroysTheTreeInWin32Order) {
    treeDestruction = {};
    std::vector<std::pair<UINT, HWND>>& events = treeDestruction.Events;
    HWND& inner = treeDestruction.Inner;
    WNDCLASSA wndClass{};
    wndClass.lpfnWndProc = NoteTreeDestruction;
    wndClass.lpszClassName = "Tree";
    ASSERT_NE(RegisterClassA(&wndClass), 0);
    const auto make = [](DWORD style, HWND parent) {
        return CreateWindowExA(0, "Tree", "", style, 0, 0, 100, 100, parent, nullptr, nullptr,
                               nullptr);
    };
    const HWND top = make(WS_POPUP, nullptr);
    const HWND first = make(WS_CHILD, top);
    const HWND second = make(WS_CHILD, top);
    inner = make(WS_CHILD, first);

    ASSERT_TRUE(DestroyWindow(top));
    const std::vector<std::pair<UINT, HWND>> expected = {
        {WM_DESTROY, top},     {WM_DESTROY, first},   {WM_DESTROY, inner},    {WM_DESTROY, second},
        {WM_NCDESTROY, inner}, {WM_NCDESTROY, first}, {WM_NCDESTROY, second}, {WM_NCDESTROY, top},
    };
    EXPECT_EQ(events, expected);
    EXPECT_TRUE(treeDestruction.InnerExistedDuringParentDestroy);
    for (HWND window : {top, first, second, inner}) {
        EXPECT_FALSE(IsWindow(window));
    }
}

TEST_F(WindowLifecycleTest, DestroyingTheFocusedChildHidesItAndGivesTheFocusToTheParent) {
    const HWND parent = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    const HWND child = Make(WS_CHILD | WS_VISIBLE, parent, WS_EX_NOPARENTNOTIFY);
    SetFocus(child);
    SetParentWindow(parent);
    Clear();
    ASSERT_TRUE(DestroyWindow(child));
    const Expected expected[] = {
        {WM_SHOWWINDOW, Sent | WParam, FALSE},
        {WM_WINDOWPOSCHANGING, Sent},
        // Windows may erase the uncovered part of the parent at once; ours does in WM_PAINT.
        {WM_ERASEBKGND, Sent | Parent | Optional},
        {WM_WINDOWPOSCHANGED, Sent},
        {WM_KILLFOCUS, Sent | WParam, reinterpret_cast<WPARAM>(parent)},
        {WM_SETFOCUS, Sent | Parent | WParam, reinterpret_cast<WPARAM>(child)},
        {WM_DESTROY, Sent},
        {WM_NCDESTROY, Sent},
    };
    ExpectSequence(expected, "focused child destroyed");
    EXPECT_EQ(GetFocus(), parent);
}

TEST_F(WindowLifecycleTest, OwnedWindowsGoWithTheirOwnerAndCaptureIsReleased) {
    const HWND owner = Make(WS_OVERLAPPEDWINDOW);
    const HWND owned = Make(WS_POPUP, owner);
    const HWND child = Make(WS_CHILD, owner);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    EXPECT_EQ(GetParent(owned), owner) << "a popup answers its owner";
    SetCapture(child);
    Clear();
    ASSERT_TRUE(DestroyWindow(owner));
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_EQ(GetCapture(), nullptr);
    // The owned window goes first. Our layer tells the capture holder before the owner's
    // WM_DESTROY; Windows leaves this undocumented, and Wine sends no WM_CAPTURECHANGED.
    std::vector<std::pair<HWND, UINT>> order;
    for (const Recorded& entry : Log()) {
        if (entry.Message == WM_DESTROY || entry.Message == WM_CAPTURECHANGED) {
            order.emplace_back(entry.Window, entry.Message);
        }
    }
    std::vector<std::pair<HWND, UINT>> expected = {
        {owned, WM_DESTROY},
        {owner, WM_DESTROY},
        {child, WM_DESTROY},
    };
    if (testsession::RunningOnOwnLayer()) {
        expected.insert(expected.begin() + 1, {child, WM_CAPTURECHANGED});
    }
    EXPECT_EQ(order, expected);
}

HANDLE seenInNcDestroy = nullptr;
HANDLE removedInNcDestroy = nullptr;

LRESULT CALLBACK ReadPropertyInNcDestroy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        seenInNcDestroy = GetPropA(window, "self_");
        removedInNcDestroy = RemovePropA(window, "SELF_");
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(WindowLifecycleTest, PropertiesIgnoreCaseAndStayReadableInNcDestroy) {
    seenInNcDestroy = nullptr;
    removedInNcDestroy = nullptr;
    WNDCLASSA wndClass{};
    wndClass.lpfnWndProc = ReadPropertyInNcDestroy;
    wndClass.lpszClassName = "Props";
    ASSERT_NE(RegisterClassA(&wndClass), 0);
    const HWND window =
        CreateWindowExA(0, "Props", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HANDLE value = reinterpret_cast<HANDLE>(0x55);
    ASSERT_TRUE(SetPropA(window, "Self_", value));
    EXPECT_EQ(GetPropA(window, "SELF_"), value);
    EXPECT_EQ(GetPropA(window, "self_"), value);
    ASSERT_TRUE(SetPropA(window, "sElF_", reinterpret_cast<HANDLE>(0x66)));
    EXPECT_EQ(GetPropA(window, "Self_"), reinterpret_cast<HANDLE>(0x66)) << "replaced, not added";
    EXPECT_EQ(GetPropA(window, "Other"), nullptr);
    DestroyWindow(window);
    EXPECT_EQ(seenInNcDestroy, reinterpret_cast<HANDLE>(0x66));
    EXPECT_EQ(removedInNcDestroy, reinterpret_cast<HANDLE>(0x66));
}

TEST_F(WindowLifecycleTest, WindowDataAndExtraBytes) {
    WNDCLASSA wndClass{};
    wndClass.lpfnWndProc = DefWindowProcA;
    wndClass.cbWndExtra = 16;
    wndClass.lpszClassName = "Extra";
    ASSERT_NE(RegisterClassA(&wndClass), 0);
    const HWND parent = Make(WS_POPUP);
    const HWND window = CreateWindowExA(0, "Extra", "", WS_CHILD, 0, 0, 1, 1, parent,
                                        reinterpret_cast<HMENU>(42), nullptr, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(window, 0), 0) << "extra bytes start zeroed";
    EXPECT_EQ(SetWindowLongPtrA(window, 8, 0x1234), 0);
    EXPECT_EQ(GetWindowLongPtrA(window, 8), 0x1234);
    EXPECT_EQ(GetWindowLongA(window, GWL_ID), 42);
    EXPECT_EQ(SetWindowLongPtrA(window, GWLP_USERDATA, 7), 0);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), 7);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(DefWindowProcA));
    EXPECT_EQ(GetClassLongPtrA(window, GCLP_WNDPROC), reinterpret_cast<ULONG_PTR>(DefWindowProcA));
    EXPECT_EQ(GetClassLongA(window, GCL_CBWNDEXTRA), 16u);

    SetLastError(0);
    constexpr int pastTheEnd = 16 - static_cast<int>(sizeof(LONG_PTR)) + 1;
    EXPECT_EQ(GetWindowLongPtrA(window, pastTheEnd), 0) << "reaches past the end";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    SetLastError(0);
    EXPECT_EQ(SetWindowLongPtrA(window, 16, 1), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
    EXPECT_FALSE(UnregisterClassA("Extra", nullptr)) << "windows of the class exist";
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    DestroyWindow(window);
    EXPECT_TRUE(UnregisterClassA("EXTRA", nullptr));
}

TEST_F(WindowLifecycleTest, ClassesAnswerTheirRecords) {
    WNDCLASSA wndClass{};
    wndClass.style = CS_DBLCLKS;
    wndClass.lpfnWndProc = DefWindowProcA;
    wndClass.hInstance = GetModuleHandleA(nullptr);
    wndClass.lpszClassName = "Mine";
    const ATOM atom = RegisterClassA(&wndClass);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(RegisterClassA(&wndClass), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    WNDCLASSA found{};
    ASSERT_TRUE(GetClassInfoA(wndClass.hInstance, "MINE", &found));
    EXPECT_EQ(found.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(found.lpfnWndProc, DefWindowProcA);
    EXPECT_STRCASEEQ(found.lpszClassName, "Mine");
    EXPECT_TRUE(GetClassInfoA(wndClass.hInstance,
                              reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(atom)), &found))
        << "a class atom names the class";
    EXPECT_FALSE(GetClassInfoA(wndClass.hInstance, "Form", &found));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
}

TEST_F(WindowLifecycleTest, SystemClassesExistWithTheirProcedures) {
    for (const char* name : {"BUTTON", "static", "ListBox", "EDIT", "tooltips_class32"}) {
        WNDCLASSA found{};
        ASSERT_TRUE(GetClassInfoA(nullptr, name, &found)) << name;
        EXPECT_NE(found.lpfnWndProc, nullptr) << name;
        EXPECT_GE(found.cbWndExtra, static_cast<int>(sizeof(LONG_PTR))) << name;
    }
}

TEST_F(WindowLifecycleTest, BadHandlesAnswerZeroWithInvalidWindowHandle) {
    const HWND bad = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(0xDEAD0));
    const HWND gone = Make(WS_POPUP);
    DestroyWindow(gone);
    for (HWND window : {bad, gone}) {
        RECT rect{};
        POINT point{};
        const std::pair<const char*, bool> answers[] = {
            {"IsWindow", IsWindow(window) == FALSE},
            {"DestroyWindow", DestroyWindow(window) == FALSE},
            {"SendMessageA", SendMessageA(window, WM_USER, 0, 0) == 0},
            {"PostMessageA", PostMessageA(window, WM_USER, 0, 0) == FALSE},
            {"GetWindowRect", GetWindowRect(window, &rect) == FALSE},
            {"GetClientRect", GetClientRect(window, &rect) == FALSE},
            {"ClientToScreen", ClientToScreen(window, &point) == FALSE},
            {"ShowWindow", ShowWindow(window, SW_SHOW) == FALSE},
            {"SetWindowPos", SetWindowPos(window, nullptr, 0, 0, 1, 1, 0) == FALSE},
            {"SetPropA", SetPropA(window, "x", window) == FALSE},
            {"GetWindowLongA", GetWindowLongA(window, GWL_STYLE) == 0},
            {"SetFocus", SetFocus(window) == nullptr},
            {"SetTimer", SetTimer(window, 1, 100, nullptr) == 0},
            {"EnableWindow", EnableWindow(window, FALSE) == FALSE},
            {"IsWindowEnabled", IsWindowEnabled(window) == FALSE},
            {"GetParent", GetParent(window) == nullptr},
            {"SetWindowTextA", SetWindowTextA(window, "x") == FALSE},
            {"GetWindowTextLengthA", GetWindowTextLengthA(window) == 0},
            {"SetCapture", SetCapture(window) == nullptr},
        };
        for (const auto& [name, zero] : answers) {
            EXPECT_TRUE(zero) << name;
        }
        SetLastError(0);
        GetWindowRect(window, &rect);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    }
}

TEST_F(WindowLifecycleTest, TextGoesThroughTheTextMessages) {
    const HWND window = Make(WS_POPUP);
    EXPECT_EQ(readback::WindowText(window), "title") << "the creation text, set by WM_NCCREATE";
    Clear();
    ASSERT_TRUE(SetWindowTextA(window, "Kestrin"));
    char buffer[4] = {};
    EXPECT_EQ(GetWindowTextA(window, buffer, sizeof buffer), 3) << "cut to the buffer";
    EXPECT_STREQ(buffer, "Kes");
    EXPECT_EQ(GetWindowTextLengthA(window), 7);
    const Expected expected[] = {
        {WM_SETTEXT, Sent},
        {WM_GETTEXT, Sent | WParam, 4},
        {WM_GETTEXTLENGTH, Sent},
    };
    ExpectSequence(expected, "text set and read");
    ASSERT_TRUE(SetWindowTextA(window, nullptr));
    EXPECT_EQ(readback::WindowText(window), "");
}

TEST_F(WindowLifecycleTest, LayeredAttributesNeedTheLayeredStyle) {
    const HWND plain = Make(WS_POPUP);
    SetLastError(0);
    EXPECT_FALSE(SetLayeredWindowAttributes(plain, 0, 128, LWA_ALPHA));
    if (testsession::RunningOnOwnLayer()) {
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << "undocumented; Wine answers "
                                                              "ERROR_INVALID_WINDOW_HANDLE";
    }
    const HWND layered = Make(WS_POPUP, nullptr, WS_EX_LAYERED);
    EXPECT_TRUE(SetLayeredWindowAttributes(layered, 0, 128, LWA_ALPHA));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(layered, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags, LWA_ALPHA);
}

TEST_F(WindowLifecycleTest, TreeRelationsAndZOrder) {
    const HWND parent = Make(WS_POPUP);
    const HWND first = Make(WS_CHILD, parent);
    const HWND second = Make(WS_CHILD, parent);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), first) << "children keep creation order";
    EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
    EXPECT_TRUE(IsChild(parent, second));
    EXPECT_FALSE(IsChild(second, parent));
    EXPECT_EQ(GetAncestor(second, GA_ROOT), parent);
    ASSERT_TRUE(SetWindowPos(first, HWND_BOTTOM, 0, 0, 0, 0,
                             SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER));
    EXPECT_EQ(GetWindow(parent, GW_CHILD), second);

    const HWND other = Make(WS_POPUP);
    ASSERT_TRUE(
        SetWindowPos(parent, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_NE(readback::ExStyle(parent) & WS_EX_TOPMOST, 0u);
    EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), parent);
    ASSERT_TRUE(
        SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), parent)
        << "a plain window stays below the topmost ones";
}

} // namespace
