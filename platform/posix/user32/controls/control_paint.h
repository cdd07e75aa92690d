#pragma once

// Painting shared by the standard controls: the paint message frame, the non-client frame of
// child controls (sunken client edge or thin border, scroll bars) and captions in the
// enabled and disabled looks.

#include "platform/win32.h"

#include <string_view>

namespace posix {

inline RECT Inset(const RECT& rect, int dx, int dy) {
    return {rect.left + dx, rect.top + dy, rect.right - dx, rect.bottom - dy};
}
inline RECT Shifted(const RECT& rect, int dx, int dy) {
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

// Runs draw(dc) for WM_PAINT, between BeginPaint and EndPaint, or for WM_PRINTCLIENT on the
// context the message carries.
template <class Draw> LRESULT PaintClient(HWND window, UINT message, WPARAM wParam, Draw draw) {
    if (message == WM_PRINTCLIENT) {
        if (const HDC dc = reinterpret_cast<HDC>(wParam)) {
            draw(dc);
        }
        return 0;
    }
    PAINTSTRUCT paint{};
    if (const HDC dc = BeginPaint(window, &paint)) {
        draw(dc);
    }
    EndPaint(window, &paint);
    return 0;
}

// A context over a child window's whole rectangle, in window coordinates ((0, 0) is the
// window's top-left corner), limited to what of it shows; null for a window that is not a
// child or does not show. Close it with CloseFrameDC.
HDC OpenFrameDC(HWND window);
void CloseFrameDC(HWND window, HDC dc);

// Draws the border a window's styles ask for (WS_EX_CLIENTEDGE: a 2-pixel sunken edge;
// WS_BORDER: a 1-pixel line) on a frame context; answers the rectangle inside it.
RECT DrawBorder(HWND window, HDC frameDc);

// Where the client area lies on a frame context.
RECT ClientInFrame(HWND window);

// Text drawn with DrawTextA in the context's text colour, or, when disabled, embossed: a
// highlight copy one pixel down and right under a shadow copy.
void DrawControlText(HDC dc, std::string_view text, RECT rect, UINT format, bool enabled);

// A classic raised button face: white and light grey lines above and left, grey and black
// lines below and right, the face in COLOR_BTNFACE. Answers the face inside the edge.
RECT DrawRaisedFace(HDC dc, const RECT& rect);

} // namespace posix
