#pragma once

// kernel32: global memory blocks, the handles that data such as dropped files travel in
// between the system and a program.

#include "platform/posix/api/kernel32_process.h"
#include "platform/posix/api/types.h"

using SIZE_T = ULONG_PTR;

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
inline constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
inline constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// A block of at least one byte. A fixed block's handle is its address; a moveable one is
// reached through GlobalLock. Null, with ERROR_NOT_ENOUGH_MEMORY, when it cannot be had.
HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's address, counting a lock; null with ERROR_INVALID_HANDLE for an unknown handle.
LPVOID WINAPI GlobalLock(HGLOBAL memory);
// Takes back a lock; FALSE once no lock is left (last error ERROR_SUCCESS) or for an unknown
// handle.
BOOL WINAPI GlobalUnlock(HGLOBAL memory);
// The size asked for; 0 for an unknown handle.
SIZE_T WINAPI GlobalSize(HGLOBAL memory);
// Frees the block: null when done, the handle itself for an unknown one.
HGLOBAL WINAPI GlobalFree(HGLOBAL memory);
