#pragma once

// Translation of POSIX failures into Win32 error codes, for the layer's own use.

#include "platform/win32.h"

namespace posix {

// The Win32 code closest in meaning to an errno value; ERROR_GEN_FAILURE when none is.
DWORD Win32ErrorFromErrno(int error);

// SetLastError with the translation of the given errno value.
void SetLastErrorFromErrno(int error);

} // namespace posix
