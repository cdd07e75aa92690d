#pragma once

// The display backend: where top-level windows appear and where native input comes from. The
// headless backend shows nothing and delivers no input of its own (tests feed input through
// the test driver); a windowing backend shows a native window per visible top-level window and
// turns native events into the layer's input queue (input.h). What the user does to a native
// window comes back through the Win32 functions (SetWindowPos for a move or a resize,
// PostMessageA of WM_SYSCOMMAND for closing or minimising); the TopLevelChanged that follows
// then describes the state the backend itself asked for.

#include "platform/win32.h"

#include <memory>
#include <string>

namespace posix {

// What a backend needs to know of a top-level window.
struct TopLevelState {
    HWND Window = nullptr;
    RECT Rect{};   // screen coordinates
    RECT Client{}; // screen coordinates
    bool Visible = false;
    bool Minimized = false;
    bool Maximized = false;
    std::string Title;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    BYTE Alpha = 255;
};

class Display {
public:
    virtual ~Display() = default;

    virtual int ScreenWidth() const = 0;
    virtual int ScreenHeight() const = 0;

    // A top-level window was created or changed (shown, hidden, moved, sized, restyled,
    // retitled, made translucent), or destroyed.
    virtual void TopLevelChanged(const TopLevelState& state) = 0;
    virtual void TopLevelDestroyed(HWND window) = 0;
    // Drawing may have changed 'area' (surface coordinates) of the window's surface
    // (SurfaceOf in window_surface.h): it should be presented again.
    virtual void SurfaceChanged(HWND, const RECT&) {}

    // Blocks until wakeFd is readable, native events wait, or timeoutMs passed (-1: no
    // limit).
    virtual void Wait(int wakeFd, int timeoutMs) = 0;

    // Turns waiting native events into input of the layer. Never blocks.
    virtual void DispatchNativeEvents() = 0;
};

// The backend in use; the headless one until another is chosen.
Display& CurrentDisplay();
void UseDisplay(std::unique_ptr<Display> display);

std::unique_ptr<Display> MakeHeadlessDisplay();

// The native display through SDL; nothing, with the reason in error, when no display can be
// opened.
std::unique_ptr<Display> MakeSdlDisplay(std::string* error);

// Switches to the native display for a program's start-up. When no display can be opened it
// says so on standard error and answers false; the program then ends with a failure code.
bool UseNativeDisplay();

} // namespace posix
