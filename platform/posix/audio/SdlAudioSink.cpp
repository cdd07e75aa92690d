#include "platform/posix/audio/SdlAudioSink.h"

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

// About 20 ms per callback: short enough for pause and stop to be heard at once, long
// enough to keep the wake-ups few.
Uint16 CallbackFrames(std::uint32_t sampleRate) {
    std::uint32_t frames = std::bit_ceil(std::max<std::uint32_t>(sampleRate / 50, 1));
    return static_cast<Uint16>(std::clamp<std::uint32_t>(frames, 256, 8192));
}

} // namespace

SdlAudioSink::SdlAudioSink(const AudioFormat& format, AudioSource& source)
    : format(format), source(source) {}

SdlAudioSink::~SdlAudioSink() {
    Stop();
}

bool SdlAudioSink::Start() {
    if (device == 0) {
        if (!AudioSubsystemReady() || format.Channels > 255 ||
            format.SampleRate > static_cast<std::uint32_t>(INT32_MAX)) {
            return false;
        }
        SDL_AudioSpec wanted{};
        wanted.freq = static_cast<int>(format.SampleRate);
        wanted.format = AUDIO_F32SYS;
        wanted.channels = static_cast<Uint8>(format.Channels);
        wanted.samples = CallbackFrames(format.SampleRate);
        wanted.callback = &SdlAudioSink::Callback;
        wanted.userdata = this;
        // No obtained format is asked for: SDL then converts from exactly this one.
        device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
        if (device == 0) {
            return false;
        }
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlAudioSink::Stop() {
    if (device != 0) {
        // Pausing returns at once with the callback halted; closing then waits for SDL's
        // thread to finish its current period (up to some tens of milliseconds), and leaves
        // nothing running while the device is idle.
        SDL_PauseAudioDevice(device, 1);
        SDL_CloseAudioDevice(device);
        device = 0;
    }
}

void SdlAudioSink::Callback(void* self, std::uint8_t* stream, int length) {
    auto* sink = static_cast<SdlAudioSink*>(self);
    std::uint32_t frameBytes = sink->format.Channels * sizeof(float);
    // Once play is over the rest is silence until the owner stops the device.
    sink->source.Render(reinterpret_cast<float*>(stream),
                        static_cast<std::uint32_t>(length) / frameBytes);
}
