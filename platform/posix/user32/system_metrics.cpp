#include "platform/posix/display/display.h"
#include "platform/win32.h"

namespace {

// The classic desktop at 96 dots per inch. Window frames: a caption 18 high, a thin border 1,
// a dialog frame 3, a sizing frame 4, a 3-D edge 2; icons 32 (small ones 16).
struct Metric {
    int Index;
    int Value;
};

constexpr Metric fixedMetrics[] = {
    {SM_CXVSCROLL, 16},
    {SM_CYHSCROLL, 16},
    {SM_CYCAPTION, 18},
    {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},
    {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3},
    {SM_CYVTHUMB, 16},
    {SM_CXHTHUMB, 16},
    {SM_CXICON, 32},
    {SM_CYICON, 32},
    {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32},
    {SM_CYMENU, 19},
    {SM_MOUSEPRESENT, 1},
    {SM_CYVSCROLL, 16},
    {SM_CXHSCROLL, 16},
    {SM_SWAPBUTTON, 0},
    {SM_CXMIN, 112},
    {SM_CYMIN, 27},
    {SM_CXSIZE, 18},
    {SM_CYSIZE, 18},
    {SM_CXFRAME, 4},
    {SM_CYFRAME, 4},
    {SM_CXMINTRACK, 112},
    {SM_CYMINTRACK, 27},
    {SM_CXDOUBLECLK, 4},
    {SM_CYDOUBLECLK, 4},
    {SM_CXICONSPACING, 75},
    {SM_CYICONSPACING, 75},
    {SM_CMOUSEBUTTONS, 3},
    {SM_CXEDGE, 2},
    {SM_CYEDGE, 2},
    {SM_CXSMICON, 16},
    {SM_CYSMICON, 16},
    {SM_CYSMCAPTION, 16},
    {SM_CXSMSIZE, 12},
    {SM_CYSMSIZE, 15},
    {SM_CXMENUSIZE, 18},
    {SM_CYMENUSIZE, 18},
    {SM_CXMINIMIZED, 160},
    {SM_CYMINIMIZED, 24},
    {SM_CXDRAG, 4},
    {SM_CYDRAG, 4},
    {SM_CXMENUCHECK, 13},
    {SM_CYMENUCHECK, 13},
    {SM_MOUSEWHEELPRESENT, 1},
    {SM_CMONITORS, 1},
    {SM_CXFOCUSBORDER, 1},
    {SM_CYFOCUSBORDER, 1},
};

int FixedMetric(int index) {
    for (const Metric& metric : fixedMetrics) {
        if (metric.Index == index) {
            return metric.Value;
        }
    }
    return 0;
}

} // namespace

// The screen-dependent values follow the display. There is no task bar, so the whole screen is
// the work area: a maximized window covers it with its sizing frame outside.
int WINAPI GetSystemMetrics(int index) {
    const int screenWidth = posix::CurrentDisplay().ScreenWidth();
    const int screenHeight = posix::CurrentDisplay().ScreenHeight();
    const int frameX = 2 * FixedMetric(SM_CXFRAME);
    const int frameY = 2 * FixedMetric(SM_CYFRAME);
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
    case SM_CXFULLSCREEN:
        return screenWidth;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return screenHeight;
    case SM_CYFULLSCREEN:
        return screenHeight - FixedMetric(SM_CYCAPTION);
    case SM_CXMAXIMIZED:
    case SM_CXMAXTRACK:
        return screenWidth + frameX;
    case SM_CYMAXIMIZED:
    case SM_CYMAXTRACK:
        return screenHeight + frameY;
    default:
        return FixedMetric(index);
    }
}
