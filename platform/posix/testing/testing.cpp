// The test driver (platform/testing.h) and the hooks the layer calls into it
// (driver_hooks.h).
//
// Index: state; session; pumping and time; input; answers; idle steps; read-back.

#include "platform/testing.h"

#include "platform/posix/display/display.h"
#include "platform/posix/gdi32/gdi.h"
#include "platform/posix/kernel32/clock.h"
#include "platform/posix/testing/call_recorder.h"
#include "platform/posix/testing/driver_hooks.h"
#include "platform/posix/user32/raw_input.h"
#include "platform/posix/user32/reset.h"
#include "platform/posix/user32/wakeup.h"
#include "platform/posix/user32/window_pixels.h"

#include <algorithm>
#include <cstdio>
#include <deque>

namespace {

// ---- State ----

struct Dispatch {
    MSG Message;
    std::uint64_t Serial;
};

int pumpDepth = 0;
int idleStepDepth = 0;
std::deque<std::function<void()>> idleSteps;
std::uint64_t lastIdleActivity = 0;
std::uint64_t idlePeriod = 60 * 60 * 1000;
bool stalled = false;
std::deque<int> messageBoxAnswers;
std::deque<posix::FileDialogAnswer> fileDialogAnswers;
std::vector<void (*)()> resetHandlers;
std::vector<Dispatch> dispatching;
std::uint64_t dispatchSerial = 0;

// Messages a pump handles at most: a window that keeps asking for more would hang the test.
constexpr int PumpLimit = 1'000'000;

// Input queued by a test is processed at once, unless an idle step queued it: then the
// message loop that runs the step processes it.
void Deliver() {
    if (idleStepDepth == 0) {
        testdriver::PumpUntilIdle();
    }
}

POINT OnScreen(HWND window, int x, int y) {
    POINT point{x, y};
    ClientToScreen(window, &point);
    return point;
}

posix::MouseKey KeyOf(testdriver::MouseButton button) {
    switch (button) {
    case testdriver::MouseButton::Right:
        return posix::MouseKey::Right;
    case testdriver::MouseButton::Middle:
        return posix::MouseKey::Middle;
    default:
        return posix::MouseKey::Left;
    }
}

void MoveTo(POINT point) {
    POINT cursor{};
    GetCursorPos(&cursor);
    if (cursor.x != point.x || cursor.y != point.y) {
        posix::QueueMouseMove(point);
    }
}

void QueueTypedCharacter(unsigned char character) {
    int key = 0;
    bool shift = false;
    if (!posix::KeyForCharacter(character, &key, &shift)) {
        posix::QueueKey(VK_PACKET, true, character);
        posix::QueueKey(VK_PACKET, false, character);
        return;
    }
    if (shift) {
        posix::QueueKey(VK_SHIFT, true);
    }
    posix::QueueKey(key, true);
    posix::QueueKey(key, false);
    if (shift) {
        posix::QueueKey(VK_SHIFT, false);
    }
}

} // namespace

// ---- Hooks of the layer ----

namespace posix {

bool DriverPumping() {
    return pumpDepth > 0;
}

bool RunIdleStep() {
    if (idleSteps.empty()) {
        return false;
    }
    const std::function<void()> step = std::move(idleSteps.front());
    idleSteps.pop_front();
    ++idleStepDepth;
    step();
    --idleStepDepth;
    lastIdleActivity = NowMs();
    return true;
}

bool MayAdvanceClockTo(std::uint64_t due) {
    return due <= lastIdleActivity + idlePeriod;
}

void ReportStall() {
    stalled = true;
    std::fprintf(stderr, "test driver: the message loop waits for what can never come; "
                         "it is ended with WM_QUIT\n");
    PostQuitMessage(0);
}

void AddResetHandler(void (*handler)()) {
    if (std::find(resetHandlers.begin(), resetHandlers.end(), handler) == resetHandlers.end()) {
        resetHandlers.push_back(handler);
    }
}

void NoteDispatch(const MSG* msg) {
    if (msg != nullptr) {
        dispatching.push_back({*msg, ++dispatchSerial});
    } else if (!dispatching.empty()) {
        dispatching.pop_back();
    }
}

std::optional<int> TakeMessageBoxAnswer() {
    if (messageBoxAnswers.empty()) {
        return std::nullopt;
    }
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
}

std::optional<FileDialogAnswer> TakeFileDialogAnswer() {
    if (fileDialogAnswers.empty()) {
        return std::nullopt;
    }
    FileDialogAnswer answer = std::move(fileDialogAnswers.front());
    fileDialogAnswers.pop_front();
    return answer;
}

} // namespace posix

