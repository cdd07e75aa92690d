// The message queue of the one GUI thread: sending, posting, retrieval in Win32's order,
// waiting without polling, translation of keys and dispatching.
//
// Index: filters; sending; posting; retrieval; waiting; translation and dispatch.

#include "platform/posix/user32/message_queue.h"

#include "platform/posix/display/display.h"
#include "platform/posix/kernel32/clock.h"
#include "platform/posix/testing/call_recorder.h"
#include "platform/posix/testing/driver_hooks.h"
#include "platform/posix/user32/input.h"
#include "platform/posix/user32/paint.h"
#include "platform/posix/user32/timers.h"
#include "platform/posix/user32/wakeup.h"
#include "platform/posix/user32/window_manager.h"

#include <algorithm>
#include <deque>
#include <limits>

namespace {

std::deque<MSG> posted;
bool quitPosted = false;
int quitCode = 0;
DWORD lastMessageTime = 0;
POINT lastMessagePoint{};
int dispatchDepth = 0; // DispatchMessageA calls under way

const HWND ThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));

DWORD MessageTime() {
    return static_cast<DWORD>(posix::NowMs());
}

POINT CursorNow() {
    POINT point{};
    GetCursorPos(&point);
    return point;
}

} // namespace

// ---- Filters ----

namespace posix {

bool MessageFilter::Matches(HWND window, UINT message) const {
    if (Window == ThreadMessagesOnly) {
        if (window != nullptr) {
            return false;
        }
    } else if (Window != nullptr && window != Window && !IsDescendantOf(window, Window)) {
        return false;
    }
    if (Min == 0 && Max == 0) {
        return true;
    }
    if (Min <= Max) {
        return message >= Min && message <= Max;
    }
    return message >= Min || message <= Max;
}

// ---- Sending ----

LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Window* record = FindWindowRecord(window);
    if (record == nullptr) {
        return 0;
    }
    const WNDPROC proc = record->Proc != nullptr ? record->Proc : DefWindowProcA;
    return proc(window, message, wParam, lParam);
}

} // namespace posix

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    posix::RecordCall(testdriver::ApiFamily::Messages, "SendMessageA",
                      {reinterpret_cast<std::uintptr_t>(window), message, wParam,
                       static_cast<std::uintptr_t>(lParam)});
    if (window == HWND_BROADCAST) {
        const std::vector<HWND> snapshot = posix::TopLevelWindows();
        for (HWND top : snapshot) {
            posix::SendToWindow(top, message, wParam, lParam);
        }
        return 0;
    }
    if (posix::CheckedWindow(window) == nullptr) {
        return 0;
    }
    return posix::SendToWindow(window, message, wParam, lParam);
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam) {
    return proc == nullptr ? 0 : proc(window, message, wParam, lParam);
}

// ---- Posting ----

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    posix::RecordCall(testdriver::ApiFamily::Messages, "PostMessageA",
                      {reinterpret_cast<std::uintptr_t>(window), message, wParam,
                       static_cast<std::uintptr_t>(lParam)});
    if (window == HWND_BROADCAST) {
        for (HWND top : posix::TopLevelWindows()) {
            posted.push_back({top, message, wParam, lParam, MessageTime(), CursorNow()});
        }
        return TRUE;
    }
    if (window != nullptr && posix::CheckedWindow(window) == nullptr) {
        return FALSE;
    }
    posted.push_back({window, message, wParam, lParam, MessageTime(), CursorNow()});
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    posix::RecordCall(testdriver::ApiFamily::Messages, "PostQuitMessage",
                      {static_cast<std::uintptr_t>(exitCode)});
    quitPosted = true;
    quitCode = exitCode;
}

namespace posix {

void PostAtFront(const MSG& msg) {
    posted.push_front(msg);
}

void ForgetMessagesOf(HWND window) {
    posted.erase(std::remove_if(posted.begin(), posted.end(),
                                [&](const MSG& msg) { return msg.hwnd == window; }),
                 posted.end());
}

void ResetMessageQueue() {
    posted.clear();
    quitPosted = false;
    quitCode = 0;
    lastMessageTime = 0;
    lastMessagePoint = {};
    LPARAM ignored = 0;
    TakeEndSession(&ignored);
}

} // namespace posix

// ---- Retrieval ----

