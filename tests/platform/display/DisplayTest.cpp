// Choosing the display and presenting what was painted: a program that never heard of the
// layer gets the native display at its first window, or a failing CreateWindowExA when there
// is none; what it paints is presented at the end of each batch of painting without it having
// to wait for messages.

#include "platform/posix/display/display.h"
#include "platform/testing.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// Sets an environment variable (or removes it, for null) for the life of the object.
class EnvironmentChange {
public:
    EnvironmentChange(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name); old != nullptr) {
            old_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~EnvironmentChange() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    EnvironmentChange(const EnvironmentChange&) = delete;
    EnvironmentChange& operator=(const EnvironmentChange&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(DisplayChoice, WithoutADisplayNoWindowIsMadeAndTheErrorSaysWhy) {
    testdriver::Reset();
    WNDCLASSA wndClass{};
    wndClass.lpfnWndProc = PlainProc;
    wndClass.lpszClassName = "DisplayChoicePlain";
    ASSERT_NE(RegisterClassA(&wndClass), 0);
    {
        // SDL finds no X server to talk to.
        const EnvironmentChange display("DISPLAY", nullptr);
        const EnvironmentChange wayland("WAYLAND_DISPLAY", nullptr);
        const EnvironmentChange driver("SDL_VIDEODRIVER", "x11");
        // As at the start of a program: no display chosen yet.
        posix::UseDisplay(nullptr);
        SetLastError(ERROR_SUCCESS);
        const HWND window =
            CreateWindowExA(0, "DisplayChoicePlain", "No display", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(window, nullptr);
        EXPECT_EQ(GetLastError(), ERROR_REQUIRES_INTERACTIVE_WINDOWSTATION);
        std::string reason;
        EXPECT_TRUE(posix::DisplayMissing(&reason));
        EXPECT_FALSE(reason.empty());
        // The rest of the API goes on working: a message loop just finds nothing.
        MSG msg{};
        EXPECT_EQ(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE), FALSE);
        EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    }
    testdriver::Reset();
    EXPECT_FALSE(posix::DisplayMissing()) << "the test driver's headless display shows windows";
    ASSERT_NE(RegisterClassA(&wndClass), 0);
    const HWND window = CreateWindowExA(0, "DisplayChoicePlain", "Headless", WS_OVERLAPPEDWINDOW, 0,
                                        0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(window, nullptr);
    testdriver::Reset();
}

// Keeps what the layer told it, one entry a line: "changed" for each area drawing reported,
// "present N" when the layer asked to present N areas that changed since the last time (a
// request with none changed presents nothing, as on the native display), "dispatched" when
// the test marks that DispatchMessageA returned.
class PresentLog : public posix::Display {
public:
    explicit PresentLog(std::vector<std::string>* log) : log_(log) {}
    int ScreenWidth() const override { return 800; }
    int ScreenHeight() const override { return 600; }
    void TopLevelChanged(const posix::TopLevelState&) override {}
    void TopLevelDestroyed(HWND) override {}
    void Wait(int, int) override {}
    void DispatchNativeEvents() override {
        ++nativeDispatches;
        if (postOnDispatch != nullptr) {
            PostMessageA(postOnDispatch, WM_USER, 0, 0);
            postOnDispatch = nullptr;
        }
    }
    void SurfaceChanged(HWND, const RECT&) override {
        log_->push_back("changed");
        ++pending_;
    }
    void Present() override {
        if (pending_ > 0) {
            log_->push_back("present " + std::to_string(pending_));
            pending_ = 0;
        }
    }

    int nativeDispatches = 0;
    HWND postOnDispatch = nullptr; // a native event that becomes a posted message

private:
    std::vector<std::string>* log_;
    int pending_ = 0;
};

// Fills what it is asked to paint; on WM_USER draws twice through GetDC.
LRESULT CALLBACK PaintingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        const HDC dc = BeginPaint(window, &paint);
        FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
        EndPaint(window, &paint);
        return 0;
    }
    case WM_USER:
        for (int i = 0; i < 2; ++i) {
            const HDC dc = GetDC(window);
            const RECT spot{i, i, i + 4, i + 4};
            FillRect(dc, &spot, GetSysColorBrush(COLOR_WINDOW));
            ReleaseDC(window, dc);
        }
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

class PresentTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        WNDCLASSA wndClass{};
        wndClass.lpfnWndProc = PaintingProc;
        wndClass.lpszClassName = "PresentTestPainting";
        RegisterClassA(&wndClass);
        auto display = std::make_unique<PresentLog>(&log);
        logDisplay = display.get();
        posix::UseDisplay(std::move(display));
        popup = CreateWindowExA(0, "PresentTestPainting", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, nullptr, nullptr);
        for (int i = 0; i < 2; ++i) {
            children[i] =
                CreateWindowExA(0, "PresentTestPainting", "", WS_CHILD | WS_VISIBLE, 10 + 50 * i,
                                10, 40, 40, popup, nullptr, nullptr, nullptr);
        }
        Pump();
        log.clear();
    }
    void TearDown() override { testdriver::Reset(); }

    // The loop of a program that polls: each message is dispatched, and marked in the log.
    void Pump() {
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            DispatchMessageA(&msg);
            log.push_back("dispatched");
        }
    }

    std::vector<std::string> log;
    PresentLog* logDisplay = nullptr;
    HWND popup = nullptr;
    HWND children[2] = {};
};

TEST_F(PresentTest, ABatchOfPaintingIsPresentedOnceAfterItsLastEndPaint) {
    InvalidateRect(popup, nullptr, TRUE);
    Pump();
    const std::vector<std::string> expected = {"changed", "dispatched", "changed",   "dispatched",
                                               "changed", "present 3",  "dispatched"};
    EXPECT_EQ(log, expected);
}

TEST_F(PresentTest, UpdateWindowPresentsAtOnce) {
    InvalidateRect(children[0], nullptr, FALSE);
    InvalidateRect(children[1], nullptr, FALSE);
    UpdateWindow(children[0]);
    const std::vector<std::string> expected = {"changed", "present 1"};
    EXPECT_EQ(log, expected) << "the other child's painting is still to come";
}

TEST_F(PresentTest, DrawingWhileAMessageIsHandledShowsWhenItHasBeen) {
    PostMessageA(children[0], WM_USER, 0, 0);
    Pump();
    const std::vector<std::string> expected = {"changed", "changed", "present 2", "dispatched"};
    EXPECT_EQ(log, expected);
}

TEST_F(PresentTest, DrawingOutsideAnyMessageShowsAtOnce) {
    SendMessageA(children[0], WM_USER, 0, 0);
    const std::vector<std::string> expected = {"changed", "present 1", "changed", "present 1"};
    EXPECT_EQ(log, expected);
}

TEST_F(PresentTest, PeekingThatFindsNothingPresentsWhatIsLeft) {
    const RECT area{0, 0, 5, 5};
    posix::CurrentDisplay().SurfaceChanged(popup, area);
    MSG msg{};
    EXPECT_EQ(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE), FALSE);
    const std::vector<std::string> expected = {"changed", "present 1"};
    EXPECT_EQ(log, expected);
}

TEST_F(PresentTest, PeekingTakesInNativeInputWithoutWaiting) {
    logDisplay->postOnDispatch = popup;
    MSG msg{};
    ASSERT_NE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    EXPECT_GE(logDisplay->nativeDispatches, 1);
}

} // namespace