namespace testdriver {

// ---- Session ----

void Reset() {
    posix::UseDisplay(posix::MakeHeadlessDisplay());
    posix::UseVirtualClock(0);
    posix::ResetWindowManager();
    for (void (*handler)() : resetHandlers) {
        handler();
    }
    posix::ResetRecording();
    idleSteps.clear();
    lastIdleActivity = 0;
    idlePeriod = 60 * 60 * 1000;
    stalled = false;
    messageBoxAnswers.clear();
    fileDialogAnswers.clear();
    dispatching.clear();
}

void UseRealClock() {
    posix::UseRealClock();
}

// ---- Pumping and time ----

std::uint64_t Now() {
    return posix::NowMs();
}

std::optional<int> PumpUntilIdle() {
    ++pumpDepth;
    std::optional<int> quit;
    int handled = 0;
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (msg.message == WM_QUIT) {
            quit = static_cast<int>(msg.wParam);
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (++handled == PumpLimit) {
            stalled = true;
            std::fprintf(stderr, "test driver: messages keep coming; pumping stopped\n");
            break;
        }
    }
    --pumpDepth;
    return quit;
}

std::optional<int> AdvanceClock(std::uint64_t ms) {
    if (!posix::ClockIsVirtual()) {
        return PumpUntilIdle();
    }
    const std::uint64_t target = posix::NowMs() + ms;
    for (;;) {
        posix::RunWakeHandlers(true);
        if (const std::optional<int> quit = PumpUntilIdle()) {
            return quit;
        }
        // Everything due by now has fired, so the next moment lies ahead.
        const std::optional<std::uint64_t> due = posix::NextDeadline();
        if (!due || *due > target || *due <= posix::NowMs()) {
            break;
        }
        posix::AdvanceVirtualClock(*due - posix::NowMs());
    }
    if (target > posix::NowMs()) {
        posix::AdvanceVirtualClock(target - posix::NowMs());
    }
    posix::RunWakeHandlers(true);
    return PumpUntilIdle();
}

// ---- Input ----

void MouseMove(HWND window, int x, int y) {
    MoveTo(OnScreen(window, x, y));
    Deliver();
}

void MouseDown(HWND window, int x, int y, MouseButton button) {
    MoveTo(OnScreen(window, x, y));
    posix::QueueMouseButton(KeyOf(button), true);
    Deliver();
}

void MouseUp(HWND window, int x, int y, MouseButton button) {
    MoveTo(OnScreen(window, x, y));
    posix::QueueMouseButton(KeyOf(button), false);
    Deliver();
}

void Click(HWND window, int x, int y, MouseButton button) {
    MoveTo(OnScreen(window, x, y));
    posix::QueueMouseButton(KeyOf(button), true);
    posix::QueueMouseButton(KeyOf(button), false);
    Deliver();
}

void DoubleClick(HWND window, int x, int y, MouseButton button) {
    MoveTo(OnScreen(window, x, y));
    for (int click = 0; click < 2; ++click) {
        posix::QueueMouseButton(KeyOf(button), true);
        posix::QueueMouseButton(KeyOf(button), false);
    }
    Deliver();
}

void Drag(HWND window, int x0, int y0, int x1, int y1, MouseButton button) {
    const POINT end = OnScreen(window, x1, y1);
    MoveTo(OnScreen(window, x0, y0));
    posix::QueueMouseButton(KeyOf(button), true);
    posix::QueueMouseMove(end);
    posix::QueueMouseButton(KeyOf(button), false);
    Deliver();
}

void Wheel(HWND window, int x, int y, int delta) {
    MoveTo(OnScreen(window, x, y));
    posix::QueueMouseWheel(delta);
    Deliver();
}

void KeyDown(int virtualKey) {
    posix::QueueKey(virtualKey, true);
    Deliver();
}

void KeyUp(int virtualKey) {
    posix::QueueKey(virtualKey, false);
    Deliver();
}

void PressKey(int virtualKey) {
    posix::QueueKey(virtualKey, true);
    posix::QueueKey(virtualKey, false);
    Deliver();
}

void TypeText(std::string_view text) {
    for (char character : text) {
        QueueTypedCharacter(static_cast<unsigned char>(character));
    }
    Deliver();
}

// ---- Answers ----

void QueueMessageBoxAnswer(int answer) {
    messageBoxAnswers.push_back(answer);
}

void QueueFileDialogPath(std::string path) {
    fileDialogAnswers.push_back({false, std::move(path)});
}

void QueueFileDialogCancel() {
    fileDialogAnswers.push_back({true, {}});
}

// ---- Idle steps ----

void AddIdleStep(std::function<void()> step) {
    idleSteps.push_back(std::move(step));
}

std::size_t PendingIdleSteps() {
    return idleSteps.size();
}

void SetIdlePeriod(std::uint64_t ms) {
    idlePeriod = ms;
}

bool Stalled() {
    return stalled;
}

const MSG* MessageBeingDispatched(std::uint64_t* serial) {
    if (dispatching.empty()) {
        return nullptr;
    }
    if (serial != nullptr) {
        *serial = dispatching.back().Serial;
    }
    return &dispatching.back().Message;
}

// ---- Read-back ----

std::int64_t ClientPixel(HWND window, int x, int y) {
    RECT client{};
    if (IsWindowVisible(window) == FALSE || !GetClientRect(window, &client) || x < 0 || y < 0 ||
        x >= client.right || y >= client.bottom) {
        return -1;
    }
    RECT area{};
    const posix::gdi::Surface* surface = posix::ClientAreaOnSurface(window, &area);
    // Both lie within the coordinate limit, so the sums fit.
    const int surfaceX = area.left + x;
    const int surfaceY = area.top + y;
    if (surface == nullptr || surfaceX < 0 || surfaceY < 0 || surfaceX >= surface->Width ||
        surfaceY >= surface->Height) {
        return -1;
    }
    return posix::gdi::ColorFromPixel(surface->At(surfaceX, surfaceY));
}

bool SavePng(HWND window, const std::string& path) {
    RECT area{};
    const posix::gdi::Surface* surface = posix::ClientAreaOnSurface(window, &area);
    return surface != nullptr && posix::gdi::WritePng(*surface, area, path);
}

} // namespace testdriver
