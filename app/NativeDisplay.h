#pragma once

// Makes the program's windows appear on the user's screen. On Windows they always do; on Linux
// the window layer is switched from its headless start to the native display. False (with the
// reason on standard error) when no display can be opened.
bool SwitchToNativeDisplay();
