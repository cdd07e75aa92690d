#pragma once

// The one header through which the layers above reach the Win32 API.
//
// On Windows it includes the system headers. Elsewhere it declares the subset of the API
// that the program uses, with the real names, types and values, implemented in
// platform/posix/.
//
// On POSIX the declarations are split by system library under platform/posix/api/.

#ifdef _WIN32

#if !defined(_WIN32_WINNT) || _WIN32_WINNT < 0x0600
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <commdlg.h>
#include <cderr.h>
#include <shellapi.h>

#else

#include "platform/posix/api/types.h"
#include "platform/posix/api/kernel32.h"
#include "platform/posix/api/kernel32_process.h"
#include "platform/posix/api/kernel32_memory.h"
#include "platform/posix/api/user32.h"
#include "platform/posix/api/gdi32.h"
#include "platform/posix/api/user32_controls.h"
#include "platform/posix/api/comctl32.h"
#include "platform/posix/api/user32_system.h"
#include "platform/posix/api/winmm.h"
#include "platform/posix/api/comdlg32.h"
#include "platform/posix/api/shell32.h"

#endif
