#pragma once

// The layer's side of dropped files: what the display backend calls when a drop ends.

#include "platform/win32.h"

#include <string>
#include <string_view>
#include <vector>

namespace posix {

// Posts WM_DROPFILES for a finished drop, as Windows does: to the window under the drop
// point within topLevel, or its nearest ancestor that accepts dropped files. Without a
// topLevel (the backend could not tell the window) the drop goes to the window that last
// began accepting files. False, with nothing posted, when no window takes the drop or there
// are no paths.
bool PostDroppedFiles(HWND topLevel, POINT screenPoint, std::vector<std::string> paths);

// The local file paths a dropped text names, one a line (CR LF or LF): absolute paths as they
// are, and file:// URIs of this machine (no host, or "localhost") percent-decoded. Comment
// lines (#) of a URI list, other schemes, and names that would hold a NUL are left out.
std::vector<std::string> PathsOfDroppedText(std::string_view text);

} // namespace posix
