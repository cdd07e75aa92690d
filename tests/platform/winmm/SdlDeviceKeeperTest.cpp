// The keeper of stopped SDL devices on SDL's dummy driver: a parked device stays open until
// its grace period ends and can be taken back until then; afterwards it is closed. The dummy
// driver has room for one open device, as some real ones have.

#include "platform/posix/winmm/audio/SdlDeviceKeeper.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;

void Silence(void*, Uint8* stream, int length) {
    SDL_memset(stream, 0, static_cast<size_t>(length));
}

class SdlDeviceKeeperTest : public testing::Test {
protected:
    void SetUp() override {
        // The dummy driver keeps real time without a sound card. The subsystem stays up, as
        // the sinks that share it expect.
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        if (SDL_GetCurrentAudioDriver() != std::string("dummy")) {
            GTEST_SKIP() << "needs SDL's dummy audio driver, not " << SDL_GetCurrentAudioDriver();
        }
    }

    static SDL_AudioDeviceID Open() {
        SDL_AudioSpec wanted{};
        wanted.freq = 8000;
        wanted.format = AUDIO_F32SYS;
        wanted.channels = 1;
        wanted.samples = 256;
        wanted.callback = &Silence;
        SDL_AudioDeviceID device = Keeper().Open(wanted);
        EXPECT_NE(device, 0u) << SDL_GetError();
        return device;
    }
    static SdlDeviceKeeper& Keeper() { return SdlDeviceKeeper::Instance(); }

    // Waits up to five seconds for the device to be closed; answers whether it was.
    static bool Closes(SDL_AudioDeviceID device) {
        auto deadline = std::chrono::steady_clock::now() + 5s;
        while (SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_STOPPED) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(5ms);
        }
        return true;
    }
};

TEST_F(SdlDeviceKeeperTest, ADeviceOpensPausedAndIsClosedOnceItsGraceHasPassed) {
    SDL_AudioDeviceID device = Open();
    EXPECT_EQ(SDL_GetAudioDeviceStatus(device), SDL_AUDIO_PAUSED);
    Keeper().Park(device, 0ms);
    EXPECT_TRUE(Closes(device));
    EXPECT_FALSE(Keeper().Reclaim(device));
}

TEST_F(SdlDeviceKeeperTest, ADeviceTakenBackWithinItsGraceStaysOpen) {
    SDL_AudioDeviceID device = Open();
    SDL_PauseAudioDevice(device, 0);
    SDL_PauseAudioDevice(device, 1);
    Keeper().Park(device, 60s);
    EXPECT_TRUE(Keeper().Reclaim(device));
    // Taken back once: a second reclaim finds nothing.
    EXPECT_FALSE(Keeper().Reclaim(device));
    SDL_PauseAudioDevice(device, 0);
    EXPECT_EQ(SDL_GetAudioDeviceStatus(device), SDL_AUDIO_PLAYING);
    SDL_PauseAudioDevice(device, 1);
    Keeper().Park(device, 0ms);
    EXPECT_TRUE(Closes(device));
}

TEST_F(SdlDeviceKeeperTest, ParkedDevicesMakeWayForANewOneWhereOnlyOneFits) {
    SDL_AudioDeviceID first = Open();
    Keeper().Park(first, 60s);
    SDL_AudioDeviceID second = Open();
    EXPECT_NE(second, 0u);
    // The first is gone (SDL may even give its identifier to the second).
    EXPECT_FALSE(Keeper().Reclaim(first));
    Keeper().Park(second, 0ms);
    EXPECT_TRUE(Closes(second));
}

} // namespace
