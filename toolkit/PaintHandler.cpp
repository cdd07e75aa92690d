#include "toolkit/PaintHandler.h"

#include "toolkit/TCanvas.h"
#include "toolkit/WindowProc.h"

namespace {

// The region being repainted, or null when it is empty or cannot be had.
HRGN CurrentUpdateRegion(HWND window) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (region == nullptr) {
        return nullptr;
    }
    const int answer = GetUpdateRgn(window, region, FALSE);
    if (answer == NULLREGION || answer == ERROR) {
        DeleteObject(region);
        return nullptr;
    }
    return region;
}

} // namespace

bool PaintHandler(TControl* control, WindowMessage& message, LRESULT& result) {
    if ((message.Msg != WM_PAINT && message.Msg != WM_PRINTCLIENT) ||
        !control->PaintEvent.IsSet()) {
        return false;
    }
    // A paint inside a paint (WM_PRINTCLIENT sent from PaintEvent) keeps the outer one's
    // region and device context for when it returns.
    HRGN outerRegion = control->UpdateRegion;
    HDC outerDC = control->PaintDC;
    control->UpdateRegion = CurrentUpdateRegion(control->Handle);
    control->PaintDC = reinterpret_cast<HDC>(message.WParam);
    PAINTSTRUCT paint = {};
    const bool began = control->PaintDC == nullptr;
    if (began) {
        control->PaintDC = BeginPaint(control->Handle, &paint);
    }
    control->PaintEvent.Call(control, control->PaintDC);
    if (control->Canvas != nullptr) {
        SetDC(control->Canvas, nullptr);
    }
    if (began) {
        EndPaint(control->Handle, &paint);
    }
    control->PaintDC = outerDC;
    result = 0;
    if (control->UpdateRegion != nullptr) {
        DeleteObject(control->UpdateRegion);
    }
    control->UpdateRegion = outerRegion;
    return true;
}

void SetPaintEvent(TControl* control, TPaintEvent event) {
    control->PaintEvent = event;
    AttachHandler(control, &PaintHandler);
}
