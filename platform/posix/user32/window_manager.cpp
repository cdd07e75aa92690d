// Windows: the handle table, creation and destruction, the tree of parents, owners and
// z-order.
//
// Index: coordinates; records; tree; styles; display; creation; destruction; relations.

#include "platform/posix/user32/window_manager.h"

#include "platform/posix/api/user32_system.h"
#include "platform/posix/display/display.h"
#include "platform/posix/kernel32/kernel_error.h"
#include "platform/posix/user32/focus.h"
#include "platform/posix/user32/input.h"
#include "platform/posix/user32/message_queue.h"
#include "platform/posix/user32/reset.h"
#include "platform/posix/user32/timers.h"
#include "platform/posix/user32/wakeup.h"
#include "platform/posix/user32/window_geometry.h"
#include "platform/posix/user32/window_surface.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <unordered_map>

namespace {

using posix::Window;

// Handles are never reused, so a stale handle never reaches another window.
std::uintptr_t nextHandle = 0x10010;
std::unordered_map<HWND, std::unique_ptr<Window>> windows;
std::vector<HWND> topLevel;
HWND desktop = nullptr;
int cascadeStep = 0;

HWND NewHandle() {
    nextHandle += 4;
    return reinterpret_cast<HWND>(nextHandle);
}

// The desktop covers the screen of the display in use, whichever that is now.
Window& Desktop() {
    if (desktop == nullptr) {
        auto record = std::make_unique<Window>();
        desktop = NewHandle();
        record->Handle = desktop;
        record->Style = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        record->Proc = DefWindowProcA;
        windows.emplace(desktop, std::move(record));
    }
    Window& window = *windows.at(desktop);
    window.Rect = {0, 0, posix::CurrentDisplay().ScreenWidth(),
                   posix::CurrentDisplay().ScreenHeight()};
    window.Client = window.Rect;
    return window;
}

} // namespace

namespace posix {

// ---- Coordinates ----

LONG ClampCoordinate(std::int64_t value) {
    return static_cast<LONG>(std::clamp<std::int64_t>(value, -CoordinateLimit, CoordinateLimit));
}

LONG ClampSize(std::int64_t value) {
    return static_cast<LONG>(std::clamp<std::int64_t>(value, 0, CoordinateLimit));
}

RECT ClampRect(const RECT& rect) {
    return {ClampCoordinate(rect.left), ClampCoordinate(rect.top), ClampCoordinate(rect.right),
            ClampCoordinate(rect.bottom)};
}

LONG ClampToLong(std::int64_t value) {
    return static_cast<LONG>(std::clamp<std::int64_t>(value, std::numeric_limits<LONG>::min(),
                                                      std::numeric_limits<LONG>::max()));
}

// ---- Records ----

Window* FindWindowRecord(HWND handle) {
    if (handle == nullptr) {
        return nullptr;
    }
    if (handle == desktop || desktop == nullptr) {
        Desktop();
    }
    const auto found = windows.find(handle);
    return found == windows.end() ? nullptr : found->second.get();
}

Window* CheckedWindow(HWND handle) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    }
    return window;
}

Window& DesktopWindow() {
    return Desktop();
}

std::vector<HWND>& TopLevelWindows() {
    return topLevel;
}

std::vector<HWND>& SiblingsOf(const Window& window) {
    if (window.Parent == nullptr) {
        return topLevel;
    }
    return FindWindowRecord(window.Parent)->Children;
}

// ---- Tree ----

bool IsTopLevel(const Window& window) {
    return window.Parent == nullptr && window.Handle != desktop;
}

bool IsDescendantOf(HWND window, HWND ancestor) {
    const Window* record = FindWindowRecord(window);
    while (record != nullptr && record->Parent != nullptr) {
        if (record->Parent == ancestor) {
            return true;
        }
        record = FindWindowRecord(record->Parent);
    }
    return false;
}

bool IsSameOrDescendant(HWND window, HWND ancestor) {
    return window != nullptr && (window == ancestor || IsDescendantOf(window, ancestor));
}

HWND RootOf(HWND window) {
    const Window* record = FindWindowRecord(window);
    while (record != nullptr && record->Parent != nullptr) {
        record = FindWindowRecord(record->Parent);
    }
    return record == nullptr ? nullptr : record->Handle;
}

