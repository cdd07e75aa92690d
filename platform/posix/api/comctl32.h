#pragma once

// comctl32: initialisation of the common controls, the tooltip control and mouse tracking.

#include "platform/posix/api/types.h"
#include "platform/posix/api/user32.h"

#include <cstddef>

// Class groups named by InitCommonControlsEx.
inline constexpr DWORD ICC_LISTVIEW_CLASSES = 0x1;
inline constexpr DWORD ICC_TREEVIEW_CLASSES = 0x2;
inline constexpr DWORD ICC_BAR_CLASSES = 0x4;
inline constexpr DWORD ICC_TAB_CLASSES = 0x8;
inline constexpr DWORD ICC_UPDOWN_CLASS = 0x10;
inline constexpr DWORD ICC_PROGRESS_CLASS = 0x20;
inline constexpr DWORD ICC_HOTKEY_CLASS = 0x40;
inline constexpr DWORD ICC_ANIMATE_CLASS = 0x80;
inline constexpr DWORD ICC_WIN95_CLASSES = 0xFF;
inline constexpr DWORD ICC_DATE_CLASSES = 0x100;
inline constexpr DWORD ICC_USEREX_CLASSES = 0x200;
inline constexpr DWORD ICC_COOL_CLASSES = 0x400;
inline constexpr DWORD ICC_INTERNET_CLASSES = 0x800;
inline constexpr DWORD ICC_PAGESCROLLER_CLASS = 0x1000;
inline constexpr DWORD ICC_NATIVEFNTCTL_CLASS = 0x2000;
inline constexpr DWORD ICC_STANDARD_CLASSES = 0x4000;
inline constexpr DWORD ICC_LINK_CLASS = 0x8000;

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
using LPINITCOMMONCONTROLSEX = INITCOMMONCONTROLSEX*;

// The common control classes this layer has (the tooltip class) are always registered; both
// calls only confirm it. InitCommonControlsEx fails for a null record or a wrong dwSize.
void WINAPI InitCommonControls();
BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

// The tooltip control.
#define TOOLTIPS_CLASSA "tooltips_class32"

struct TTTOOLINFOA {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPSTR lpszText;
    LPARAM lParam;
    void* lpReserved;
};
using TOOLINFOA = TTTOOLINFOA;
using LPTOOLINFOA = TTTOOLINFOA*;

// The record sizes of the three generations of the record: up to lpszText, lParam and
// lpReserved. The tooltip accepts any cbSize from the first on.
inline constexpr UINT TTTOOLINFOA_V1_SIZE = offsetof(TTTOOLINFOA, lParam);
inline constexpr UINT TTTOOLINFOA_V2_SIZE = offsetof(TTTOOLINFOA, lpReserved);
inline constexpr UINT TTTOOLINFOA_V3_SIZE = sizeof(TTTOOLINFOA);

// A text pointer that asks the owner for the text; this layer treats it as no text.
#define LPSTR_TEXTCALLBACKA (reinterpret_cast<LPSTR>(static_cast<LONG_PTR>(-1)))

// Tooltip styles.
inline constexpr DWORD TTS_ALWAYSTIP = 0x1;
inline constexpr DWORD TTS_NOPREFIX = 0x2;
inline constexpr DWORD TTS_NOANIMATE = 0x10;
inline constexpr DWORD TTS_NOFADE = 0x20;
inline constexpr DWORD TTS_BALLOON = 0x40;
inline constexpr DWORD TTS_CLOSE = 0x80;

// Tool flags.
inline constexpr UINT TTF_IDISHWND = 0x1;
inline constexpr UINT TTF_CENTERTIP = 0x2;
inline constexpr UINT TTF_RTLREADING = 0x4;
inline constexpr UINT TTF_SUBCLASS = 0x10;
inline constexpr UINT TTF_TRACK = 0x20;
inline constexpr UINT TTF_ABSOLUTE = 0x80;
inline constexpr UINT TTF_TRANSPARENT = 0x100;
inline constexpr UINT TTF_PARSELINKS = 0x1000;

// Tooltip messages.
inline constexpr UINT TTM_ACTIVATE = WM_USER + 1;
inline constexpr UINT TTM_ADDTOOLA = WM_USER + 4;
inline constexpr UINT TTM_DELTOOLA = WM_USER + 5;
inline constexpr UINT TTM_GETTOOLINFOA = WM_USER + 8;
inline constexpr UINT TTM_UPDATETIPTEXTA = WM_USER + 12;
inline constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
inline constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
inline constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
inline constexpr UINT TTM_POP = WM_USER + 28;

// Mouse tracking (implemented with the layer's input routing).
inline constexpr DWORD TME_HOVER = 0x1;
inline constexpr DWORD TME_LEAVE = 0x2;
inline constexpr DWORD TME_NONCLIENT = 0x10;
inline constexpr DWORD TME_QUERY = 0x40000000;
inline constexpr DWORD TME_CANCEL = 0x80000000;
inline constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;

struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};
using LPTRACKMOUSEEVENT = TRACKMOUSEEVENT*;

BOOL WINAPI _TrackMouseEvent(LPTRACKMOUSEEVENT eventTrack);
