// Painting windows: update regions, the erase and paint messages and their order, what the
// class brush erases with, how children and siblings clip each other, and reading back what
// a window shows.

#include "platform/posix/display/display.h"
#include "platform/posix/user32/control_colors.h"
#include "platform/posix/user32/window_surface.h"
#include "platform/testing.h"
#include "tests/platform/gdi32/GdiTestSurface.h"
#include "tests/platform/user32/MessageSequence.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace sequence;

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF Green = RGB(0, 160, 0);

std::string Text(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

// What the painting procedure saw in its last BeginPaint.
PAINTSTRUCT lastPaint{};
int paintCount = 0;

// Fills everything it is asked to paint with the colour kept in the window's user data.
LRESULT CALLBACK FillingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window, &paint);
    lastPaint = paint;
    ++paintCount;
    const HBRUSH brush =
        CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrA(window, GWLP_USERDATA)));
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
}

constexpr const char* FillingClass = "PaintTestFilling";

class PaintTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        RegisterRecordingClass();
        WNDCLASSA wndClass{};
        wndClass.lpfnWndProc = FillingProc;
        wndClass.lpszClassName = FillingClass;
        RegisterClassA(&wndClass);
        lastPaint = {};
        paintCount = 0;
    }
    void TearDown() override { testdriver::Reset(); }

    static HWND Filling(COLORREF color, DWORD style, HWND parent, RECT rect) {
        const HWND window =
            CreateWindowExA(0, FillingClass, "", style, rect.left, rect.top, rect.right - rect.left,
                            rect.bottom - rect.top, parent, nullptr, nullptr, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(color));
        return window;
    }
    static HWND Popup(const char* className, int width = 120, int height = 80) {
        return CreateWindowExA(0, className, "", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                               nullptr, nullptr, nullptr, nullptr);
    }
};

TEST_F(PaintTest, InvalidationErasesOnlyWhenAskedAndPaintsFromTheQueue) {
    const HWND window = Popup(RecordingClass);
    testdriver::PumpUntilIdle();
    Clear();
    const RECT area = {5, 5, 20, 20};
    InvalidateRect(window, &area, TRUE);
    testdriver::PumpUntilIdle();
    const Expected erasing[] = {{WM_PAINT, Posted}, {WM_ERASEBKGND, Sent | DefProc}};
    ExpectSequence(erasing, "invalidated with erase");
    InvalidateRect(window, &area, FALSE);
    testdriver::PumpUntilIdle();
    const Expected plain[] = {{WM_PAINT, Posted}};
    ExpectSequence(plain, "invalidated without erase");
    UpdateWindow(window);
    ExpectSequence({}, "nothing left to paint");
}

TEST_F(PaintTest, UpdateWindowPaintsAtOnceParentBeforeChild) {
    const HWND parent = Popup(RecordingClass);
    SetParentWindow(parent);
    const HWND child = CreateWindowExA(0, RecordingClass, "", WS_CHILD | WS_VISIBLE, 10, 10, 30, 30,
                                       parent, nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    testdriver::PumpUntilIdle();
    Clear();
    InvalidateRect(parent, nullptr, FALSE);
    UpdateWindow(parent);
    const Expected expected[] = {{WM_PAINT, Sent | Parent}, {WM_PAINT, Sent}};
    ExpectSequence(expected, "parent without WS_CLIPCHILDREN invalidates its child too");
}

TEST_F(PaintTest, BeginPaintReportsTheBoundsOfEveryInvalidRectangle) {
    const HWND window = Filling(Red, WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 100});
    testdriver::PumpUntilIdle();
    const RECT first = {10, 10, 20, 20};
    const RECT second = {50, 60, 70, 90};
    InvalidateRect(window, &first, FALSE);
    InvalidateRect(window, &second, TRUE);
    const HRGN update = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetUpdateRgn(window, update, FALSE), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(update, 15, 15));
    EXPECT_TRUE(PtInRegion(update, 55, 65));
    EXPECT_FALSE(PtInRegion(update, 30, 30)) << "the region is not the bounding rectangle";
    paintCount = 0;
    testdriver::PumpUntilIdle();
    EXPECT_EQ(paintCount, 1);
    const RECT bounds = {10, 10, 70, 90};
    EXPECT_EQ(Text(lastPaint.rcPaint), Text(bounds));
    EXPECT_TRUE(lastPaint.fErase) << "no class brush: the procedure must erase";
    EXPECT_EQ(GetUpdateRgn(window, update, FALSE), NULLREGION);
    DeleteObject(update);
}

