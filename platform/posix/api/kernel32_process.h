#pragma once

// kernel32: the process's command line, its modules and their resources, the tick count.

#include "platform/posix/api/types.h"
#include "platform/posix/api/user32.h"

struct HRSRC__;
using HRSRC = HRSRC__*;
using HGLOBAL = HANDLE;
using FARPROC = INT_PTR(WINAPI*)();

#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define MAKEINTRESOURCE(i) MAKEINTRESOURCEA(i)
#define IS_INTRESOURCE(r) ((reinterpret_cast<ULONG_PTR>(r) >> 16) == 0)

#define RT_ICON MAKEINTRESOURCEA(3)
#define RT_GROUP_ICON MAKEINTRESOURCEA(14)

inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
inline constexpr DWORD ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
inline constexpr DWORD ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
inline constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;

// The command line as Windows would pass it: argument 0 quoted as a program name, the other
// arguments quoted so that the usual parsing rules give each one back unchanged.
LPSTR WINAPI GetCommandLineA();

// The path of the program (a null module or the program's handle); the library modules have no
// file of their own here. A buffer too small for the path receives as much of it as fits with a
// terminating zero; the answer is then the buffer size, with ERROR_INSUFFICIENT_BUFFER.
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);

// The program, "user32" and "comctl32" (any letter case, ".dll" optional) are loaded from the
// start, as a program linked against those libraries has them; no other module exists.
HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
HMODULE WINAPI LoadLibraryA(LPCSTR fileName);
BOOL WINAPI FreeLibrary(HMODULE module);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName);

// Resources of the program module, from the table the program registers at start-up. Names
// and types are numbers (MAKEINTRESOURCEA, or "#n") or names compared without regard to case.
HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource);
LPVOID WINAPI LockResource(HGLOBAL resourceData);
DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource);

// Milliseconds of the layer's clock; wraps around after about 49.7 days.
DWORD WINAPI GetTickCount();
// Suspends the thread for ms milliseconds of the layer's clock: real time, or, under the test
// driver's virtual clock, a move of that clock without waiting.
void WINAPI Sleep(DWORD ms);
