#include "toolkit/TCanvas.h"

#include <climits>

#include "toolkit/Colors.h"
#include "toolkit/TControl.h"
#include "toolkit/TGraphicTool.h"

namespace {

// The stock objects put back when the canvas's tools are deselected, fetched once.
struct StockTools {
    HGDIOBJ Pen = GetStockObject(BLACK_PEN);
    HGDIOBJ Brush = GetStockObject(NULL_BRUSH);
    HGDIOBJ Font = GetStockObject(SYSTEM_FONT);
};

const StockTools& Stock() {
    static const StockTools stock;
    return stock;
}

int TextLength(std::string_view text) {
    return text.size() > INT_MAX ? INT_MAX : static_cast<int>(text.size());
}

bool IsOwnersPaintDC(const TCanvas* canvas, HDC dc) {
    return canvas->Owner != nullptr && canvas->Owner->PaintDC == dc;
}

void ReleaseCanvasDC(TCanvas* canvas) {
    if (canvas->FromPaintDC || IsOwnersPaintDC(canvas, canvas->DC)) {
        return;
    }
    if (canvas->DCFromWindow) {
        ReleaseDC(canvas->DCWindow, canvas->DC);
    } else {
        DeleteDC(canvas->DC);
    }
}

void DeselectOnChange(void* canvas, TObj*) {
    DeselectTools(static_cast<TCanvas*>(canvas));
}

// A tool of the canvas that changes is deselected before its platform object is deleted.
void WatchTools(TCanvas* canvas) {
    const TCallback deselect{&DeselectOnChange, canvas};
    if (canvas->Font != nullptr) {
        canvas->Font->ChangeNotify = deselect;
    }
    if (canvas->Brush != nullptr) {
        canvas->Brush->ChangeNotify = deselect;
    }
}

void SelectCanvasFont(TCanvas* canvas) {
    if (canvas->Font != nullptr) {
        SelectObject(canvas->DC, GetToolHandle(canvas->Font));
        SetTextColor(canvas->DC, ResolveColor(canvas->Font->Color()));
        WatchTools(canvas);
    } else if (canvas->Owner != nullptr) {
        SetTextColor(canvas->DC, ResolveColor(canvas->Owner->FontColor));
    }
}

void SelectCanvasBrush(TCanvas* canvas) {
    if (canvas->Brush != nullptr) {
        SelectObject(canvas->DC, GetToolHandle(canvas->Brush));
        WatchTools(canvas);
        if (canvas->Brush->ToolData.Bytes[BrushStyleOffset] == BrushStyleSolid) {
            SetBkMode(canvas->DC, OPAQUE);
            SetBkColor(canvas->DC, ResolveColor(canvas->Brush->Color()));
        } else {
            SetBkMode(canvas->DC, TRANSPARENT);
        }
    } else if (canvas->Owner != nullptr) {
        SetBkColor(canvas->DC, ResolveColor(canvas->Owner->Color));
        SetBkMode(canvas->DC, OPAQUE);
    }
}

// Keeps the canvas alive through one operation: asking a control for its device context may
// make the control's window, and applying the font to the new window frees the control's
// canvas. The canvas then ends when the operation lets go of it.
class CanvasHold {
public:
    explicit CanvasHold(TCanvas* canvas) : canvas(canvas) { AddHold(canvas); }
    ~CanvasHold() { DropHold(canvas); }
    CanvasHold(const CanvasHold&) = delete;
    CanvasHold& operator=(const CanvasHold&) = delete;

private:
    TCanvas* canvas;
};

// The brush a fill uses and whether the fill must delete it afterwards.
struct FillBrush {
    HBRUSH Brush = nullptr;
    bool Temporary = false;
};

FillBrush BrushForFill(TCanvas* canvas) {
    if (canvas->Brush != nullptr) {
        return {static_cast<HBRUSH>(GetToolHandle(canvas->Brush)), false};
    }
    TControl* owner = canvas->Owner;
    if (owner == nullptr) {
        return {reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)), false};
    }
    if (owner->Brush != nullptr) {
        return {static_cast<HBRUSH>(GetToolHandle(owner->Brush)), false};
    }
    return {CreateSolidBrush(ResolveColor(owner->Color)), true};
}

} // namespace

TCanvas::~TCanvas() {
    SetDC(this, nullptr);
    Free(Brush);
    Free(Font);
}

TCanvas* MakeCanvas(HDC dc) {
    TCanvas* canvas = TCanvas::Created(new TCanvas);
    if (dc != nullptr) {
        SetDC(canvas, dc);
    }
    return canvas;
}

