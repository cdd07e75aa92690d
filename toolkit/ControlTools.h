#pragma once

#include "platform/win32.h"

class TCanvas;
class TControl;
class TGraphicTool;
class TObj;

// The drawing resources of a control: its font, its background brush and its canvas.

// The control's font tool, made on first use in the control's FontColor.
TGraphicTool* ControlFont(TControl* control);
// The background brush answered to standard controls and used to erase forms. A control
// whose Color equals its parent's answers the parent's brush; the brush is renewed when the
// colour it resolves to changes.
HBRUSH ControlBrush(TControl* control);
// The control's canvas, made on first use with copies of the control's font and brush.
TCanvas* ControlCanvas(TControl* control);

// Change callbacks bound to a control's own tools (context: the control, sender: the tool).
// A font change takes the font's colour as FontColor, applies the font and repaints; a brush
// change takes the brush's colour as Color, drops the cached brush and repaints.
void ControlFontChanged(void* control, TObj* font);
void ControlBrushChanged(void* control, TObj* brush);
