// Plays a sound file through MCI for a given number of seconds, the way the player does: one
// thread in a message loop, the end of the run coming from a timer. Prints the milliseconds
// of sound played, for scripts/bench-audio.sh, which measures the CPU this process needs.
//
// Usage: kestrin_audio_bench FILE SECONDS

#include <cstdio>
#include <cstdlib>

#include "platform/win32.h"

namespace {

void CALLBACK StopRun(HWND, UINT, UINT_PTR, DWORD) {
    PostQuitMessage(0);
}

DWORD_PTR Param(void* record) {
    return reinterpret_cast<DWORD_PTR>(record);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: kestrin_audio_bench FILE SECONDS\n");
        return 2;
    }
    MCI_OPEN_PARMSA open{};
    open.lpstrElementName = argv[1];
    if (MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, Param(&open))) {
        std::fprintf(stderr, "cannot open %s: MCI error %u\n", argv[1], error);
        return 1;
    }
    MCI_PLAY_PARMS play{};
    mciSendCommandA(open.wDeviceID, MCI_PLAY, 0, Param(&play));
    SetTimer(nullptr, 0, static_cast<UINT>(std::atoi(argv[2])) * 1000, &StopRun);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageA(&msg);
    }
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_POSITION;
    mciSendCommandA(open.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM, Param(&status));
    MCI_GENERIC_PARMS close{};
    mciSendCommandA(open.wDeviceID, MCI_CLOSE, MCI_WAIT, Param(&close));
    std::printf("%u\n", static_cast<unsigned>(status.dwReturn));
    return 0;
}
