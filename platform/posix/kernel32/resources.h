#pragma once

// The program's resource table, which FindResourceA and its companions read.

#include "platform/win32.h"

#include <span>

namespace posix {

// Adds a resource of the program module, or replaces the one of the same type and name. Type
// and name are numbers (MAKEINTRESOURCEA) or names; the data must live as long as the process.
void RegisterResource(LPCSTR type, LPCSTR name, std::span<const BYTE> data);

} // namespace posix