bool IsReallyVisible(HWND window) {
    for (const Window* record = FindWindowRecord(window); record != nullptr;
         record = FindWindowRecord(record->Parent)) {
        if ((record->Style & WS_VISIBLE) == 0) {
            return false;
        }
    }
    return window != nullptr && FindWindowRecord(window) != nullptr;
}

std::vector<HWND> SubtreeOf(HWND window) {
    std::vector<HWND> result{window};
    for (std::size_t next = 0; next < result.size(); ++next) {
        const Window* record = FindWindowRecord(result[next]);
        if (record != nullptr) {
            result.insert(result.end(), record->Children.begin(), record->Children.end());
        }
    }
    return result;
}

// ---- Styles ----

DWORD KeptExStyle(DWORD style, DWORD exStyle) {
    const bool edged =
        (exStyle & WS_EX_DLGMODALFRAME) != 0 || (style & (WS_DLGFRAME | WS_THICKFRAME)) != 0;
    return edged ? (exStyle | WS_EX_WINDOWEDGE) : (exStyle & ~WS_EX_WINDOWEDGE);
}

// ---- Display ----

void TellDisplay(HWND handle) {
    const Window* window = FindWindowRecord(handle);
    if (window == nullptr || !IsTopLevel(*window)) {
        return;
    }
    TopLevelState state;
    state.Window = handle;
    state.Rect = window->Rect;
    state.Client = window->Client;
    state.Visible = (window->Style & WS_VISIBLE) != 0;
    state.Minimized = (window->Style & WS_MINIMIZE) != 0;
    state.Maximized = (window->Style & WS_MAXIMIZE) != 0;
    state.Title = window->Text;
    state.Style = window->Style;
    state.ExStyle = window->ExStyle;
    state.Alpha = window->Layered && (window->LayeredFlags & LWA_ALPHA) != 0 ? window->LayeredAlpha
                                                                             : BYTE{255};
    CurrentDisplay().TopLevelChanged(state);
}

} // namespace posix

// ---- Creation ----

namespace {

struct Placement {
    int X;
    int Y;
    int Width;
    int Height;
};

// An overlapped window given CW_USEDEFAULT is placed on a cascade and sized to three quarters
// of the screen; a popup or child window gets 0, 0 and a zero size. A default width stands
// for both sizes, so the height given with it is ignored.
Placement DefaultPlacement(bool overlapped, int x, int y, int width, int height) {
    if (overlapped) {
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        if (x == CW_USEDEFAULT || y == CW_USEDEFAULT) {
            const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME);
            const int offset = step * (cascadeStep % 8);
            cascadeStep++;
            if (x == CW_USEDEFAULT) {
                x = step + offset;
            }
            if (y == CW_USEDEFAULT) {
                y = step + offset;
            }
        }
        if (width == CW_USEDEFAULT) {
            width = screenWidth * 3 / 4;
            height = screenHeight * 3 / 4;
        }
        if (height == CW_USEDEFAULT) {
            height = screenHeight * 3 / 4;
        }
    } else {
        if (x == CW_USEDEFAULT) {
            x = 0;
            y = 0;
        }
        if (y == CW_USEDEFAULT) {
            y = 0;
        }
        if (width == CW_USEDEFAULT) {
            width = 0;
            height = 0;
        }
        if (height == CW_USEDEFAULT) {
            height = 0;
        }
    }
    return {posix::ClampCoordinate(x), posix::ClampCoordinate(y), posix::ClampSize(width),
            posix::ClampSize(height)};
}

// Every top-level window clips its siblings, whatever it asked for; an overlapped one always
// has a caption.
DWORD KeptStyle(DWORD style) {
    DWORD kept = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    if ((style & WS_CHILD) == 0) {
        kept |= WS_CLIPSIBLINGS;
        if ((style & WS_POPUP) == 0) {
            kept |= WS_CAPTION;
        }
    }
    return kept;
}