TEST_F(PaintTest, PaintingIsLimitedToTheUpdateRegion) {
    const HWND window = Filling(Red, WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 100});
    testdriver::PumpUntilIdle();
    SetWindowLongPtrA(window, GWLP_USERDATA, static_cast<LONG_PTR>(Blue));
    const RECT area = {10, 10, 20, 20};
    InvalidateRect(window, &area, FALSE);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(testdriver::ClientPixel(window, 15, 15), Blue);
    EXPECT_EQ(testdriver::ClientPixel(window, 25, 15), Red);
    EXPECT_EQ(testdriver::ClientPixel(window, 5, 5), Red);
}

TEST_F(PaintTest, ValidatingPartOfTheUpdateLeavesTheRest) {
    const HWND window = Popup(RecordingClass, 100, 100);
    testdriver::PumpUntilIdle();
    const RECT all = {0, 0, 100, 100};
    const RECT left = {0, 0, 50, 100};
    InvalidateRect(window, &all, FALSE);
    ValidateRect(window, &left);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(window, &update, FALSE));
    const RECT right = {50, 0, 100, 100};
    EXPECT_EQ(Text(update), Text(right));
    const HRGN rest = CreateRectRgn(40, 0, 100, 100);
    ValidateRgn(window, rest);
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
    InvalidateRgn(window, rest, FALSE);
    EXPECT_TRUE(GetUpdateRect(window, &update, FALSE));
    const RECT fromRegion = {40, 0, 100, 100};
    EXPECT_EQ(Text(update), Text(fromRegion));
    DeleteObject(rest);
}

TEST_F(PaintTest, HiddenAndEmptyWindowsGetNoPaint) {
    const HWND hidden = CreateWindowExA(0, RecordingClass, "", WS_POPUP, 0, 0, 50, 50, nullptr,
                                        nullptr, nullptr, nullptr);
    const HWND empty = Popup(RecordingClass, 0, 0);
    testdriver::PumpUntilIdle();
    Clear();
    InvalidateRect(hidden, nullptr, TRUE);
    InvalidateRect(empty, nullptr, TRUE);
    testdriver::PumpUntilIdle();
    ExpectSequence({}, "hidden and zero-sized windows");
    for (HWND window : {empty, static_cast<HWND>(nullptr)}) {
        const HDC dc = GetDC(window);
        ASSERT_NE(dc, nullptr) << "a context without pixels still measures";
        SIZE size{};
        EXPECT_TRUE(GetTextExtentPoint32A(dc, "Wide", 4, &size));
        EXPECT_GT(size.cx, 0);
        const RECT area = {0, 0, 10, 10};
        FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EXPECT_EQ(ReleaseDC(window, dc), 1);
    }
    EXPECT_EQ(testdriver::ClientPixel(hidden, 1, 1), -1);
}

TEST_F(PaintTest, ClassBrushErasesTheBackground) {
    struct Case {
        HBRUSH Brush;
        COLORREF Expected;
        const char* Context;
    };
    const HBRUSH solid = CreateSolidBrush(RGB(10, 20, 30));
    const Case cases[] = {
        {reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)), RGB(192, 192, 192),
         "system colour index plus one"},
        {solid, RGB(10, 20, 30), "solid brush"},
        {static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), RGB(0, 0, 0), "stock brush"},
    };
    int serial = 0;
    for (const Case& test : cases) {
        const std::string name = "PaintTestErase" + std::to_string(serial++);
        WNDCLASSA wndClass{};
        wndClass.lpfnWndProc = DefWindowProcA;
        wndClass.lpszClassName = name.c_str();
        wndClass.hbrBackground = test.Brush;
        ASSERT_NE(RegisterClassA(&wndClass), 0) << test.Context;
        const HWND window = Popup(name.c_str());
        testdriver::PumpUntilIdle();
        EXPECT_EQ(testdriver::ClientPixel(window, 0, 0), test.Expected) << test.Context;
        EXPECT_EQ(testdriver::ClientPixel(window, 119, 79), test.Expected) << test.Context;
        EXPECT_EQ(testdriver::ClientPixel(window, 120, 79), -1) << test.Context;
        DestroyWindow(window);
    }
    DeleteObject(solid);
}

