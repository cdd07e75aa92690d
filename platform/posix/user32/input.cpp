// Input routing: raw events become mouse and key messages by hit testing, capture and focus;
// key state, the cursor, double clicks, mouse activation and mouse-leave tracking.
//
// Index: state; hit testing; conversion of events into messages; taking messages; keyboard
// layout; queries.

#include "platform/posix/user32/input.h"

#include "platform/posix/api/user32_system.h"
#include "platform/posix/kernel32/clock.h"
#include "platform/posix/user32/focus.h"
#include "platform/posix/user32/message_queue.h"
#include "platform/posix/user32/window_manager.h"

#include <algorithm>
#include <cstdlib>
#include <deque>

namespace {

using posix::FindWindowRecord;
using posix::MouseKey;
using posix::SendToWindow;

enum class EventKind { Move, Button, Wheel, Key };

struct InputEvent {
    EventKind Kind = EventKind::Move;
    POINT Point{}; // the cursor when the event happened
    MouseKey Button = MouseKey::Left;
    bool Down = false;
    int WheelDelta = 0;
    int VirtualKey = 0;
    BYTE Character = 0; // of a VK_PACKET key
    std::uint64_t Time = 0;
};

struct LastClick {
    HWND Window = nullptr;
    MouseKey Button = MouseKey::Left;
    std::uint64_t Time = 0;
    POINT Point{};
    bool NonClient = false;
};

std::deque<InputEvent> events;
BYTE syncKeys[256]{};  // as of the last message taken (GetKeyState)
BYTE asyncKeys[256]{}; // as of the last event queued (GetAsyncKeyState)
POINT cursor{};
LastClick lastClick;
HWND leaveTracked = nullptr;
bool leaveTrackedNonClient = false;

constexpr BYTE KeyDownBit = 0x80;
constexpr BYTE KeyToggledBit = 0x01;
constexpr UINT DoubleClickTime = 500;

int ButtonKey(MouseKey button) {
    switch (button) {
    case MouseKey::Right:
        return VK_RBUTTON;
    case MouseKey::Middle:
        return VK_MBUTTON;
    default:
        return VK_LBUTTON;
    }
}

int ButtonIndex(MouseKey button) {
    return static_cast<int>(button);
}

// The left and right variants of Shift, Ctrl and Alt also set the key they are variants of.
int GenericKey(int virtualKey) {
    switch (virtualKey) {
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    default:
        return virtualKey;
    }
}

void SetKey(BYTE* keys, int virtualKey, bool down) {
    for (int key : {virtualKey, GenericKey(virtualKey)}) {
        if (down && (keys[key] & KeyDownBit) == 0) {
            keys[key] ^= KeyToggledBit;
        }
        keys[key] = static_cast<BYTE>(down ? (keys[key] | KeyDownBit) : (keys[key] & ~KeyDownBit));
    }
}

bool IsDown(const BYTE* keys, int virtualKey) {
    return (keys[virtualKey] & KeyDownBit) != 0;
}

void ApplyToKeys(BYTE* keys, const InputEvent& event) {
    if (event.Kind == EventKind::Button) {
        SetKey(keys, ButtonKey(event.Button), event.Down);
    } else if (event.Kind == EventKind::Key) {
        SetKey(keys, event.VirtualKey, event.Down);
    }
}

// MK_ flags of the key state after the event.
WPARAM MouseKeyFlags(const InputEvent& event) {
    BYTE keys[256];
    std::copy(std::begin(syncKeys), std::end(syncKeys), keys);
    ApplyToKeys(keys, event);
    WPARAM flags = 0;
    flags |= IsDown(keys, VK_LBUTTON) ? MK_LBUTTON : 0;
    flags |= IsDown(keys, VK_RBUTTON) ? MK_RBUTTON : 0;
    flags |= IsDown(keys, VK_MBUTTON) ? MK_MBUTTON : 0;
    flags |= IsDown(keys, VK_SHIFT) ? MK_SHIFT : 0;
    flags |= IsDown(keys, VK_CONTROL) ? MK_CONTROL : 0;
    return flags;
}

LPARAM PackPoint(LONG x, LONG y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

RECT ClientOnScreen(const posix::Window& window) {
    const POINT origin = posix::ClientOriginOnScreen(window);
    return {origin.x, origin.y, origin.x + (window.Client.right - window.Client.left),
            origin.y + (window.Client.bottom - window.Client.top)};
}

void Queue(InputEvent event) {
    event.Point = cursor;
    event.Time = posix::NowMs();
    ApplyToKeys(asyncKeys, event);
    events.push_back(event);
}

} // namespace

// ---- Hit testing ----

namespace {

posix::HitResult HitWithin(HWND handle, POINT point) {
    const posix::Window* window = FindWindowRecord(handle);
    if (window == nullptr) {
        return {};
    }
    if (Contains(ClientOnScreen(*window), point)) {
        const std::vector<HWND> children = window->Children;
        for (HWND child : children) {
            const posix::Window* record = FindWindowRecord(child);
            if (record == nullptr || (record->Style & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE ||
                !Contains(posix::ScreenRectOf(*record), point)) {
                continue;
            }
            const posix::HitResult hit = HitWithin(child, point);
            if (hit.Window != nullptr) {
                return hit;
            }
        }
    }
    const LRESULT code = SendToWindow(handle, WM_NCHITTEST, 0, PackPoint(point.x, point.y));
    if (code == HTTRANSPARENT || FindWindowRecord(handle) == nullptr) {
        return {};
    }
    return {handle, code};
}

} // namespace

namespace posix {

HitResult HitTest(POINT screen) {
    const std::vector<HWND> order = TopLevelWindows();
    for (HWND top : order) {
        const Window* window = FindWindowRecord(top);
        if (window == nullptr || (window->Style & WS_VISIBLE) == 0 ||
            !Contains(window->Rect, screen)) {
            continue;
        }
        if ((window->Style & WS_DISABLED) != 0) {
            return {top, HTERROR};
        }
        const HitResult hit = HitWithin(top, screen);
        if (hit.Window != nullptr) {
            return hit;
        }
    }
    return {};
}

} // namespace posix

HWND WINAPI WindowFromPoint(POINT point) {
    return posix::HitTest(point).Window;
}

// ---- Conversion of events into messages ----

namespace {

struct Routed {
    MSG Message{};
    LRESULT HitCode = HTCLIENT;
    bool NonClient = false;
    bool DoubleClick = false;
};

bool IsDoubleClick(const InputEvent& event, HWND target, bool nonClient) {
    if (lastClick.Window != target || lastClick.Button != event.Button ||
        lastClick.NonClient != nonClient || event.Time - lastClick.Time > DoubleClickTime) {
        return false;
    }
    const int width = GetSystemMetrics(SM_CXDOUBLECLK);
    const int height = GetSystemMetrics(SM_CYDOUBLECLK);
    if (std::abs(event.Point.x - lastClick.Point.x) > width / 2 ||
        std::abs(event.Point.y - lastClick.Point.y) > height / 2) {
        return false;
    }
    const posix::Window* window = FindWindowRecord(target);
    return nonClient || (window->Class && (window->Class->Style & CS_DBLCLKS) != 0);
}

bool RouteMouse(const InputEvent& event, Routed* routed) {
    HWND target = GetCapture();
    LRESULT code = HTCLIENT;
    if (target == nullptr) {
        const posix::HitResult hit = posix::HitTest(event.Point);
        target = hit.Window;
        code = hit.Code;
    }
    const posix::Window* window = FindWindowRecord(target);
    if (window == nullptr) {
        return false;
    }
    routed->HitCode = code;
    routed->NonClient = code != HTCLIENT && GetCapture() == nullptr;
    UINT message = routed->NonClient ? WM_NCMOUSEMOVE : WM_MOUSEMOVE;
    if (event.Kind == EventKind::Button) {
        const UINT offset = static_cast<UINT>(3 * ButtonIndex(event.Button));
        if (!event.Down) {
            message += 2 + offset;
        } else if (IsDoubleClick(event, target, routed->NonClient)) {
            message += 3 + offset;
            routed->DoubleClick = true;
        } else {
            message += 1 + offset;
        }
    }
    MSG& msg = routed->Message;
    msg.hwnd = target;
    msg.message = message;
    if (routed->NonClient) {
        msg.wParam = static_cast<WPARAM>(code);
        msg.lParam = PackPoint(event.Point.x, event.Point.y);
    } else {
        const POINT origin = posix::ClientOriginOnScreen(*window);
        msg.wParam = MouseKeyFlags(event);
        msg.lParam = PackPoint(event.Point.x - origin.x, event.Point.y - origin.y);
    }
    return true;
}

// Wheel and keys go to the focus window, or the active window when none has the focus.
HWND KeyboardTarget() {
    return GetFocus() != nullptr ? GetFocus() : GetActiveWindow();
}

bool RouteWheel(const InputEvent& event, Routed* routed) {
    const HWND target = KeyboardTarget();
    if (target == nullptr) {
        return false;
    }
    routed->Message = {target,
                       WM_MOUSEWHEEL,
                       MAKEWPARAM(static_cast<WORD>(MouseKeyFlags(event)),
                                  static_cast<WORD>(static_cast<SHORT>(event.WheelDelta))),
                       PackPoint(event.Point.x, event.Point.y),
                       0,
                       {}};
    return true;
}

bool RouteKey(const InputEvent& event, Routed* routed) {
    const HWND target = KeyboardTarget();
    if (target == nullptr) {
        return false;
    }
    BYTE keys[256];
    std::copy(std::begin(syncKeys), std::end(syncKeys), keys);
    ApplyToKeys(keys, event);
    const bool alt = IsDown(keys, VK_MENU);
    // Alt without Ctrl, F10, or keys while no window has the focus make system key messages.
    const bool system =
        (alt && !IsDown(keys, VK_CONTROL)) || event.VirtualKey == VK_F10 || GetFocus() == nullptr;
    UINT message = event.Down ? WM_KEYDOWN : WM_KEYUP;
    if (system) {
        message = event.Down ? WM_SYSKEYDOWN : WM_SYSKEYUP;
    }
    const bool wasDown = IsDown(syncKeys, event.VirtualKey);
    const DWORD scan = event.VirtualKey == VK_PACKET ? event.Character : 0;
    const DWORD flags = 1u | (scan << 16) | (alt ? 1u << 29 : 0u) | (wasDown ? 1u << 30 : 0u) |
                        (event.Down ? 0u : 1u << 31);
    routed->Message = {target,
                       message,
                       static_cast<WPARAM>(GenericKey(event.VirtualKey)),
                       static_cast<LPARAM>(flags),
                       0,
                       {}};
    return true;
}

bool Route(const InputEvent& event, Routed* routed) {
    switch (event.Kind) {
    case EventKind::Wheel:
        return RouteWheel(event, routed);
    case EventKind::Key:
        return RouteKey(event, routed);
    default:
        return RouteMouse(event, routed);
    }
}

void PostMouseLeave(HWND window, bool nonClient) {
    PostMessageA(window, nonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
}

// The side effects of taking a mouse message: leave tracking, activation by a click, the
// cursor. Answers false when the message must not be delivered.
bool AcceptMouse(const InputEvent& event, const Routed& routed) {
    const HWND target = routed.Message.hwnd;
    if (leaveTracked != nullptr &&
        (leaveTracked != target || leaveTrackedNonClient != routed.NonClient)) {
        PostMouseLeave(leaveTracked, leaveTrackedNonClient);
        leaveTracked = nullptr;
    }
    const WORD message = static_cast<WORD>(routed.Message.message);
    const WORD hitCode = static_cast<WORD>(routed.HitCode);
    if (GetCapture() == nullptr && routed.HitCode == HTERROR) {
        SendToWindow(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                     MAKELPARAM(hitCode, message));
        return false;
    }
    bool eaten = false;
    if (event.Kind == EventKind::Button && event.Down) {
        const HWND root = posix::RootOf(target);
        if (GetCapture() == nullptr && root != GetActiveWindow()) {
            const LRESULT answer =
                SendToWindow(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(root),
                             MAKELPARAM(hitCode, message));
            if (answer == MA_ACTIVATE || answer == MA_ACTIVATEANDEAT) {
                posix::ActivateWindow(root, WA_CLICKACTIVE);
            }
            eaten = answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT;
        }
        if (routed.DoubleClick) {
            lastClick = {};
        } else {
            lastClick = {target, event.Button, event.Time, event.Point, routed.NonClient};
        }
    }
    if (GetCapture() == nullptr && FindWindowRecord(target) != nullptr) {
        SendToWindow(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                     MAKELPARAM(hitCode, message));
    }
    return !eaten && FindWindowRecord(target) != nullptr;
}

} // namespace

// ---- Taking messages ----

namespace posix {

void QueueMouseMove(POINT screen) {
    cursor = {ClampCoordinate(screen.x), ClampCoordinate(screen.y)};
    screen = cursor;
    if (!events.empty() && events.back().Kind == EventKind::Move) {
        events.back().Point = screen;
        return;
    }
    Queue({EventKind::Move});
}

void QueueMouseButton(MouseKey button, bool down) {
    InputEvent event{EventKind::Button};
    event.Button = button;
    event.Down = down;
    Queue(event);
}

void QueueMouseWheel(int delta) {
    InputEvent event{EventKind::Wheel};
    event.WheelDelta = delta;
    Queue(event);
}

void QueueKey(int virtualKey, bool down, BYTE character) {
    if (virtualKey <= 0 || virtualKey > 0xFE) {
        return;
    }
    InputEvent event{EventKind::Key};
    event.VirtualKey = virtualKey;
    event.Down = down;
    event.Character = character;
    Queue(event);
}

bool HasInput() {
    return !events.empty();
}

bool TakeInputMessage(const MessageFilter& filter, bool remove, MSG* msg) {
    while (!events.empty()) {
        const InputEvent event = events.front();
        Routed routed;
        if (!Route(event, &routed)) {
            events.pop_front();
            ApplyToKeys(syncKeys, event);
            continue;
        }
        if (!filter.Matches(routed.Message.hwnd, routed.Message.message)) {
            return false;
        }
        routed.Message.time = static_cast<DWORD>(event.Time);
        routed.Message.pt = event.Point;
        if (!remove) {
            *msg = routed.Message;
            return true;
        }
        events.pop_front();
        ApplyToKeys(syncKeys, event);
        const bool mouse = event.Kind == EventKind::Move || event.Kind == EventKind::Button;
        if (mouse && !AcceptMouse(event, routed)) {
            continue;
        }
        *msg = routed.Message;
        return true;
    }
    return false;
}

void TrackMouseLeave(HWND window, bool nonClient) {
    leaveTracked = window;
    leaveTrackedNonClient = nonClient;
}

void CancelMouseLeave(HWND window) {
    if (leaveTracked == window) {
        leaveTracked = nullptr;
    }
}

HWND MouseLeaveTracked(bool* nonClient) {
    if (nonClient != nullptr) {
        *nonClient = leaveTrackedNonClient;
    }
    return leaveTracked;
}

void ForgetInputOf(HWND window) {
    if (lastClick.Window == window) {
        lastClick = {};
    }
    CancelMouseLeave(window);
}

void ResetInput() {
    events.clear();
    std::fill(std::begin(syncKeys), std::end(syncKeys), BYTE{0});
    std::fill(std::begin(asyncKeys), std::end(asyncKeys), BYTE{0});
    cursor = {};
    lastClick = {};
    leaveTracked = nullptr;
}

} // namespace posix

// ---- Keyboard layout ----

namespace {

struct KeyCharacters {
    int VirtualKey;
    char Plain;
    char Shifted;
};

// The US layout of the keys that type characters, besides letters.
constexpr KeyCharacters layout[] = {
    {'0', '0', ')'},           {'1', '1', '!'},          {'2', '2', '@'},
    {'3', '3', '#'},           {'4', '4', '$'},          {'5', '5', '%'},
    {'6', '6', '^'},           {'7', '7', '&'},          {'8', '8', '*'},
    {'9', '9', '('},           {VK_SPACE, ' ', ' '},     {VK_OEM_1, ';', ':'},
    {VK_OEM_PLUS, '=', '+'},   {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},     {VK_OEM_3, '`', '~'},
    {VK_OEM_4, '[', '{'},      {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},
    {VK_OEM_7, '\'', '"'},     {VK_RETURN, '\r', '\r'},  {VK_ESCAPE, '\x1B', '\x1B'},
    {VK_BACK, '\b', '\b'},     {VK_TAB, '\t', '\t'},
};

} // namespace

namespace posix {

int CharacterOfKey(int virtualKey, LPARAM lParam) {
    if (virtualKey == VK_PACKET) {
        return static_cast<int>((static_cast<ULONG_PTR>(lParam) >> 16) & 0xFF);
    }
    const bool shift = IsDown(syncKeys, VK_SHIFT);
    const bool control = IsDown(syncKeys, VK_CONTROL) && !IsDown(syncKeys, VK_MENU);
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        if (control) {
            return virtualKey - 'A' + 1;
        }
        const bool upper = shift != ((syncKeys[VK_CAPITAL] & KeyToggledBit) != 0);
        return upper ? virtualKey : virtualKey - 'A' + 'a';
    }
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) {
        return '0' + (virtualKey - VK_NUMPAD0);
    }
    for (const KeyCharacters& key : layout) {
        if (key.VirtualKey == virtualKey) {
            return static_cast<unsigned char>(shift ? key.Shifted : key.Plain);
        }
    }
    return 0;
}

bool KeyForCharacter(unsigned char character, int* virtualKey, bool* shift) {
    if (character >= 'a' && character <= 'z') {
        *virtualKey = character - 'a' + 'A';
        *shift = false;
        return true;
    }
    if (character >= 'A' && character <= 'Z') {
        *virtualKey = character;
        *shift = true;
        return true;
    }
    for (const KeyCharacters& key : layout) {
        if (static_cast<unsigned char>(key.Plain) == character) {
            *virtualKey = key.VirtualKey;
            *shift = false;
            return true;
        }
        if (static_cast<unsigned char>(key.Shifted) == character) {
            *virtualKey = key.VirtualKey;
            *shift = true;
            return true;
        }
    }
    return false;
}

} // namespace posix

// ---- Queries ----

SHORT WINAPI GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 0xFF) {
        return 0;
    }
    const BYTE state = syncKeys[virtualKey];
    return static_cast<SHORT>(((state & KeyDownBit) != 0 ? 0x8000 : 0) | (state & KeyToggledBit));
}

SHORT WINAPI GetAsyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 0xFF) {
        return 0;
    }
    return static_cast<SHORT>(IsDown(asyncKeys, virtualKey) ? 0x8000 : 0);
}

BOOL WINAPI GetCursorPos(LPPOINT point) {
    if (point == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *point = cursor;
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y) {
    const POINT point{std::clamp(x, 0, GetSystemMetrics(SM_CXSCREEN) - 1),
                      std::clamp(y, 0, GetSystemMetrics(SM_CYSCREEN) - 1)};
    posix::QueueMouseMove(point);
    return TRUE;
}

UINT WINAPI GetDoubleClickTime() {
    return DoubleClickTime;
}
