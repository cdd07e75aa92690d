#include "platform/posix/winmm/audio/SdlAudioSink.h"

#include "platform/posix/winmm/audio/SdlDeviceKeeper.h"

#include <SDL.h>

#include <algorithm>
#include <bit>
#include <mutex>

namespace {

// The audio subsystem is started on first use only, so a program that never plays sound
// never touches the sound server.
bool AudioSubsystemReady() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0; });
    return ready;
}

// The longest power of two of frames within 50 ms per callback: every callback wakes a
// thread, so fewer of them cost less, while pause and stop are still heard within 50 ms.
Uint16 CallbackFrames(std::uint32_t sampleRate) {
    std::uint32_t frames = std::bit_floor(std::max<std::uint32_t>(sampleRate / 20, 1));
    return static_cast<Uint16>(std::clamp<std::uint32_t>(frames, 256, 8192));
}

// How long a stopped device stays open for a resume to reuse it.
constexpr std::chrono::milliseconds ParkedGrace(2000);

} // namespace

SdlAudioSink::SdlAudioSink(const AudioFormat& format, AudioSource& source)
    : format(format), source(source) {}

// The paused device never calls back again, so it may outlive the sink; it is closed at once.
SdlAudioSink::~SdlAudioSink() {
    Stop();
    if (SdlDeviceKeeper::Instance().Reclaim(parked)) {
        SdlDeviceKeeper::Instance().Park(parked, std::chrono::milliseconds(0));
    }
}

bool SdlAudioSink::Start() {
    if (device == 0 && parked != 0 && SdlDeviceKeeper::Instance().Reclaim(parked)) {
        device = parked;
    }
    parked = 0;
    if (device == 0) {
        device = OpenDevice();
        if (device == 0) {
            return false;
        }
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

// Pausing returns at once with the callback halted. The device stays open for a while, so
// that resuming costs nothing, and is closed by the keeper, off this thread.
void SdlAudioSink::Stop() {
    if (device != 0) {
        SDL_PauseAudioDevice(device, 1);
        SdlDeviceKeeper::Instance().Park(device, ParkedGrace);
        parked = device;
        device = 0;
    }
}

std::uint32_t SdlAudioSink::OpenDevice() const {
    if (!AudioSubsystemReady() || format.Channels > 255 ||
        format.SampleRate > static_cast<std::uint32_t>(INT32_MAX)) {
        return 0;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(format.SampleRate);
    wanted.format = AUDIO_F32SYS;
    wanted.channels = static_cast<Uint8>(format.Channels);
    wanted.samples = CallbackFrames(format.SampleRate);
    wanted.callback = &SdlAudioSink::Callback;
    wanted.userdata = const_cast<SdlAudioSink*>(this);
    return SdlDeviceKeeper::Instance().Open(wanted);
}

void SdlAudioSink::Callback(void* self, std::uint8_t* stream, int length) {
    auto* sink = static_cast<SdlAudioSink*>(self);
    std::uint32_t frameBytes = sink->format.Channels * sizeof(float);
    // Once play is over the rest is silence until the owner stops the device.
    sink->source.Render(reinterpret_cast<float*>(stream),
                        static_cast<std::uint32_t>(length) / frameBytes);
}
