#pragma once

#include "toolkit/TControl.h"
#include "toolkit/WindowMessage.h"

// Runs the control's PaintEvent for WM_PAINT and WM_PRINTCLIENT with the paint's device
// context and UpdateRegion set; other messages, or no PaintEvent, are left to default painting.
bool PaintHandler(TControl* control, WindowMessage& message, LRESULT& result);

// Stores the paint event and attaches PaintHandler.
void SetPaintEvent(TControl* control, TPaintEvent event);
