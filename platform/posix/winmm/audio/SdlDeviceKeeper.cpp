#include "platform/posix/winmm/audio/SdlDeviceKeeper.h"

#include <algorithm>
#include <thread>

SdlDeviceKeeper& SdlDeviceKeeper::Instance() {
    // Never destroyed: devices may still be parked while the process ends, and sinks
    // destroyed by other static objects still park theirs.
    static auto* keeper = new SdlDeviceKeeper();
    return *keeper;
}

SDL_AudioDeviceID SdlDeviceKeeper::Open(const SDL_AudioSpec& wanted) {
    std::lock_guard<std::mutex> guard(lock);
    // No obtained format is asked for: SDL then converts from exactly this one.
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0 && !parked.empty()) {
        // Some drivers have room for one open device only: the idle ones make way.
        CloseAll();
        device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    }
    return device;
}

void SdlDeviceKeeper::Park(SDL_AudioDeviceID device, std::chrono::milliseconds grace) {
    {
        std::lock_guard<std::mutex> guard(lock);
        parked.push_back({device, std::chrono::steady_clock::now() + grace});
        if (!running) {
            running = true;
            // Detached: the keeper is never destroyed.
            std::thread([this] { Run(); }).detach();
        }
    }
    wake.notify_one();
}

bool SdlDeviceKeeper::Reclaim(SDL_AudioDeviceID device) {
    std::lock_guard<std::mutex> guard(lock);
    auto found = std::find_if(parked.begin(), parked.end(),
                              [device](const Parked& p) { return p.Device == device; });
    if (found == parked.end()) {
        return false;
    }
    parked.erase(found);
    return true;
}

void SdlDeviceKeeper::Run() {
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        auto next = CloseDue();
        if (parked.empty()) {
            wake.wait(guard);
        } else {
            wake.wait_until(guard, next);
        }
    }
}

std::chrono::steady_clock::time_point SdlDeviceKeeper::CloseDue() {
    auto now = std::chrono::steady_clock::now();
    auto next = std::chrono::steady_clock::time_point::max();
    for (auto p = parked.begin(); p != parked.end();) {
        if (p->Due <= now) {
            // Under the lock: an open or a reclaim waits until the device is gone.
            SDL_CloseAudioDevice(p->Device);
            p = parked.erase(p);
        } else {
            next = std::min(next, p->Due);
            ++p;
        }
    }
    return next;
}

void SdlDeviceKeeper::CloseAll() {
    for (const Parked& p : parked) {
        SDL_CloseAudioDevice(p.Device);
    }
    parked.clear();
}