void SetDC(TCanvas* canvas, HDC dc) {
    if (dc == canvas->DC) {
        return;
    }
    if (canvas->DC != nullptr) {
        DeselectTools(canvas);
        ReleaseCanvasDC(canvas);
        canvas->DC = nullptr;
        canvas->FromPaintDC = false;
        canvas->DCFromWindow = false;
        canvas->DCWindow = nullptr;
        canvas->SelectState &= static_cast<std::uint8_t>(~CanvasHasDC);
    }
    if (dc != nullptr) {
        canvas->SelectState |= CanvasHasDC;
        canvas->DC = dc;
        MoveToEx(dc, canvas->PenPos.x, canvas->PenPos.y, nullptr);
    }
}

void DeselectTools(TCanvas* canvas) {
    constexpr std::uint8_t toolBits = CanvasBrushSelected | CanvasFontSelected;
    if (canvas->DC == nullptr || (canvas->SelectState & toolBits) == 0) {
        return;
    }
    const StockTools& stock = Stock();
    SelectObject(canvas->DC, stock.Pen);
    SelectObject(canvas->DC, stock.Brush);
    SelectObject(canvas->DC, stock.Font);
    canvas->SelectState &= static_cast<std::uint8_t>(~toolBits);
}

HDC RequireState(TCanvas* canvas, std::uint8_t flags) {
    if ((flags & CanvasNotifyChange) != 0) {
        canvas->CanvasChange.Call(canvas);
    }
    if ((flags & CanvasHasDC) != 0 && canvas->DCSource.IsSet()) {
        SetDC(canvas, canvas->DCSource.Call(canvas));
    }
    if (canvas->DC == nullptr) {
        return nullptr;
    }
    const auto needed = static_cast<std::uint8_t>(flags & 0x0F & ~canvas->SelectState);
    if ((needed & CanvasFontSelected) != 0) {
        SelectCanvasFont(canvas);
    }
    if ((needed & CanvasBrushSelected) != 0) {
        SelectCanvasBrush(canvas);
    }
    canvas->SelectState |= needed;
    return canvas->DC;
}

void MoveTo(TCanvas* canvas, int x, int y) {
    const CanvasHold hold(canvas);
    HDC dc = RequireState(canvas, CanvasHasDC);
    canvas->PenPos = {x, y};
    if (dc != nullptr) {
        MoveToEx(dc, x, y, nullptr);
    }
}

SIZE TextExtent(TCanvas* canvas, std::string_view text) {
    const CanvasHold hold(canvas);
    constexpr std::uint8_t needs = CanvasHasDC | CanvasFontSelected;
    SIZE size = {0, 0};
    HDC dc = RequireState(canvas, needs);
    bool madeHere = false;
    if (dc == nullptr) {
        HDC memory = CreateCompatibleDC(nullptr);
        if (memory == nullptr) {
            return size;
        }
        SetDC(canvas, memory);
        madeHere = true;
        dc = RequireState(canvas, needs);
    }
    if (dc != nullptr) {
        GetTextExtentPoint32A(dc, text.data(), TextLength(text), &size);
    }
    if (madeHere || !IsOwnersPaintDC(canvas, canvas->DC)) {
        SetDC(canvas, nullptr);
    }
    return size;
}

void CanvasTextOut(TCanvas* canvas, int x, int y, std::string_view text) {
    const CanvasHold hold(canvas);
    HDC dc = RequireState(canvas, CanvasNotifyChange | CanvasFontSelected | CanvasBrushSelected |
                                      CanvasHasDC);
    if (dc != nullptr) {
        TextOutA(dc, x, y, text.data(), TextLength(text));
    }
}

void FillRect(TCanvas* canvas, const RECT& rect) {
    const CanvasHold hold(canvas);
    HDC dc = RequireState(canvas, CanvasNotifyChange | CanvasBrushSelected | CanvasHasDC);
    if (dc == nullptr) {
        return;
    }
    const FillBrush fill = BrushForFill(canvas);
    ::FillRect(dc, &rect, fill.Brush);
    if (fill.Temporary) {
        DeleteObject(fill.Brush);
    }
}

void DrawFocusRect(TCanvas* canvas, const RECT& rect) {
    const CanvasHold hold(canvas);
    HDC dc = RequireState(canvas, CanvasNotifyChange | CanvasFontSelected | CanvasBrushSelected |
                                      CanvasHasDC);
    if (dc != nullptr) {
        ::DrawFocusRect(dc, &rect);
    }
}
