#pragma once

// winmm: the Media Control Interface, command form only (mciSendCommandA).
//
// Audio files open as one device each. Positions and lengths are in milliseconds, the
// default time format. Video commands (MCI_WINDOW, MCI_WHERE, MCI_PUT) are refused with
// MCIERR_UNSUPPORTED_FUNCTION: no device here shows video.

#include "platform/posix/api/types.h"
#include "platform/posix/api/user32.h"

using MCIERROR = DWORD;
using MCIDEVICEID = UINT;

// Commands.
inline constexpr UINT MCI_OPEN = 0x0803;
inline constexpr UINT MCI_CLOSE = 0x0804;
inline constexpr UINT MCI_PLAY = 0x0806;
inline constexpr UINT MCI_SEEK = 0x0807;
inline constexpr UINT MCI_STOP = 0x0808;
inline constexpr UINT MCI_PAUSE = 0x0809;
inline constexpr UINT MCI_STATUS = 0x0814;
inline constexpr UINT MCI_WINDOW = 0x0841;
inline constexpr UINT MCI_PUT = 0x0842;
inline constexpr UINT MCI_WHERE = 0x0843;
inline constexpr UINT MCI_RESUME = 0x0855;

// Flags common to the commands.
inline constexpr DWORD MCI_NOTIFY = 0x1;
inline constexpr DWORD MCI_WAIT = 0x2;
inline constexpr DWORD MCI_FROM = 0x4;
inline constexpr DWORD MCI_TO = 0x8;

// MCI_OPEN flags.
inline constexpr DWORD MCI_OPEN_SHAREABLE = 0x100;
inline constexpr DWORD MCI_OPEN_ELEMENT = 0x200;
inline constexpr DWORD MCI_OPEN_ALIAS = 0x400;
inline constexpr DWORD MCI_OPEN_ELEMENT_ID = 0x800;
inline constexpr DWORD MCI_OPEN_TYPE_ID = 0x1000;
inline constexpr DWORD MCI_OPEN_TYPE = 0x2000;

// MCI_SEEK flags.
inline constexpr DWORD MCI_SEEK_TO_START = 0x100;
inline constexpr DWORD MCI_SEEK_TO_END = 0x200;

// MCI_STATUS flags and items.
inline constexpr DWORD MCI_STATUS_ITEM = 0x100;
inline constexpr DWORD MCI_STATUS_LENGTH = 0x1;
inline constexpr DWORD MCI_STATUS_POSITION = 0x2;
inline constexpr DWORD MCI_STATUS_MODE = 0x4;

// Device modes, as MCI_STATUS_MODE answers them.
inline constexpr DWORD MCI_STRING_OFFSET = 512;
inline constexpr DWORD MCI_MODE_NOT_READY = MCI_STRING_OFFSET + 12;
inline constexpr DWORD MCI_MODE_STOP = MCI_STRING_OFFSET + 13;
inline constexpr DWORD MCI_MODE_PLAY = MCI_STRING_OFFSET + 14;
inline constexpr DWORD MCI_MODE_RECORD = MCI_STRING_OFFSET + 15;
inline constexpr DWORD MCI_MODE_SEEK = MCI_STRING_OFFSET + 16;
inline constexpr DWORD MCI_MODE_PAUSE = MCI_STRING_OFFSET + 17;
inline constexpr DWORD MCI_MODE_OPEN = MCI_STRING_OFFSET + 18;

// Flags of the video commands.
inline constexpr DWORD MCI_ANIM_WINDOW_HWND = 0x10000;
inline constexpr DWORD MCI_ANIM_WINDOW_STATE = 0x40000;
inline constexpr DWORD MCI_ANIM_WINDOW_TEXT = 0x80000;
inline constexpr DWORD MCI_ANIM_RECT = 0x10000;
inline constexpr DWORD MCI_ANIM_PUT_SOURCE = 0x20000;
inline constexpr DWORD MCI_ANIM_PUT_DESTINATION = 0x40000;
inline constexpr DWORD MCI_ANIM_WHERE_SOURCE = 0x20000;
inline constexpr DWORD MCI_ANIM_WHERE_DESTINATION = 0x40000;

