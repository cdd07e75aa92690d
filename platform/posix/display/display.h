#pragma once

// The display backend: where top-level windows appear and where native input comes from. The
// headless backend shows nothing and delivers no input of its own (tests feed input through
// the test driver); a windowing backend shows a native window per visible top-level window and
// turns native events into the layer's input queue (raw_input.h). What the user does to a native
// window comes back through the Win32 functions (SetWindowPos for a move or a resize,
// PostMessageA of WM_SYSCOMMAND for closing or minimising); the TopLevelChanged that follows
// then describes the state the backend itself asked for.

#include "platform/win32.h"

#include <memory>
#include <string>

namespace posix {

// The largest Scale a backend shows windows at.
constexpr int kLargestScale = 4;

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
    // How many native pixels across show one pixel of a window's surface. Above 1, surfaces
    // keep a detailed picture of that fineness (Surface.h) for the backend to show.
    virtual int Scale() const { return 1; }

    // A top-level window was created or changed (shown, hidden, moved, sized, restyled,
    // retitled, made translucent), or destroyed.
    virtual void TopLevelChanged(const TopLevelState& state) = 0;
    virtual void TopLevelDestroyed(HWND window) = 0;
    // Drawing may have changed 'area' (surface coordinates) of the window's surface
    // (SurfaceOf in window_pixels.h): it should be presented again. Only noted here; the
    // changes reach the screen at the next Present.
    virtual void SurfaceChanged(HWND, const RECT&) {}
    // Shows what changed since the last presentation. Cheap when nothing did.
    virtual void Present() {}

    // Blocks until wakeFd is readable, native events wait, or timeoutMs passed (-1: no
    // limit).
    virtual void Wait(int wakeFd, int timeoutMs) = 0;

    // Turns waiting native events into input of the layer. Never blocks.
    virtual void DispatchNativeEvents() = 0;
};

// The backend in use. None is chosen at the start: the first need (the first window made, the
// first wait for messages, the screen's size) chooses the native display when one can be
// opened; otherwise a stand-in that shows nothing, on which no window can be made
// (DisplayMissing). The test driver chooses the headless display instead.
Display& CurrentDisplay();
// The backend in use, or null while none is chosen (nothing can have been shown then).
Display* ChosenDisplay();
// Chooses the backend; null forgets the choice, so that the next need chooses again.
void UseDisplay(std::unique_ptr<Display> display);
// True when the backend in use (chosen now if none is) is the stand-in for a display that
// could not be opened; the reason is then in *reason.
bool DisplayMissing(std::string* reason = nullptr);

// Shows what was painted now.
void PresentPainting();

std::unique_ptr<Display> MakeHeadlessDisplay();

// The native display through SDL; nothing, with the reason in error, when no display can be
// opened.
std::unique_ptr<Display> MakeSdlDisplay(std::string* error);

} // namespace posix
