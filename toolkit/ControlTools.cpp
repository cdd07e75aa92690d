#include "toolkit/ControlTools.h"

#include "toolkit/Colors.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TControl.h"
#include "toolkit/TGraphicTool.h"

namespace {

// The device context of a control's canvas: the paint's while the control paints, else the
// one the canvas holds, else a new one of the control's window.
HDC ControlDCSource(void* context, TObj* sender) {
    auto* control = static_cast<TControl*>(context);
    auto* canvas = static_cast<TCanvas*>(sender);
    if (control->PaintDC != nullptr) {
        SetDC(canvas, control->PaintDC);
        canvas->FromPaintDC = true;
        return control->PaintDC;
    }
    if (canvas->DC != nullptr) {
        return canvas->DC;
    }
    HWND window = control->GetHandle();
    HDC dc = GetDC(window);
    if (dc != nullptr) {
        SetDC(canvas, dc);
        canvas->DCFromWindow = true;
        canvas->DCWindow = window;
    }
    return dc;
}

// The control's brush tool, made in its Color on first use and linked to the parent's.
TGraphicTool* ControlBrushTool(TControl* control) {
    if (control->Brush == nullptr) {
        TGraphicTool* brush = MakeBrushTool();
        SetToolColor(brush, control->Color);
        brush->ChangeNotify = {&ControlBrushChanged, control};
        control->Brush = brush;
    }
    if (control->Parent != nullptr) {
        control->Brush->ParentTool = ControlBrushTool(control->Parent);
    }
    return control->Brush;
}

void DropBrushHandle(TControl* control) {
    if (control->BrushHandle != nullptr) {
        DeleteObject(control->BrushHandle);
        control->BrushHandle = nullptr;
    }
}

} // namespace

TGraphicTool* ControlFont(TControl* control) {
    if (control->Font == nullptr) {
        TGraphicTool* font = MakeFontTool();
        SetToolColor(font, control->FontColor);
        font->ChangeNotify = {&ControlFontChanged, control};
        control->Font = font;
    }
    return control->Font;
}

HBRUSH ControlBrush(TControl* control) {
    if (BrushToolsInUse()) {
        return static_cast<HBRUSH>(GetToolHandle(ControlBrushTool(control)));
    }
    while (control->Parent != nullptr && control->Parent->Color == control->Color) {
        control = control->Parent;
    }
    if (control->BrushHandle != nullptr &&
        ResolveColor(control->Color) != control->BrushHandleColor) {
        DropBrushHandle(control);
    }
    if (control->BrushHandle == nullptr) {
        control->BrushHandleColor = ResolveColor(control->Color);
        control->BrushHandle = CreateSolidBrush(control->BrushHandleColor);
    }
    return control->BrushHandle;
}

TCanvas* ControlCanvas(TControl* control) {
    if (control->Canvas == nullptr) {
        TCanvas* canvas = MakeCanvas(nullptr);
        canvas->Owner = control;
        canvas->DCSource = {&ControlDCSource, control};
        canvas->Font = AssignTool(nullptr, control->Font);
        canvas->Brush = AssignTool(nullptr, control->Brush);
        control->Canvas = canvas;
    }
    return control->Canvas;
}

void ControlFontChanged(void* context, TObj* sender) {
    auto* control = static_cast<TControl*>(context);
    control->FontColor = static_cast<TGraphicTool*>(sender)->Color();
    control->ApplyFont();
    control->Invalidate();
}

void ControlBrushChanged(void* context, TObj* sender) {
    auto* control = static_cast<TControl*>(context);
    control->Color = static_cast<TGraphicTool*>(sender)->Color();
    DropBrushHandle(control);
    control->Invalidate();
}