// The notification: wParam is one of the MCI_NOTIFY_ codes, lParam the device identifier.
inline constexpr UINT MM_MCINOTIFY = 0x3B9;
inline constexpr WPARAM MCI_NOTIFY_SUCCESSFUL = 0x1;
inline constexpr WPARAM MCI_NOTIFY_SUPERSEDED = 0x2;
inline constexpr WPARAM MCI_NOTIFY_ABORTED = 0x4;
inline constexpr WPARAM MCI_NOTIFY_FAILURE = 0x8;

// Errors.
inline constexpr MCIERROR MCIERR_BASE = 256;
inline constexpr MCIERROR MCIERR_INVALID_DEVICE_ID = MCIERR_BASE + 1;
inline constexpr MCIERROR MCIERR_UNRECOGNIZED_COMMAND = MCIERR_BASE + 5;
inline constexpr MCIERROR MCIERR_HARDWARE = MCIERR_BASE + 6;
inline constexpr MCIERROR MCIERR_INVALID_DEVICE_NAME = MCIERR_BASE + 7;
inline constexpr MCIERROR MCIERR_OUT_OF_MEMORY = MCIERR_BASE + 8;
inline constexpr MCIERROR MCIERR_CANNOT_LOAD_DRIVER = MCIERR_BASE + 10;
inline constexpr MCIERROR MCIERR_MISSING_PARAMETER = MCIERR_BASE + 17;
inline constexpr MCIERROR MCIERR_UNSUPPORTED_FUNCTION = MCIERR_BASE + 18;
inline constexpr MCIERROR MCIERR_FILE_NOT_FOUND = MCIERR_BASE + 19;
inline constexpr MCIERROR MCIERR_OUTOFRANGE = MCIERR_BASE + 26;
inline constexpr MCIERROR MCIERR_FLAGS_NOT_COMPATIBLE = MCIERR_BASE + 28;
inline constexpr MCIERROR MCIERR_INVALID_FILE = MCIERR_BASE + 40;
inline constexpr MCIERROR MCIERR_NULL_PARAMETER_BLOCK = MCIERR_BASE + 41;

// Parameter records. Each starts with the window that MCI_NOTIFY notifies.
struct MCI_GENERIC_PARMS {
    DWORD_PTR dwCallback;
};

struct MCI_OPEN_PARMSA {
    DWORD_PTR dwCallback;
    MCIDEVICEID wDeviceID;
    LPCSTR lpstrDeviceType;
    LPCSTR lpstrElementName;
    LPCSTR lpstrAlias;
};
using MCI_OPEN_PARMS = MCI_OPEN_PARMSA;

struct MCI_PLAY_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwFrom;
    DWORD dwTo;
};

struct MCI_SEEK_PARMS {
    DWORD_PTR dwCallback;
    DWORD dwTo;
};

struct MCI_STATUS_PARMS {
    DWORD_PTR dwCallback;
    DWORD_PTR dwReturn;
    DWORD dwItem;
    DWORD dwTrack;
};

struct MCI_ANIM_WINDOW_PARMSA {
    DWORD_PTR dwCallback;
    HWND hWnd;
    UINT nCmdShow;
    LPCSTR lpstrText;
};
using MCI_ANIM_WINDOW_PARMS = MCI_ANIM_WINDOW_PARMSA;

// MCI_WHERE fills rc; MCI_PUT reads rc's right and bottom as width and height.
struct MCI_ANIM_RECT_PARMS {
    DWORD_PTR dwCallback;
    RECT rc;
};

// Sends a command to a device (MCI_OPEN: to device 0). dwParam points at the command's
// record; answers 0 or an MCIERR_ code.
MCIERROR WINAPI mciSendCommandA(MCIDEVICEID device, UINT message, DWORD_PTR flags, DWORD_PTR param);
