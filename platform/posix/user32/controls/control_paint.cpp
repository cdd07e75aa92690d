// Paint helpers of the controls: frame contexts over a child's non-client area, borders and
// captions.

#include "platform/posix/user32/controls/control_paint.h"

#include "platform/posix/display/display.h"
#include "platform/posix/gdi32/gdi.h"
#include "platform/posix/user32/window_manager.h"
#include "platform/posix/user32/window_surface.h"

#include <algorithm>
#include <limits>

namespace posix {
namespace {

RECT Offset(const RECT& rect, POINT by) {
    return Shifted(rect, by.x, by.y);
}

// The window's rectangle on its top-level surface, cut to every ancestor's client area.
gdi::Region VisibleFrame(const Window& window) {
    const POINT parentOrigin = SurfaceOrigin(window.Parent);
    gdi::Region visible(Offset(window.Rect, parentOrigin));
    for (const Window* inner = &window; inner != nullptr && !IsTopLevel(*inner);
         inner = FindWindowRecord(inner->Parent)) {
        const Window* parent = FindWindowRecord(inner->Parent);
        if (parent == nullptr) {
            return {};
        }
        const POINT origin = SurfaceOrigin(inner->Parent);
        const RECT client{origin.x, origin.y,
                          origin.x + (parent->Client.right - parent->Client.left),
                          origin.y + (parent->Client.bottom - parent->Client.top)};
        visible = visible.Combined(gdi::Region(client), gdi::Region::Operation::And);
    }
    return visible;
}

// Open frame contexts and the area each may have changed, for the display.
struct OpenFrame {
    HDC Dc;
    HWND TopLevel;
    RECT Area;
};

std::vector<OpenFrame>& OpenFrames() {
    static std::vector<OpenFrame> frames;
    return frames;
}

} // namespace

HDC OpenFrameDC(HWND handle) {
    const Window* window = FindWindowRecord(handle);
    if (window == nullptr || IsTopLevel(*window) || !IsReallyVisible(handle)) {
        return nullptr;
    }
    const HWND topLevel = RootOf(handle);
    const gdi::Surface* surface = SurfaceOf(topLevel);
    if (surface == nullptr) {
        return nullptr;
    }
    const gdi::Region visible =
        VisibleFrame(*window).Combined(gdi::Region(surface->Bounds()), gdi::Region::Operation::And);
    if (visible.IsEmpty()) {
        return nullptr;
    }
    const POINT parentOrigin = SurfaceOrigin(window->Parent);
    const POINT origin{parentOrigin.x + window->Rect.left, parentOrigin.y + window->Rect.top};
    const HDC dc = gdi::CreateSurfaceDC(*surface, origin, visible);
    if (dc != nullptr) {
        OpenFrames().push_back({dc, topLevel, visible.Bounds()});
    }
    return dc;
}

void CloseFrameDC(HWND, HDC dc) {
    std::vector<OpenFrame>& frames = OpenFrames();
    const auto found =
        std::find_if(frames.begin(), frames.end(), [dc](const OpenFrame& f) { return f.Dc == dc; });
    if (found == frames.end()) {
        return;
    }
    const OpenFrame frame = *found;
    frames.erase(found);
    DeleteDC(dc);
    if (SurfaceOf(frame.TopLevel) != nullptr) {
        CurrentDisplay().SurfaceChanged(frame.TopLevel, frame.Area);
    }
}

RECT ClientInFrame(HWND handle) {
    const Window* window = FindWindowRecord(handle);
    if (window == nullptr) {
        return {};
    }
    const POINT by{-window->Rect.left, -window->Rect.top};
    return Offset(window->Client, by);
}

RECT DrawBorder(HWND handle, HDC frameDc) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(handle, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongA(handle, GWL_EXSTYLE));
    RECT rect{};
    GetWindowRect(handle, &rect);
    RECT inner{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    if ((exStyle & WS_EX_CLIENTEDGE) != 0) {
        DrawEdge(frameDc, &inner, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    }
    if ((style & WS_BORDER) != 0) {
        FrameRect(frameDc, &inner, GetSysColorBrush(COLOR_WINDOWFRAME));
        inner = Inset(inner, 1, 1);
    }
    return inner;
}

void DrawControlText(HDC dc, std::string_view text, RECT rect, UINT format, bool enabled) {
    const int length =
        static_cast<int>(std::min<std::size_t>(text.size(), std::numeric_limits<int>::max()));
    if (enabled) {
        DrawTextA(dc, text.data(), length, &rect, format);
        return;
    }
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    RECT shifted = Shifted(rect, 1, 1);
    DrawTextA(dc, text.data(), length, &shifted, format);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextA(dc, text.data(), length, &rect, format);
    SetTextColor(dc, colour);
    SetBkMode(dc, mode);
}

RECT DrawRaisedFace(HDC dc, const RECT& rect) {
    RECT face = rect;
    DrawEdge(dc, &face, EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE | BF_ADJUST);
    return face;
}

} // namespace posix