void LinkIntoTree(Window& window) {
    if (window.Parent != nullptr) {
        // A new child goes to the bottom of its siblings, so creation order is z-order.
        posix::FindWindowRecord(window.Parent)->Children.push_back(window.Handle);
        return;
    }
    auto position = topLevel.begin();
    if ((window.ExStyle & WS_EX_TOPMOST) == 0) {
        position = std::find_if(topLevel.begin(), topLevel.end(), [](HWND other) {
            return (posix::FindWindowRecord(other)->ExStyle & WS_EX_TOPMOST) == 0;
        });
    }
    topLevel.insert(position, window.Handle);
}

void NotifyParents(HWND handle, UINT event) {
    const Window* window = posix::FindWindowRecord(handle);
    while (window != nullptr && window->Parent != nullptr &&
           (window->ExStyle & WS_EX_NOPARENTNOTIFY) == 0) {
        const HWND parent = window->Parent;
        posix::SendToWindow(parent, WM_PARENTNOTIFY,
                            MAKEWPARAM(static_cast<WORD>(event), static_cast<WORD>(window->Id)),
                            reinterpret_cast<LPARAM>(handle));
        window = posix::FindWindowRecord(parent);
    }
}

void FreeWindow(HWND handle);

// Says once on standard error why no window can be made, as X programs do when they find no
// display; the program learns it from CreateWindowExA's failure.
void TellDisplayMissing(const std::string& reason) {
    static bool told = false;
    if (!told) {
        told = true;
        std::fprintf(stderr, "Cannot open the display: %s\n", reason.c_str());
    }
}

} // namespace

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    std::shared_ptr<posix::WindowClass> windowClass = posix::FindClass(className);
    if (!windowClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    const bool child = (style & WS_CHILD) != 0;
    if (parent == desktop) {
        parent = nullptr;
    }
    if (parent != nullptr && posix::CheckedWindow(parent) == nullptr) {
        return nullptr;
    }
    if (child && parent == nullptr) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    if (std::string reason; posix::DisplayMissing(&reason)) {
        TellDisplayMissing(reason);
        SetLastError(ERROR_REQUIRES_INTERACTIVE_WINDOWSTATION);
        return nullptr;
    }
    posix::InstallEndSessionHandlers();

    auto record = std::make_unique<Window>();
    Window& window = *record;
    const HWND handle = NewHandle();
    window.Handle = handle;
    window.Class = windowClass;
    window.Proc = windowClass->Proc;
    window.Style = KeptStyle(style);
    window.ExStyle = posix::KeptExStyle(window.Style, exStyle);
    window.Parent = child ? parent : nullptr;
    window.Owner = child ? nullptr : posix::RootOf(parent);
    window.Id = child ? reinterpret_cast<UINT_PTR>(menu) : 0;
    window.Instance = instance;
    window.Extra.assign(static_cast<std::size_t>(std::max(windowClass->WindowExtra, 0)), 0);
    const bool overlapped = !child && (style & WS_POPUP) == 0;
    const Placement place = DefaultPlacement(overlapped, x, y, width, height);
    window.Rect = {place.X, place.Y, place.X + place.Width, place.Y + place.Height};
    window.Client = window.Rect;
    window.NormalRect = window.Rect;
    windows.emplace(handle, std::move(record));
    windowClass->Windows++;
    LinkIntoTree(window);

    CREATESTRUCTA create{param,      instance,     menu,
                         parent,     place.Height, place.Width,
                         place.Y,    place.X,      static_cast<LONG>(style),
                         windowName, className,    exStyle};

    // Windows that can be sized by the user learn their limits first.
    if (overlapped || (style & WS_THICKFRAME) != 0) {
        const MINMAXINFO limits = posix::MinMaxInfoOf(handle);
        Window* current = posix::FindWindowRecord(handle);
        if (current == nullptr) {
            return nullptr;
        }
        const LONG clampedWidth =
            std::clamp(place.Width, static_cast<int>(limits.ptMinTrackSize.x),
                       std::max(limits.ptMinTrackSize.x, limits.ptMaxTrackSize.x));
        const LONG clampedHeight =
            std::clamp(place.Height, static_cast<int>(limits.ptMinTrackSize.y),
                       std::max(limits.ptMinTrackSize.y, limits.ptMaxTrackSize.y));
        current->Rect.right = current->Rect.left + posix::ClampSize(clampedWidth);
        current->Rect.bottom = current->Rect.top + posix::ClampSize(clampedHeight);
        current->Client = current->Rect;
        current->NormalRect = current->Rect;
        create.cx = clampedWidth;
        create.cy = clampedHeight;
    }

    if (posix::SendToWindow(handle, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create)) == 0) {
        FreeWindow(handle);
        return nullptr;
    }
    Window* current = posix::FindWindowRecord(handle);
    if (current == nullptr) {
        return nullptr;
    }
    RECT client = current->Rect;
    posix::SendToWindow(handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&client));
    current = posix::FindWindowRecord(handle);
    if (current == nullptr) {
        return nullptr;
    }
    current->Client = posix::ClampRect(client);

    if (posix::SendToWindow(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    current = posix::FindWindowRecord(handle);
    if (current == nullptr) {
        return nullptr;
    }
    if (overlapped) {
        current->NeedSizeMessages = true;
    } else {
        posix::SendSizeAndMove(handle);
    }
    if (child) {
        NotifyParents(handle, WM_CREATE);
    }
    if (posix::FindWindowRecord(handle) == nullptr) {
        return nullptr;
    }
    posix::TellDisplay(handle);
    if ((style & WS_VISIBLE) != 0) {
        int command = SW_SHOW;
        if ((style & WS_MAXIMIZE) != 0) {
            command = SW_SHOWMAXIMIZED;
        } else if ((style & WS_MINIMIZE) != 0) {
            command = SW_SHOWMINIMIZED;
        }
        ShowWindow(handle, command);
    }
    return posix::FindWindowRecord(handle) == nullptr ? nullptr : handle;
}

// ---- Destruction ----

namespace {

void SendDestroyDownwards(HWND handle) {
    posix::SendToWindow(handle, WM_DESTROY, 0, 0);
    const Window* window = posix::FindWindowRecord(handle);
    if (window == nullptr) {
        return;
    }
    const std::vector<HWND> children = window->Children;
    for (HWND child : children) {
        Window* record = posix::FindWindowRecord(child);
        if (record != nullptr) {
            record->Destroying = true;
            SendDestroyDownwards(child);
        }
    }
}

void Unlink(const Window& window) {
    std::vector<HWND>& siblings = posix::SiblingsOf(window);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), window.Handle), siblings.end());
}