TEST_F(PaintTest, ChildrenAreClippedOutOfParentsWithClipChildren) {
    struct Case {
        DWORD ParentStyle;
        const char* Context;
    };
    const Case cases[] = {
        {WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, "parent clips its children"},
        {WS_POPUP | WS_VISIBLE, "parent paints first, then the child over it"},
    };
    for (const Case& test : cases) {
        const HWND parent = Filling(Red, test.ParentStyle, nullptr, {0, 0, 100, 100});
        const HWND child = Filling(Blue, WS_CHILD | WS_VISIBLE, parent, {20, 20, 60, 60});
        testdriver::PumpUntilIdle();
        InvalidateRect(parent, nullptr, TRUE);
        testdriver::PumpUntilIdle();
        EXPECT_EQ(testdriver::ClientPixel(parent, 10, 10), Red) << test.Context;
        EXPECT_EQ(testdriver::ClientPixel(parent, 30, 30), Blue) << test.Context;
        EXPECT_EQ(testdriver::ClientPixel(child, 0, 0), Blue) << test.Context;
        EXPECT_EQ(testdriver::ClientPixel(child, 40, 0), -1) << test.Context;
        DestroyWindow(parent);
    }
}

TEST_F(PaintTest, GetDCOfAParentWithClipChildrenLeavesChildrenAlone) {
    struct Case {
        DWORD ParentStyle;
        COLORREF InsideChild;
        const char* Context;
    };
    const Case cases[] = {
        {WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, Blue, "clipped"},
        {WS_POPUP | WS_VISIBLE, Green, "drawn over"},
    };
    for (const Case& test : cases) {
        const HWND parent = Filling(Red, test.ParentStyle, nullptr, {0, 0, 100, 100});
        const HWND child = Filling(Blue, WS_CHILD | WS_VISIBLE, parent, {20, 20, 60, 60});
        testdriver::PumpUntilIdle();
        const HDC dc = GetDC(parent);
        const HBRUSH green = CreateSolidBrush(Green);
        const RECT all = {0, 0, 100, 100};
        FillRect(dc, &all, green);
        DeleteObject(green);
        EXPECT_EQ(ReleaseDC(parent, dc), 1);
        EXPECT_EQ(testdriver::ClientPixel(child, 5, 5), test.InsideChild) << test.Context;
        EXPECT_EQ(testdriver::ClientPixel(parent, 5, 5), Green) << test.Context;
        DestroyWindow(parent);
    }
}

TEST_F(PaintTest, SiblingsAboveClipChildrenWithClipSiblings) {
    struct Case {
        DWORD LowerStyle;
        COLORREF InOverlap;
        const char* Context;
    };
    const Case cases[] = {
        {WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, Blue, "the sibling above is clipped out"},
        {WS_CHILD | WS_VISIBLE, Green, "without the style the lower child draws over"},
    };
    for (const Case& test : cases) {
        const HWND parent =
            Filling(Red, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, nullptr, {0, 0, 100, 100});
        const HWND lower = Filling(Green, test.LowerStyle, parent, {10, 10, 50, 50});
        const HWND upper = Filling(Blue, WS_CHILD | WS_VISIBLE, parent, {30, 30, 70, 70});
        SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ASSERT_EQ(GetWindow(parent, GW_CHILD), upper) << test.Context;
        testdriver::PumpUntilIdle();
        InvalidateRect(lower, nullptr, FALSE);
        UpdateWindow(lower);
        EXPECT_EQ(testdriver::ClientPixel(parent, 40, 40), test.InOverlap) << test.Context;
        EXPECT_EQ(testdriver::ClientPixel(parent, 15, 15), Green) << test.Context;
        EXPECT_EQ(testdriver::ClientPixel(parent, 65, 65), Blue) << test.Context;
        DestroyWindow(parent);
    }
}

TEST_F(PaintTest, SurfaceFollowsTheClientSizeKeepingWhatFits) {
    const HWND window = Filling(Red, WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 40, 30});
    testdriver::PumpUntilIdle();
    const posix::gdi::Surface* before = posix::SurfaceOf(window);
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->Width, 40);
    EXPECT_EQ(before->Height, 30);
    SetWindowPos(window, nullptr, 0, 0, 80, 20, SWP_NOMOVE | SWP_NOZORDER);
    const posix::gdi::Surface* after = posix::SurfaceOf(window);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->Width, 80);
    EXPECT_EQ(after->Height, 20);
    EXPECT_EQ(testdriver::ClientPixel(window, 39, 19), Red) << "kept";
    EXPECT_EQ(testdriver::ClientPixel(window, 79, 0), RGB(255, 255, 255)) << "new";
    EXPECT_EQ(testdriver::ClientPixel(window, 0, 25), -1) << "cut";
}

