#pragma once

// The window manager's records: window classes and windows, and the tree they form. Only the
// layer's own modules use this header.
//
// Every record is found again by its handle after anything that may run a window procedure,
// because a procedure may destroy any window, its own included.

#include "platform/posix/gdi32/Region.h"
#include "platform/win32.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace posix {

struct WindowClass {
    std::string Name;
    ATOM Atom = 0;
    UINT Style = 0;
    WNDPROC Proc = nullptr;
    int ClassExtra = 0;
    int WindowExtra = 0;
    HINSTANCE Instance = nullptr;
    HICON Icon = nullptr;
    HCURSOR Cursor = nullptr;
    HBRUSH Background = nullptr;
    LPCSTR MenuName = nullptr; // kept as given: a resource number or a caller's string
    bool System = false;       // a class of the layer itself, never unregistered
    int Windows = 0;           // windows of this class that exist
};

struct WindowProperty {
    std::string Name;
    HANDLE Data;
};

struct Window {
    HWND Handle = nullptr;
    std::shared_ptr<WindowClass> Class;
    WNDPROC Proc = nullptr;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    std::string Text;
    HWND Parent = nullptr;      // null for top-level windows
    HWND Owner = nullptr;       // top-level windows only
    std::vector<HWND> Children; // top of the z-order first
    UINT_PTR Id = 0;
    HINSTANCE Instance = nullptr;
    LONG_PTR UserData = 0;
    std::vector<unsigned char> Extra; // cbWndExtra bytes
    RECT Rect{};       // window rectangle, in the parent's client coordinates (screen at top)
    RECT Client{};     // client rectangle, in the same coordinates as Rect
    RECT NormalRect{}; // where a minimised or maximised window returns when restored
    bool RestoreMaximized = false; // a minimised window was maximised before
    std::vector<WindowProperty> Properties;
    bool Destroying = false;
    bool NeedSizeMessages = false; // WM_SIZE and WM_MOVE are still owed (hidden at creation)
    bool HiddenByOwner = false;    // hidden because its owner was minimised
    gdi::Region Update;            // what needs painting, in client coordinates
    bool UpdateErase = false;      // the background must be erased before painting
    bool Layered = false;          // SetLayeredWindowAttributes was called
    COLORREF LayeredKey = 0;
    BYTE LayeredAlpha = 255;
    DWORD LayeredFlags = 0;
    HICON BigIcon = nullptr;
    HICON SmallIcon = nullptr;
};

// ---- Coordinates ----

// Positions and sizes the window manager keeps lie within this distance of 0: far beyond any
// screen, and small enough that sums of a few of them never overflow.
inline constexpr LONG CoordinateLimit = 1 << 27;
LONG ClampCoordinate(std::int64_t value);
LONG ClampSize(std::int64_t value);
RECT ClampRect(const RECT& rect);
// A result brought back into the range of LONG.
LONG ClampToLong(std::int64_t value);

// ---- Records ----

// The window of a handle, or null (without an error).
Window* FindWindowRecord(HWND handle);
// The same, setting ERROR_INVALID_WINDOW_HANDLE when there is none.
Window* CheckedWindow(HWND handle);
Window& DesktopWindow();
// Top-level windows, top of the z-order first.
std::vector<HWND>& TopLevelWindows();
// The siblings list a window belongs to (its parent's children, or the top-level list).
std::vector<HWND>& SiblingsOf(const Window& window);

// ---- Tree ----

bool IsTopLevel(const Window& window);
// True when window lies below ancestor (not when they are the same).
bool IsDescendantOf(HWND window, HWND ancestor);
bool IsSameOrDescendant(HWND window, HWND ancestor);
// The top-level window that contains window (window itself at the top).
HWND RootOf(HWND window);
// Visible with every ancestor visible.
bool IsReallyVisible(HWND window);
// The window and its descendants, parents before children.
std::vector<HWND> SubtreeOf(HWND window);

// ---- Geometry ----

RECT ScreenRectOf(const Window& window);
POINT ClientOriginOnScreen(const Window& window);
// The client rectangle of a window rectangle, from the frame its styles give it.
RECT ClientRectFor(const RECT& windowRect, DWORD style, DWORD exStyle);

// ---- Styles ----

// WS_EX_WINDOWEDGE as the system keeps it: present exactly with a caption, a dialog frame, a
// sizing frame or WS_EX_DLGMODALFRAME.
DWORD KeptExStyle(DWORD style, DWORD exStyle);

// ---- Classes ----

void EnsureSystemClasses();
// A class by name (case-insensitive) or atom; application classes hide system classes.
std::shared_ptr<WindowClass> FindClass(LPCSTR nameOrAtom);
void RegisterSystemClass(const WNDCLASSA& wndClass);
void UnregisterApplicationClasses();

// ---- Layer state ----

void DestroyAllWindows();
// The display backend is told what a top-level window now looks like.
void TellDisplay(HWND window);

} // namespace posix
