// Shows a window on the layer's real display, prints "shown", then waits for a line on
// standard input; the caller ends the X server meanwhile. It then looks for messages without
// waiting, so the next read of native input meets the broken connection itself rather than a
// hang-up reported by poll. Ends with 2 when the window could not be shown and with 3 when it
// is still running after that look; the layer should have ended it before.
// Driven by tests/smoke/lost_display_smoke.sh.

#include "platform/win32.h"

#include <cstdio>

int main() {
    WNDCLASSA probeClass{};
    probeClass.lpfnWndProc = DefWindowProcA;
    probeClass.lpszClassName = "LostDisplayProbe";
    RegisterClassA(&probeClass);
    const HWND window = CreateWindowExA(0, "LostDisplayProbe", "Lost display probe",
                                        WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                        nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        return 2;
    }
    UpdateWindow(window);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        DispatchMessageA(&msg);
    }
    std::printf("shown\n");
    std::fflush(stdout);
    char line[16];
    if (std::fgets(line, sizeof line, stdin) == nullptr) {
        return 2;
    }
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        DispatchMessageA(&msg);
    }
    return 3;
}
