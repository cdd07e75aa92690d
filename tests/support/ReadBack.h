#pragma once

// State of windows read back through plain Win32 calls, the same on both systems.

#include "platform/win32.h"

#include <string>
#include <vector>

namespace readback {

std::string WindowText(HWND window);
std::string ClassName(HWND window);
DWORD Style(HWND window);
DWORD ExStyle(HWND window);
RECT WindowRect(HWND window); // screen coordinates
bool IsVisible(HWND window);
bool IsEnabled(HWND window);
HWND Focus();
HWND ActiveWindow();
HWND Capture();
// Items and current item of a list box, read through LB_ messages (-1: none).
std::vector<std::string> ListItems(HWND listBox);
int CurrentItem(HWND listBox);

} // namespace readback