TEST_F(PaintTest, MovedChildPaintsWhereItNowIsAndTheParentWhereItWas) {
    const HWND parent =
        Filling(Red, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, nullptr, {0, 0, 100, 100});
    const HWND child = Filling(Blue, WS_CHILD | WS_VISIBLE, parent, {0, 0, 20, 20});
    testdriver::PumpUntilIdle();
    SetWindowPos(child, nullptr, 50, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(testdriver::ClientPixel(parent, 5, 5), Red);
    EXPECT_EQ(testdriver::ClientPixel(parent, 55, 55), Blue);
}

// Keeps the areas drawing reported, and nothing else.
class RecordingDisplay : public posix::Display {
public:
    explicit RecordingDisplay(std::vector<RECT>* changes) : changes_(changes) {}
    int ScreenWidth() const override { return 800; }
    int ScreenHeight() const override { return 600; }
    void TopLevelChanged(const posix::TopLevelState&) override {}
    void TopLevelDestroyed(HWND) override {}
    void Wait(int, int) override {}
    void DispatchNativeEvents() override {}
    void SurfaceChanged(HWND, const RECT& area) override { changes_->push_back(area); }

private:
    std::vector<RECT>* changes_;
};

TEST_F(PaintTest, DrawingTellsTheDisplayWhichPartChanged) {
    std::vector<RECT> changes;
    posix::UseDisplay(std::make_unique<RecordingDisplay>(&changes));
    const HWND parent =
        Filling(Red, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, nullptr, {0, 0, 100, 100});
    const HWND child = Filling(Blue, WS_CHILD | WS_VISIBLE, parent, {20, 30, 60, 50});
    testdriver::PumpUntilIdle();
    changes.clear();
    const RECT area = {0, 0, 5, 5};
    InvalidateRect(child, &area, FALSE);
    testdriver::PumpUntilIdle();
    ASSERT_EQ(changes.size(), 1u);
    const RECT expected = {20, 30, 25, 35};
    EXPECT_EQ(Text(changes[0]), Text(expected));
}

// A display that shows every pixel as a 2 by 2 block.
class DoublingDisplay : public RecordingDisplay {
public:
    using RecordingDisplay::RecordingDisplay;
    int Scale() const override { return 2; }
};

TEST_F(PaintTest, OnAScaledDisplayWindowsShowFinerTextThatResizingKeeps) {
    std::vector<RECT> changes;
    posix::UseDisplay(std::make_unique<DoublingDisplay>(&changes));
    const HWND parent = Filling(Green, WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 100, 40});
    CreateWindowExA(0, "STATIC", "Clear list", WS_CHILD | WS_VISIBLE, 5, 5, 80, 20, parent, nullptr,
                    nullptr, nullptr);
    testdriver::PumpUntilIdle();
    const posix::gdi::Surface* surface = posix::SurfaceOf(parent);
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(surface->Detail, 2);
    const int finer = CountFinerPixels(*surface, RECT{0, 0, 100, 40});
    EXPECT_GT(finer, 0);

    SetWindowPos(parent, nullptr, 0, 0, 140, 60, SWP_NOMOVE | SWP_NOZORDER);
    surface = posix::SurfaceOf(parent);
    ASSERT_EQ(surface->Width, 140);
    EXPECT_EQ(CountFinerPixels(*surface, RECT{0, 0, 100, 40}), finer)
        << "before the window paints again";
    testdriver::PumpUntilIdle();
    EXPECT_EQ(CountFinerPixels(*posix::SurfaceOf(parent), RECT{0, 0, 140, 60}), finer);
}

