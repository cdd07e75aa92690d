#pragma once

#include <gtest/gtest.h>

#include "toolkit/ControlTools.h"
#include "toolkit/PaintHandler.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TGraphicTool.h"

// Records what a paint event saw.
struct PaintProbe {
    int Calls = 0;
    HDC DC = nullptr;
    bool HadRegion = false;
    bool CanvasOnPaintDC = false;
    bool FillGreen = false;
    static void Paint(void* context, TObj* sender, HDC dc) {
        auto* probe = static_cast<PaintProbe*>(context);
        auto* control = static_cast<TControl*>(sender);
        ++probe->Calls;
        probe->DC = dc;
        probe->HadRegion = control->UpdateRegion != nullptr;
        EXPECT_EQ(control->PaintDC, dc);
        TCanvas* canvas = ControlCanvas(control);
        if (probe->FillGreen) {
            if (canvas->Brush == nullptr) {
                canvas->Brush = MakeBrushTool();
            }
            SetToolColor(canvas->Brush, RGB(0, 255, 0));
            FillRect(canvas, RECT{0, 0, 10, 10});
        }
        TextExtent(canvas, "x");
        probe->CanvasOnPaintDC = canvas->DC == dc && canvas->FromPaintDC;
    }
    TPaintEvent Event() { return {&PaintProbe::Paint, this}; }
};
