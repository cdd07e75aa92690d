#pragma once

#include <cstdint>
#include <string_view>

#include "platform/win32.h"
#include "toolkit/ControlEvents.h"
#include "toolkit/TCallback.h"
#include "toolkit/TObj.h"

class TControl;
class TGraphicTool;

// Bits of TCanvas::SelectState, and the flags of RequireState.
constexpr std::uint8_t CanvasHasDC = 1;
constexpr std::uint8_t CanvasBrushSelected = 4;
constexpr std::uint8_t CanvasFontSelected = 8;
constexpr std::uint8_t CanvasNotifyChange = 16; // RequireState only: tell CanvasChange first

// Supplies a device context when the canvas needs one (sender: the canvas).
using TDCSource = TBoundEvent<HDC()>;

// A device context with a brush and a font selected into it on demand. A canvas owns its
// tools and releases its device context when it lets go of it, unless the context is the
// owner's paint context, which only the paint may end.
class TCanvas : public TObj {
public:
    TControl* Owner = nullptr; // the control drawn on, or null
    HDC DC = nullptr;
    POINT PenPos = {};
    TGraphicTool* Brush = nullptr; // owned
    TGraphicTool* Font = nullptr;  // owned
    std::uint8_t SelectState = 0;  // Canvas* bits
    bool FromPaintDC = false;      // DC is the owner's PaintDC
    DWORD CopyMode = SRCCOPY;
    TCallback CanvasChange; // told before drawing operations
    TDCSource DCSource;
    // DC came from GetDC (DCWindow); it goes back with ReleaseDC, any other with DeleteDC.
    bool DCFromWindow = false;
    HWND DCWindow = nullptr;

    friend TCanvas* MakeCanvas(HDC dc);

protected:
    TCanvas() = default;
    ~TCanvas() override;
};

// A canvas on dc (which the canvas then owns), or on no device context yet.
TCanvas* MakeCanvas(HDC dc);
// Attaches dc, letting go of the present one first.
void SetDC(TCanvas* canvas, HDC dc);
// Makes sure of the parts named by flags (Canvas* bits); the device context, or null when
// none can be had.
HDC RequireState(TCanvas* canvas, std::uint8_t flags);
// Selects the stock pen, brush and font in place of the canvas's tools.
void DeselectTools(TCanvas* canvas);

// Drawing. Each does nothing when no device context can be had. A canvas freed during the
// operation (the owner's window being made applies the font, which releases the canvas)
// lives until the operation ends.
void MoveTo(TCanvas* canvas, int x, int y);
// Width and height of the text in the canvas's font; a device context taken for the
// measurement only is let go of afterwards.
SIZE TextExtent(TCanvas* canvas, std::string_view text);
// TextOut of the canvas (the Win32 name is a macro on Windows).
void CanvasTextOut(TCanvas* canvas, int x, int y, std::string_view text);
void FillRect(TCanvas* canvas, const RECT& rect);
void DrawFocusRect(TCanvas* canvas, const RECT& rect);
