// The native display: one SDL window per visible top-level window, drawn through SDL's
// software window surface (never a GL-backed one: without a GPU that would load a software GL
// renderer at a large cost in memory and start-up time), and native events turned into the
// layer's input queue.

#include "platform/posix/display/display.h"

#include "platform/posix/display/sdl_drop.h"
#include "platform/posix/display/sdl_keys.h"
#include "platform/posix/display/sdl_present.h"
#include "platform/posix/display/sdl_scale.h"
#include "platform/posix/gdi32/Surface.h"
#include "platform/posix/gdi32/TextDecoding.h"
#include "platform/posix/user32/icons.h"
#include "platform/posix/user32/raw_input.h"
#include "platform/posix/user32/wakeup.h"
#include "platform/posix/user32/window_pixels.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <map>
#include <vector>

namespace posix {

namespace {

int Width(const RECT& rect) {
    return rect.right - rect.left;
}
int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

bool Shown(const TopLevelState& state) {
    return state.Visible && Width(state.Client) > 0 && Height(state.Client) > 0;
}

// What the window manager offers for a window: moving and closing always, sizing and
// maximising with a sizing frame, minimising with a minimise box.
void SetWindowFunctions(SDL_Window* window, DWORD style) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return;
    }
    constexpr long kFunctionsAndDecorations = 1 | 2;
    constexpr long kResize = 2, kMove = 4, kMinimize = 8, kMaximize = 16, kClose = 32;
    long functions = kMove | kClose;
    if ((style & WS_THICKFRAME) != 0) {
        functions |= kResize;
    }
    if ((style & WS_MINIMIZEBOX) != 0) {
        functions |= kMinimize;
    }
    if ((style & WS_MAXIMIZEBOX) != 0 && (style & WS_THICKFRAME) != 0) {
        functions |= kMaximize;
    }
    long hints[5] = {kFunctionsAndDecorations, functions, 1, 0, 0};
    ::Display* x = info.info.x11.display;
    const Atom property = XInternAtom(x, "_MOTIF_WM_HINTS", False);
    XChangeProperty(x, info.info.x11.window, property, property, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(hints), 5);
}

HICON IconOf(HWND window) {
    auto icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    if (icon == nullptr) {
        icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICON));
    }
    return icon;
}

// Shows the icon's picture as the native window's icon; stock pictures (no pixels of their
// own) leave the native icon as it is.
void SetIcon(SDL_Window* native, HICON icon) {
    const std::optional<IconPicture> picture = PictureOfIcon(icon);
    if (!picture || picture->Pixels.empty()) {
        return;
    }
    std::vector<std::uint32_t> pixels = picture->Pixels;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), picture->Width, picture->Height, 32,
                                           picture->Width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface != nullptr) {
        SDL_SetWindowIcon(native, surface);
        SDL_FreeSurface(surface);
    }
}

// The X connection SDL opened, found through one of its windows.
::Display* XConnectionOf(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return nullptr;
    }
    return info.info.x11.display;
}

// Set once Xlib found the X connection broken in the middle of a call (the server went away
// while the program was busy rather than waiting in poll). Xlib then ends the process with
// exit(), which runs the display's destructor; that must not touch the connection again, or
// Xlib waits forever, spinning, for an event the dead server will never send.
std::atomic<bool> connectionBroken{false};
XIOErrorHandler xlibIoErrorHandler = nullptr; // the one in place before ours

int OnConnectionBroken(::Display* x) {
    connectionBroken = true;
    // Xlib's own handler reports the loss and ends the process; were it to return, Xlib
    // would end the process itself.
    return xlibIoErrorHandler != nullptr ? xlibIoErrorHandler(x) : 0;
}