// WM_NCDESTROY reaches the deepest windows first; each record goes right after its message,
// so properties can still be read and removed while it is handled.
void FreeWindow(HWND handle) {
    for (;;) {
        Window* window = posix::FindWindowRecord(handle);
        if (window == nullptr) {
            return;
        }
        if (window->Children.empty()) {
            break;
        }
        const HWND child = window->Children.front();
        posix::FindWindowRecord(child)->Destroying = true;
        FreeWindow(child);
    }
    posix::FindWindowRecord(handle)->Destroying = true;
    posix::SendToWindow(handle, WM_NCDESTROY, 0, 0);
    Window* window = posix::FindWindowRecord(handle);
    if (window == nullptr) {
        return;
    }
    posix::ForgetFocusOf(handle);
    posix::ForgetInputOf(handle);
    posix::KillTimersOf(handle);
    posix::ForgetMessagesOf(handle);
    for (HWND other : topLevel) {
        Window* owned = posix::FindWindowRecord(other);
        if (owned->Owner == handle) {
            owned->Owner = nullptr;
        }
    }
    const bool wasTopLevel = posix::IsTopLevel(*window);
    Unlink(*window);
    window->Class->Windows--;
    windows.erase(handle);
    if (wasTopLevel) {
        posix::ForgetSurfaceOf(handle);
        posix::CurrentDisplay().TopLevelDestroyed(handle);
    }
}

} // namespace

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (handle == desktop) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (window->Destroying) {
        return TRUE;
    }
    window->Destroying = true;
    const bool child = !posix::IsTopLevel(*window);
    if (child) {
        NotifyParents(handle, WM_DESTROY);
    }
    window = posix::FindWindowRecord(handle);
    if (window != nullptr && (window->Style & WS_VISIBLE) != 0) {
        if (child) {
            ShowWindow(handle, SW_HIDE);
        } else {
            SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
        }
    }
    if (posix::FindWindowRecord(handle) == nullptr) {
        return TRUE;
    }
    posix::MoveFocusOutOf(handle);
    posix::ActivateAnotherWindow(handle);

    // Owned windows go before their owner.
    const std::vector<HWND> snapshot = topLevel;
    for (HWND other : snapshot) {
        const Window* owned = posix::FindWindowRecord(other);
        if (owned != nullptr && owned->Owner == handle) {
            DestroyWindow(other);
        }
    }
    if (posix::IsSameOrDescendant(GetCapture(), handle)) {
        ReleaseCapture();
    }
    if (posix::FindWindowRecord(handle) == nullptr) {
        return TRUE;
    }
    SendDestroyDownwards(handle);
    FreeWindow(handle);
    return TRUE;
}