namespace {

// The session ends: every top-level window hears it, then the message loop is asked to end.
void DeliverEndOfSession() {
    LPARAM reason = 0;
    if (!posix::TakeEndSession(&reason)) {
        return;
    }
    const std::vector<HWND> snapshot = posix::TopLevelWindows();
    for (HWND window : snapshot) {
        posix::SendToWindow(window, WM_ENDSESSION, TRUE, reason);
    }
    PostQuitMessage(0);
}

bool TakePosted(const posix::MessageFilter& filter, bool remove, MSG* msg) {
    const auto found = std::find_if(posted.begin(), posted.end(), [&](const MSG& candidate) {
        return filter.Matches(candidate.hwnd, candidate.message);
    });
    if (found == posted.end()) {
        return false;
    }
    *msg = *found;
    if (remove) {
        posted.erase(found);
    }
    return true;
}

bool TakeQuit(bool remove, MSG* msg) {
    if (!quitPosted) {
        return false;
    }
    *msg = {nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0, MessageTime(), CursorNow()};
    if (remove) {
        quitPosted = false;
    }
    return true;
}

bool TakePaint(const posix::MessageFilter& filter, MSG* msg) {
    HWND window = nullptr;
    if (!posix::FindWindowToPaint(filter, &window)) {
        return false;
    }
    *msg = {window, WM_PAINT, 0, 0, MessageTime(), CursorNow()};
    return true;
}

bool Retrieve(const posix::MessageFilter& filter, bool remove, MSG* msg) {
    posix::RunWakeHandlers(false);
    DeliverEndOfSession();
    return TakePosted(filter, remove, msg) || TakeQuit(remove, msg) ||
           posix::TakeInputMessage(filter, remove, msg) || TakePaint(filter, msg) ||
           posix::TakeDueTimer(filter, remove, msg);
}

} // namespace

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (window != nullptr && window != ThreadMessagesOnly &&
        posix::CheckedWindow(window) == nullptr) {
        return FALSE;
    }
    // Input the user gave the native windows comes in here as well as in a wait, so that a
    // program that only peeks still hears of clicks, keys and close requests.
    if (posix::Display* display = posix::ChosenDisplay(); display != nullptr) {
        display->DispatchNativeEvents();
    }
    const posix::MessageFilter filter{window, filterMin, filterMax};
    MSG found{};
    if (!Retrieve(filter, (remove & PM_REMOVE) != 0, &found)) {
        // Nothing to do: a program that polls rather than waits shows what it painted now.
        posix::PresentPainting();
        return FALSE;
    }
    *msg = found;
    lastMessageTime = found.time;
    lastMessagePoint = found.pt;
    return TRUE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    for (;;) {
        if (window != nullptr && window != ThreadMessagesOnly &&
            posix::CheckedWindow(window) == nullptr) {
            return -1;
        }
        if (PeekMessageA(msg, window, filterMin, filterMax, PM_REMOVE) != FALSE) {
            return msg->message == WM_QUIT ? FALSE : TRUE;
        }
        WaitMessage();
    }
}

DWORD WINAPI GetMessageTime() {
    return lastMessageTime;
}

DWORD WINAPI GetMessagePos() {
    return static_cast<DWORD>(
        MAKELONG(static_cast<WORD>(lastMessagePoint.x), static_cast<WORD>(lastMessagePoint.y)));
}

// ---- Waiting ----

namespace posix {

bool SomethingToRetrieve() {
    HWND paint = nullptr;
    const std::optional<std::uint64_t> due = NextTimerDue();
    return !posted.empty() || quitPosted || HasInput() || EndSessionPending() ||
           FindWindowToPaint({}, &paint) || (due && *due <= NowMs());
}

bool WaitForMessages(bool scripted) {
    for (;;) {
        CurrentDisplay().DispatchNativeEvents();
        if (SomethingToRetrieve()) {
            return true;
        }
        const std::optional<std::uint64_t> due = NextDeadline();
        if (ClockIsVirtual()) {
            if (!scripted || DriverPumping()) {
                return false;
            }
            if (RunIdleStep()) {
                continue;
            }
            if (!due || *due <= NowMs() || !MayAdvanceClockTo(*due)) {
                return false;
            }
            AdvanceVirtualClock(*due - NowMs());
            RunWakeHandlers(true);
            continue;
        }
        int timeout = -1;
        if (due) {
            const std::uint64_t now = NowMs();
            const std::uint64_t left = *due > now ? *due - now : 0;
            timeout = static_cast<int>(std::min<std::uint64_t>(
                left, static_cast<std::uint64_t>(std::numeric_limits<int>::max())));
        }
        CurrentDisplay().Wait(WaitFd(), timeout);
        RunWakeHandlers(false);
    }
}

} // namespace posix

BOOL WINAPI WaitMessage() {
    if (!posix::WaitForMessages(true)) {
        posix::ReportStall();
    }
    return TRUE;
}

// ---- Translation and dispatch ----

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (msg == nullptr) {
        return FALSE;
    }
    switch (msg->message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const int character = posix::CharacterOfKey(static_cast<int>(msg->wParam), msg->lParam);
        if (character != 0) {
            posix::PostAtFront({msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR,
                                static_cast<WPARAM>(character), msg->lParam, msg->time, msg->pt});
        }
        return TRUE;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return TRUE;
    default:
        return FALSE;
    }
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        // Only the procedure of a live timer is called, never an address taken from a
        // message someone posted.
        const auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        if (posix::IsTimerProc(msg->hwnd, msg->wParam, proc)) {
            ++dispatchDepth;
            proc(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(posix::NowMs()));
            --dispatchDepth;
            posix::PresentWhenPainted();
        }
        return 0;
    }
    if (msg->hwnd == nullptr || posix::CheckedWindow(msg->hwnd) == nullptr) {
        return 0;
    }
    RECT before{};
    const bool painting = msg->message == WM_PAINT && GetUpdateRect(msg->hwnd, &before, FALSE);
    const HWND window = msg->hwnd;
    posix::NoteDispatch(msg);
    ++dispatchDepth;
    const LRESULT result = posix::SendToWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    --dispatchDepth;
    posix::NoteDispatch(nullptr);
    RECT after{};
    if (painting && posix::FindWindowRecord(window) != nullptr &&
        GetUpdateRect(window, &after, FALSE) && after.left == before.left &&
        after.top == before.top && after.right == before.right && after.bottom == before.bottom) {
        // A procedure that did not validate would get WM_PAINT forever.
        posix::TakeUpdate(window, nullptr, nullptr);
    }
    // What the message drew shows once the painting it started is done.
    posix::PresentWhenPainted();
    return result;
}

namespace posix {

bool DispatchingMessage() {
    return dispatchDepth > 0;
}

} // namespace posix