class SdlDisplay final : public Display {
public:
    // 'width' and 'height' are the native screen's; the layer sees them divided by the scale.
    SdlDisplay(int width, int height, int scale)
        : width_(width / scale), height_(height / scale), scale_(scale) {}
    ~SdlDisplay() override {
        if (Lost()) {
            return;
        }
        for (auto& [window, native] : natives_) {
            SDL_DestroyWindow(native.Window);
        }
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    int ScreenWidth() const override { return width_; }
    int ScreenHeight() const override { return height_; }
    int Scale() const override { return scale_; }

    void TopLevelChanged(const TopLevelState& state) override {
        if (Lost()) {
            return;
        }
        auto found = natives_.find(state.Window);
        if (found != natives_.end() && state.Visible && state.Minimized) {
            Minimize(found->second, state);
            return;
        }
        if (!Shown(state)) {
            if (found != natives_.end()) {
                SDL_HideWindow(found->second.Window);
                found->second.State = state;
            }
            return;
        }
        if (found == natives_.end()) {
            Create(state);
            return;
        }
        Update(found->second, state);
    }

    void TopLevelDestroyed(HWND window) override {
        const auto found = natives_.find(window);
        if (found != natives_.end() && !Lost()) {
            SDL_DestroyWindow(found->second.Window);
            natives_.erase(found);
        }
    }

    // Waits in poll on the X connection and the wake-up descriptor together: no thread, no
    // timer tick and no busy loop, so an idle program sleeps until something happens. Events
    // Xlib has already read into its own queue are taken first, since they would not make the
    // descriptor readable again.
    void Wait(int wakeFd, int timeoutMs) override {
        if (Lost()) {
            pollfd wake{wakeFd, POLLIN, 0};
            poll(&wake, 1, timeoutMs);
            return;
        }
        Present();
        SDL_PumpEvents();
        if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE) {
            return;
        }
        // Before the first native window there are no native events to wait for.
        pollfd fds[2] = {{wakeFd, POLLIN, 0}, {-1, POLLIN, 0}};
        if (x_ != nullptr) {
            XFlush(x_);
            fds[1].fd = ConnectionNumber(x_);
        }
        poll(fds, 2, timeoutMs);
        if ((fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            LoseDisplay();
        }
    }

    void SurfaceChanged(HWND window, const RECT& area) override {
        const auto found = natives_.find(window);
        if (found == natives_.end()) {
            return;
        }
        std::vector<SDL_Rect>& changed = found->second.Changed;
        changed.push_back(
            SDL_Rect{area.left, area.top, area.right - area.left, area.bottom - area.top});
        // A program that draws often between presentations gathers one area that holds all.
        if (changed.size() > kMostChangedAreas) {
            SDL_Rect all = changed.front();
            for (const SDL_Rect& each : changed) {
                SDL_UnionRect(&all, &each, &all);
            }
            changed.assign(1, all);
        }
    }

    // Shows what was painted since the last presentation, only where the pixels changed (a
    // label repainted with the same text changes nothing), or all of it after an exposure.
    // The layer calls it at the end of painting (EndPaint with nothing left to paint,
    // UpdateWindow), when PeekMessageA finds nothing and before waiting; in between the changed
    // areas only gather, so a batch of painting costs one round of presenting.
    void Present() override {
        if (Lost()) {
            return;
        }
        for (auto& [window, native] : natives_) {
            if (native.Changed.empty()) {
                continue;
            }
            const gdi::Surface* pixels = SurfaceOf(window);
            SDL_Surface* target = SDL_GetWindowSurface(native.Window);
            std::vector<SDL_Rect> shown;
            for (const SDL_Rect& area : native.Changed) {
                if (pixels != nullptr && target != nullptr &&
                    (CopyChangedPixels(*pixels, *target, area, scale_) || native.Exposed)) {
                    shown.push_back(ScaledArea(area, scale_));
                }
            }
            if (!shown.empty()) {
                SDL_UpdateWindowSurfaceRects(native.Window, shown.data(),
                                             static_cast<int>(shown.size()));
            }
            native.Changed.clear();
            native.Exposed = false;
        }
    }

    void DispatchNativeEvents() override {
        if (Lost()) {
            return;
        }
        SDL_Event event;
        while (SDL_PollEvent(&event) == 1) {
            Dispatch(event);
        }
    }

private:
    static constexpr std::size_t kMostChangedAreas = 64;

    struct Native {
        SDL_Window* Window = nullptr;
        TopLevelState State;
        std::vector<SDL_Rect> Changed; // painted since the last presentation
        bool Exposed = false;          // the native window needs all of Changed shown again
        HICON Icon = nullptr;          // the icon the native window shows
    };

    // A native coordinate in the layer's coordinates: rounded down, so that every native pixel
    // of a block, also left of or above the screen's origin, falls on the pixel it shows.
    int Unscaled(int native) const {
        return native >= 0 ? native / scale_ : -((-native + scale_ - 1) / scale_);
    }

    // Nothing may be asked of the X connection any more.
    bool Lost() const { return displayLost_ || connectionBroken; }

    // The X server went away (it quit, or the session closed): the connection would report a
    // hang-up on every wait from now on, and any further call on it ends the process. Stop
    // using it and end the session as a log-off does, so the program closes its windows and
    // leaves through its own loop.
    void LoseDisplay() {
        displayLost_ = true;
        RequestLogoff();
    }

    static void ChangedAll(Native& native) {
        native.Changed.push_back(
            SDL_Rect{0, 0, Width(native.State.Client), Height(native.State.Client)});
        native.Exposed = true;
    }

    void Create(const TopLevelState& state) {
        Uint32 flags = SDL_WINDOW_HIDDEN;
        if ((state.Style & WS_THICKFRAME) != 0) {
            flags |= SDL_WINDOW_RESIZABLE;
        }
        if ((state.Style & WS_CAPTION) != WS_CAPTION) {
            flags |= SDL_WINDOW_BORDERLESS;
        }
        SDL_Window* window =
            SDL_CreateWindow(gdi::TextToUtf8(state.Title).c_str(), state.Client.left * scale_,
                             state.Client.top * scale_, Width(state.Client) * scale_,
                             Height(state.Client) * scale_, flags);
        if (window == nullptr) {
            return;
        }
        if (x_ == nullptr) {
            x_ = XConnectionOf(window);
        }
        SetWindowFunctions(window, state.Style);
        const HICON icon = IconOf(state.Window);
        SetIcon(window, icon);
        Native& native = natives_[state.Window];
        native = Native{window, state, {}, false, icon};
        SDL_ShowWindow(window);
        ChangedAll(native);
    }

    void Update(Native& native, const TopLevelState& state) {
        const TopLevelState old = native.State;
        native.State = state;
        if (state.Title != old.Title) {
            SDL_SetWindowTitle(native.Window, gdi::TextToUtf8(state.Title).c_str());
        }
        if (const HICON icon = IconOf(state.Window); icon != native.Icon) {
            native.Icon = icon;
            SetIcon(native.Window, icon);
        }
        if (state.Style != old.Style) {
            SDL_SetWindowResizable(native.Window,
                                   (state.Style & WS_THICKFRAME) != 0 ? SDL_TRUE : SDL_FALSE);
            SetWindowFunctions(native.Window, state.Style);
        }
        if (state.Client.left != old.Client.left || state.Client.top != old.Client.top) {
            SDL_SetWindowPosition(native.Window, state.Client.left * scale_,
                                  state.Client.top * scale_);
        }
        const bool resized =
            Width(state.Client) != Width(old.Client) || Height(state.Client) != Height(old.Client);
        if (resized) {
            SDL_SetWindowSize(native.Window, Width(state.Client) * scale_,
                              Height(state.Client) * scale_);
        }
        if (old.Minimized) {
            SDL_RestoreWindow(native.Window);
        }
        if (!old.Visible || resized) {
            SDL_ShowWindow(native.Window);
            ChangedAll(native);
        }
    }

    // A minimised window keeps its native size; only its state changes.
    static void Minimize(Native& native, const TopLevelState& state) {
        if (!native.State.Minimized) {
            SDL_MinimizeWindow(native.Window);
        }
        native.State.Minimized = true;
        native.State.Visible = state.Visible;
    }

    HWND WindowOf(Uint32 id) const {
        SDL_Window* native = SDL_GetWindowFromID(id);
        for (const auto& [window, entry] : natives_) {
            if (entry.Window == native) {
                return window;
            }
        }
        return nullptr;
    }

    POINT CursorOnScreen() const {
        int x = 0;
        int y = 0;
        SDL_GetGlobalMouseState(&x, &y);
        return POINT{Unscaled(x), Unscaled(y)};
    }

    // The cursor in screen coordinates, also while a window moves under it.
    void QueueCursor() const { QueueMouseMove(CursorOnScreen()); }

    void QueueButton(Uint8 button, bool down) const {
        QueueCursor();
        switch (button) {
        case SDL_BUTTON_LEFT:
            QueueMouseButton(MouseKey::Left, down);
            break;
        case SDL_BUTTON_RIGHT:
            QueueMouseButton(MouseKey::Right, down);
            break;
        case SDL_BUTTON_MIDDLE:
            QueueMouseButton(MouseKey::Middle, down);
            break;
        default:
            break;
        }
    }

    static void QueueText(const char* utf8) {
        for (const char32_t character : gdi::DecodeText(utf8)) {
            const unsigned char byte = TextInputByte(character);
            if (byte != 0) {
                QueueKey(VK_PACKET, true, byte);
                QueueKey(VK_PACKET, false, byte);
            }
        }
    }

    void Dispatch(const SDL_Event& event) {
        switch (event.type) {
        case SDL_MOUSEMOTION:
            QueueCursor();
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            QueueButton(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_MOUSEWHEEL:
            QueueCursor();
            QueueMouseWheel(event.wheel.y * WHEEL_DELTA);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (const int key = VirtualKeyOfSdlKey(event.key.keysym.sym); key != 0) {
                QueueKey(key, event.type == SDL_KEYDOWN);
            }
            break;
        case SDL_TEXTINPUT:
            QueueText(event.text.text);
            break;
        case SDL_WINDOWEVENT:
            WindowEvent(event.window);
            break;
        case SDL_DROPBEGIN:
        case SDL_DROPFILE:
        case SDL_DROPTEXT:
        case SDL_DROPCOMPLETE:
            drops_.Take(event, WindowOf(event.drop.windowID), CursorOnScreen());
            break;
        default:
            break;
        }
    }

    void WindowEvent(const SDL_WindowEvent& event) {
        HWND window = WindowOf(event.windowID);
        if (window == nullptr) {
            return;
        }
        const Native& native = natives_[window];
        switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case SDL_WINDOWEVENT_MINIMIZED:
            if (!native.State.Minimized) {
                PostMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            }
            break;
        case SDL_WINDOWEVENT_RESTORED:
            if (native.State.Minimized) {
                PostMessageA(window, WM_SYSCOMMAND, SC_RESTORE, 0);
            }
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            if (GetActiveWindow() != window) {
                SetActiveWindow(window);
            }
            break;
        case SDL_WINDOWEVENT_MOVED:
            Moved(window, POINT{Unscaled(event.data1), Unscaled(event.data2)});
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            Resized(window, event.data1 / scale_, event.data2 / scale_);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            ChangedAll(natives_[window]);
            break;
        default:
            break;
        }
    }

    // The native window moved its client area's corner to 'corner' (layer coordinates).
    void Moved(HWND window, POINT corner) {
        const RECT outer = natives_[window].State.Rect;
        const RECT client = natives_[window].State.Client;
        if (corner.x != client.left || corner.y != client.top) {
            SetWindowPos(window, nullptr, outer.left + corner.x - client.left,
                         outer.top + corner.y - client.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    // The native window's client area became width by height (layer pixels).
    void Resized(HWND window, int width, int height) {
        const RECT outer = natives_[window].State.Rect;
        const RECT client = natives_[window].State.Client;
        if (width != Width(client) || height != Height(client)) {
            SetWindowPos(window, nullptr, 0, 0, Width(outer) + width - Width(client),
                         Height(outer) + height - Height(client),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    int width_;
    int height_;
    int scale_;                // each layer pixel is a scale-by-scale block of native pixels
    ::Display* x_ = nullptr;   // known from the first native window on
    bool displayLost_ = false; // the X connection broke; nothing is drawn or read any more
    std::map<HWND, Native> natives_;
    SdlDropCollector drops_; // the drop in progress
};

} // namespace

std::unique_ptr<Display> MakeSdlDisplay(std::string* error) {
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // A click that activates a window also acts on it, as on Win32; SDL would drop a click
    // that comes within 10 ms of the window gaining the focus.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // Only an X server will do, so SDL tries no other (an SDL_VIDEODRIVER set by the user
    // still wins): probing for Wayland would only add a complaint of its own.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        *error = SDL_GetError();
        const char* name = std::getenv("DISPLAY");
        *error += name == nullptr || *name == '\0' ? std::string(" (DISPLAY is not set)")
                                                   : " (DISPLAY=" + std::string(name) + ")";
        return nullptr;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    SDL_DisplayMode mode;
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) {
        *error = "the display is not an X server";
    } else if (SDL_GetCurrentDisplayMode(0, &mode) != 0) {
        *error = SDL_GetError();
    }
    if (!error->empty()) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    if (xlibIoErrorHandler == nullptr) {
        xlibIoErrorHandler = XSetIOErrorHandler(OnConnectionBroken);
    }
    // Files dropped on a window arrive as these events; SDL offers drops only while they are on.
    for (const Uint32 type : {SDL_DROPBEGIN, SDL_DROPFILE, SDL_DROPTEXT, SDL_DROPCOMPLETE}) {
        SDL_EventState(type, SDL_ENABLE);
    }
    return std::make_unique<SdlDisplay>(mode.w, mode.h, DesktopScale());
}

} // namespace posix
