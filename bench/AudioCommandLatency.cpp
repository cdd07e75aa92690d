// Measures how long the transport commands take through MCI on the real audio engine: plays
// a file and pauses, resumes, stops and rewinds it the way the player does, with pauses both
// shorter and longer than a stopped device is kept open. Prints, per command, how many were
// timed and their median and longest wall-clock time in milliseconds.
//
// Usage: kestrin_audio_latency FILE CYCLES

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32.h"

namespace {

using Clock = std::chrono::steady_clock;

DWORD_PTR Param(void* record) {
    return reinterpret_cast<DWORD_PTR>(record);
}

class Timings {
public:
    // Sends a command and notes how long it took under name; answers its result.
    MCIERROR Send(const char* name, MCIDEVICEID id, UINT command, DWORD flags, void* record) {
        Clock::time_point start = Clock::now();
        MCIERROR result = mciSendCommandA(id, command, flags, Param(record));
        std::chrono::duration<double, std::milli> took = Clock::now() - start;
        samples[name].push_back(took.count());
        return result;
    }

    void Print() {
        for (auto& [name, times] : samples) {
            std::sort(times.begin(), times.end());
            std::printf("%-14s n=%-3zu median %6.2f ms  max %6.2f ms\n", name.c_str(), times.size(),
                        times[times.size() / 2], times.back());
        }
    }

private:
    std::map<std::string, std::vector<double>> samples;
};

void Wait(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: kestrin_audio_latency FILE CYCLES\n");
        return 2;
    }
    MCI_OPEN_PARMSA open{};
    open.lpstrElementName = argv[1];
    if (MCIERROR error = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, Param(&open))) {
        std::fprintf(stderr, "cannot open %s: MCI error %u\n", argv[1], error);
        return 1;
    }
    const MCIDEVICEID id = open.wDeviceID;
    const int cycles = std::atoi(argv[2]);
    Timings timings;
    MCI_PLAY_PARMS play{};
    MCI_GENERIC_PARMS generic{};
    MCI_SEEK_PARMS seek{};
    for (int cycle = 0; cycle < cycles; ++cycle) {
        timings.Send("play", id, MCI_PLAY, MCI_NOTIFY, &play);
        Wait(300 + 37 * (cycle % 5));
        timings.Send("pause", id, MCI_PAUSE, MCI_WAIT, &generic);
        // Every third pause outlasts the time a stopped device is kept open.
        bool longPause = cycle % 3 == 2;
        Wait(longPause ? 2500 : 150);
        timings.Send(longPause ? "resume (late)" : "resume", id, MCI_RESUME, MCI_WAIT, &generic);
        Wait(250);
        timings.Send("stop", id, MCI_STOP, MCI_NOTIFY, &generic);
        timings.Send("seek to 0", id, MCI_SEEK, MCI_TO | MCI_NOTIFY, &seek);
        Wait(100);
    }
    timings.Send("close", id, MCI_CLOSE, MCI_WAIT, &generic);
    timings.Print();
    return 0;
}