TEST_F(PaintTest, DefaultControlColoursFollowTheKindOfControl) {
    const HWND window = Popup(RecordingClass);
    const HDC dc = GetDC(window);
    struct Case {
        UINT Message;
        int Background;
    };
    const Case cases[] = {
        {WM_CTLCOLORBTN, COLOR_BTNFACE},    {WM_CTLCOLORSTATIC, COLOR_BTNFACE},
        {WM_CTLCOLORMSGBOX, COLOR_BTNFACE}, {WM_CTLCOLORDLG, COLOR_BTNFACE},
        {WM_CTLCOLOREDIT, COLOR_WINDOW},    {WM_CTLCOLORLISTBOX, COLOR_WINDOW},
    };
    for (const Case& test : cases) {
        SetTextColor(dc, Red);
        SetBkColor(dc, Red);
        const LRESULT brush = DefWindowProcA(window, test.Message, reinterpret_cast<WPARAM>(dc),
                                             reinterpret_cast<LPARAM>(window));
        const std::string context = MessageName(test.Message);
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), GetSysColorBrush(test.Background)) << context;
        EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT)) << context;
        EXPECT_EQ(GetBkColor(dc), GetSysColor(test.Background)) << context;
    }
    ReleaseDC(window, dc);
}

// Answers WM_CTLCOLORSTATIC with its own colours; leaves the others to the default.
HBRUSH parentBrush = nullptr;
LRESULT CALLBACK ColouringParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, Blue);
        SetBkColor(dc, Green);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(parentBrush);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(PaintTest, ControlsDrawWithWhatTheirParentAnswers) {
    WNDCLASSA wndClass{};
    wndClass.lpfnWndProc = ColouringParentProc;
    wndClass.lpszClassName = "PaintTestColouringParent";
    RegisterClassA(&wndClass);
    parentBrush = CreateSolidBrush(Red);
    const HWND parent = Popup(wndClass.lpszClassName);
    const HWND control = CreateWindowExA(0, "STATIC", "x", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20,
                                         parent, nullptr, nullptr, nullptr);
    const HDC dc = GetDC(control);
    EXPECT_EQ(posix::ControlColors(control, dc, WM_CTLCOLORSTATIC), parentBrush);
    EXPECT_EQ(GetTextColor(dc), Blue);
    EXPECT_EQ(GetBkColor(dc), Green);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(posix::ControlColors(control, dc, WM_CTLCOLORLISTBOX), GetSysColorBrush(COLOR_WINDOW))
        << "a parent that answers 0 leaves the default";
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_WINDOW));
    ReleaseDC(control, dc);
    DestroyWindow(parent);
    DeleteObject(parentBrush);
}

TEST_F(PaintTest, SystemColourBrushesStayTheSameHandleAndFollowTheColours) {
    const HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);
    EXPECT_EQ(GetSysColorBrush(-1), nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_MENUBAR + 1), nullptr);
    DeleteObject(face);
    const int index = COLOR_BTNFACE;
    const COLORREF pink = RGB(250, 100, 200);
    ASSERT_TRUE(SetSysColors(1, &index, &pink));
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);
    const HWND window = Popup(RecordingClass);
    const HDC dc = GetDC(window);
    const RECT area = {0, 0, 10, 10};
    FillRect(dc, &area, face);
    ReleaseDC(window, dc);
    EXPECT_EQ(testdriver::ClientPixel(window, 5, 5), pink);
    testdriver::Reset();
    LOGBRUSH brush{};
    ASSERT_EQ(GetObjectA(face, sizeof brush, &brush), static_cast<int>(sizeof brush));
    EXPECT_EQ(brush.lbColor, RGB(192, 192, 192)) << "the classic scheme comes back on reset";
}

TEST_F(PaintTest, SavedPngHoldsTheClientArea) {
    const HWND parent = Filling(Red, WS_POPUP | WS_VISIBLE, nullptr, {0, 0, 60, 40});
    const HWND child = Filling(Blue, WS_CHILD | WS_VISIBLE, parent, {10, 10, 33, 27});
    testdriver::PumpUntilIdle();
    const std::string path = testing::TempDir() + "paint_test_child.png";
    ASSERT_TRUE(testdriver::SavePng(child, path));
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> png{std::istreambuf_iterator<char>(file), {}};
    std::remove(path.c_str());
    ASSERT_GT(png.size(), 33u);
    const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), png.begin()));
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    const auto bigEndian = [&](std::size_t at) {
        return (unsigned{png[at]} << 24) | (unsigned{png[at + 1]} << 16) |
               (unsigned{png[at + 2]} << 8) | unsigned{png[at + 3]};
    };
    EXPECT_EQ(bigEndian(16), 23u);
    EXPECT_EQ(bigEndian(20), 17u);
    EXPECT_FALSE(testdriver::SavePng(nullptr, path));
}

} // namespace
