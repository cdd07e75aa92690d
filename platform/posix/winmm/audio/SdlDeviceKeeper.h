#pragma once

#include <SDL.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

// Opens SDL audio devices and closes them off the caller's thread.
//
// Closing an SDL device waits for its thread to finish a period, which is too slow for a
// command on the GUI thread. A sink that stops pauses its device and parks it here instead:
// the device stays open for a grace period, so a quick resume only unpauses it, and the
// keeper's own thread closes it once the period has passed. Every SDL open and close goes
// through here, one at a time.
class SdlDeviceKeeper {
public:
    // The one keeper of the process. It lives until the process ends.
    static SdlDeviceKeeper& Instance();

    SdlDeviceKeeper(const SdlDeviceKeeper&) = delete;
    SdlDeviceKeeper& operator=(const SdlDeviceKeeper&) = delete;

    // Opens the default output device for exactly this format, paused; 0 when it cannot.
    // Where the driver has room for only one device, the parked ones are closed first.
    SDL_AudioDeviceID Open(const SDL_AudioSpec& wanted);
    // Takes over a paused device and closes it once grace has passed.
    void Park(SDL_AudioDeviceID device, std::chrono::milliseconds grace);
    // Hands a parked device back to its owner, still paused. False when it has been closed
    // meanwhile (the owner then opens a new one).
    bool Reclaim(SDL_AudioDeviceID device);

private:
    SdlDeviceKeeper() = default;

    struct Parked {
        SDL_AudioDeviceID Device;
        std::chrono::steady_clock::time_point Due;
    };

    void Run();
    // Closes every parked device that is due; answers when the next one falls due. Called
    // with the lock held.
    std::chrono::steady_clock::time_point CloseDue();
    void CloseAll();

    std::mutex lock;
    std::condition_variable wake;
    std::vector<Parked> parked;
    // Whether the closing thread runs; it starts with the first park.
    bool running = false;
};