void posix::DestroyAllWindows() {
    while (!topLevel.empty()) {
        const HWND handle = topLevel.back();
        DestroyWindow(handle);
        if (!topLevel.empty() && topLevel.back() == handle) {
            FreeWindow(handle); // destroyed while already being destroyed: finish it
        }
    }
    cascadeStep = 0;
}

void posix::ResetWindowManager() {
    DestroyAllWindows();
    UnregisterApplicationClasses();
    ResetMessageQueue();
    ResetTimers();
    ResetFocus();
    ResetInput();
}

// ---- Relations ----

BOOL WINAPI IsWindow(HWND handle) {
    return posix::FindWindowRecord(handle) != nullptr ? TRUE : FALSE;
}

HWND WINAPI GetDesktopWindow() {
    return Desktop().Handle;
}

HWND WINAPI GetParent(HWND handle) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return nullptr;
    }
    if (window->Parent != nullptr) {
        return window->Parent;
    }
    // Only popups answer their owner.
    return (window->Style & WS_POPUP) != 0 ? window->Owner : nullptr;
}

HWND WINAPI GetAncestor(HWND handle, UINT kind) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr || handle == desktop) {
        return nullptr;
    }
    switch (kind) {
    case GA_PARENT:
        return window->Parent != nullptr ? window->Parent : desktop;
    case GA_ROOT:
        return posix::RootOf(handle);
    case GA_ROOTOWNER: {
        HWND root = posix::RootOf(handle);
        for (const Window* top = posix::FindWindowRecord(root);
             top != nullptr && top->Owner != nullptr; top = posix::FindWindowRecord(root)) {
            root = top->Owner;
        }
        return root;
    }
    default:
        return nullptr;
    }
}

HWND WINAPI GetWindow(HWND handle, UINT relation) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return nullptr;
    }
    if (relation == GW_CHILD) {
        const std::vector<HWND>& children = handle == desktop ? topLevel : window->Children;
        return children.empty() ? nullptr : children.front();
    }
    if (relation == GW_OWNER) {
        return window->Owner;
    }
    if (handle == desktop) {
        return nullptr;
    }
    const std::vector<HWND>& siblings = posix::SiblingsOf(*window);
    const auto at = std::find(siblings.begin(), siblings.end(), handle);
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings.front();
    case GW_HWNDLAST:
        return siblings.back();
    case GW_HWNDNEXT:
        return at + 1 == siblings.end() ? nullptr : *(at + 1);
    case GW_HWNDPREV:
        return at == siblings.begin() ? nullptr : *(at - 1);
    default:
        return nullptr;
    }
}

BOOL WINAPI IsChild(HWND parent, HWND handle) {
    return posix::IsDescendantOf(handle, parent) ? TRUE : FALSE;
}

BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC enumProc, LPARAM lParam) {
    if (enumProc == nullptr) {
        return FALSE;
    }
    std::vector<HWND> all;
    if (parent == nullptr || parent == desktop) {
        for (HWND top : topLevel) {
            const std::vector<HWND> tree = posix::SubtreeOf(top);
            all.insert(all.end(), tree.begin(), tree.end());
        }
    } else {
        if (posix::CheckedWindow(parent) == nullptr) {
            return FALSE;
        }
        all = posix::SubtreeOf(parent);
        all.erase(all.begin());
    }
    for (HWND window : all) {
        if (posix::FindWindowRecord(window) != nullptr && enumProc(window, lParam) == FALSE) {
            break;
        }
    }
    return TRUE;
}
