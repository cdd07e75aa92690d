#include "platform/posix/gdi32/gdi.h"
#include "platform/posix/testing/driver_hooks.h"
#include "platform/win32.h"

#include <array>
#include <vector>

namespace {

constexpr COLORREF Rgb(BYTE red, BYTE green, BYTE blue) {
    return COLORREF(red) | (COLORREF(green) << 8) | (COLORREF(blue) << 16);
}

// The classic desktop scheme, indexed by COLOR_* value.
constexpr std::array<COLORREF, COLOR_MENUBAR + 1> classicColors = {
    Rgb(192, 192, 192), // COLOR_SCROLLBAR
    Rgb(0, 128, 128),   // COLOR_BACKGROUND
    Rgb(0, 0, 128),     // COLOR_ACTIVECAPTION
    Rgb(128, 128, 128), // COLOR_INACTIVECAPTION
    Rgb(192, 192, 192), // COLOR_MENU
    Rgb(255, 255, 255), // COLOR_WINDOW
    Rgb(0, 0, 0),       // COLOR_WINDOWFRAME
    Rgb(0, 0, 0),       // COLOR_MENUTEXT
    Rgb(0, 0, 0),       // COLOR_WINDOWTEXT
    Rgb(255, 255, 255), // COLOR_CAPTIONTEXT
    Rgb(192, 192, 192), // COLOR_ACTIVEBORDER
    Rgb(192, 192, 192), // COLOR_INACTIVEBORDER
    Rgb(128, 128, 128), // COLOR_APPWORKSPACE
    Rgb(0, 0, 128),     // COLOR_HIGHLIGHT
    Rgb(255, 255, 255), // COLOR_HIGHLIGHTTEXT
    Rgb(192, 192, 192), // COLOR_BTNFACE
    Rgb(128, 128, 128), // COLOR_BTNSHADOW
    Rgb(128, 128, 128), // COLOR_GRAYTEXT
    Rgb(0, 0, 0),       // COLOR_BTNTEXT
    Rgb(192, 192, 192), // COLOR_INACTIVECAPTIONTEXT
    Rgb(255, 255, 255), // COLOR_BTNHIGHLIGHT
    Rgb(0, 0, 0),       // COLOR_3DDKSHADOW
    Rgb(223, 223, 223), // COLOR_3DLIGHT
    Rgb(0, 0, 0),       // COLOR_INFOTEXT
    Rgb(255, 255, 225), // COLOR_INFOBK
    Rgb(0, 0, 0),       // index 25 has no colour
    Rgb(0, 0, 128),     // COLOR_HOTLIGHT
    Rgb(16, 132, 208),  // COLOR_GRADIENTACTIVECAPTION
    Rgb(181, 181, 181), // COLOR_GRADIENTINACTIVECAPTION
    Rgb(0, 0, 128),     // COLOR_MENUHILIGHT
    Rgb(192, 192, 192), // COLOR_MENUBAR
};

std::array<COLORREF, classicColors.size()> currentColors = classicColors;
std::array<HBRUSH, classicColors.size()> colorBrushes{};

// The brushes are stock objects whose colour follows the table.
void RenewBrushes() {
    for (std::size_t i = 0; i < colorBrushes.size(); ++i) {
        posix::gdi::SetBrushColor(colorBrushes[i], currentColors[i]);
    }
}

// The test driver's reset puts the classic scheme back.
void RestoreClassicColors() {
    currentColors = classicColors;
    RenewBrushes();
}

// Collected first: a window procedure may destroy windows while it handles the message.
void NotifyTopLevelWindows() {
    std::vector<HWND> windows;
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window != nullptr;
         window = GetWindow(window, GW_HWNDNEXT)) {
        windows.push_back(window);
    }
    for (HWND window : windows) {
        if (IsWindow(window)) {
            SendMessageA(window, WM_SYSCOLORCHANGE, 0, 0);
        }
    }
}

bool IsColorIndex(int index) {
    return index >= 0 && static_cast<std::size_t>(index) < classicColors.size();
}

} // namespace

// An index outside the table answers 0, as Win32 does.
DWORD WINAPI GetSysColor(int index) {
    return IsColorIndex(index) ? currentColors[static_cast<std::size_t>(index)] : 0;
}

// All or nothing: an index outside the table changes no colour and answers FALSE.
BOOL WINAPI SetSysColors(int count, const int* indexes, const COLORREF* colors) {
    if (count < 0 || (count > 0 && (indexes == nullptr || colors == nullptr))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int i = 0; i < count; ++i) {
        if (!IsColorIndex(indexes[i])) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    posix::AddResetHandler(&RestoreClassicColors);
    for (int i = 0; i < count; ++i) {
        currentColors[static_cast<std::size_t>(indexes[i])] = colors[i] & 0x00FFFFFF;
    }
    RenewBrushes();
    NotifyTopLevelWindows();
    return TRUE;
}

HBRUSH WINAPI GetSysColorBrush(int index) {
    if (!IsColorIndex(index)) {
        return nullptr;
    }
    HBRUSH& brush = colorBrushes[static_cast<std::size_t>(index)];
    if (brush == nullptr) {
        brush = posix::gdi::CreateStockBrush(currentColors[static_cast<std::size_t>(index)]);
    }
    return brush;
}
