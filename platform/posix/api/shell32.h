#pragma once

// shell32: files dropped on a window. A window that accepts dropped files (DragAcceptFiles,
// the WS_EX_ACCEPTFILES style) is posted WM_DROPFILES with an HDROP in wParam; the names are
// read with DragQueryFileA and the handle is released with DragFinish by the receiver. An
// HDROP is a global memory block: a DROPFILES record, then the names, each ended by a NUL, and
// one more NUL after the last.

#include "platform/posix/api/kernel32_memory.h"
#include "platform/posix/api/types.h"
#include "platform/posix/api/user32.h"

struct HDROP__;
using HDROP = HDROP__*;

struct DROPFILES {
    DWORD pFiles; // offset of the first name from the start of the record
    POINT pt;     // the drop point, in client coordinates unless fNC
    BOOL fNC;     // the point lies outside the client area
    BOOL fWide;   // the names are UTF-16
};
static_assert(sizeof(DROPFILES) == 20);

inline constexpr UINT WM_DROPFILES = 0x0233;

// Sets or clears WS_EX_ACCEPTFILES on the window.
void WINAPI DragAcceptFiles(HWND window, BOOL accept);
// With index 0xFFFFFFFF: the number of files. With no buffer: the length of the file's name
// without its NUL. Otherwise copies as much of the name as fits with its NUL and answers the
// characters copied. 0 for an unknown handle or index.
UINT WINAPI DragQueryFileA(HDROP drop, UINT index, LPSTR buffer, UINT size);
// The drop point in the client coordinates of the receiving window; TRUE when it lies in the
// client area.
BOOL WINAPI DragQueryPoint(HDROP drop, POINT* point);
// Releases the handle.
void WINAPI DragFinish(HDROP drop);
