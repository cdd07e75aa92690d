#pragma once

#include <cstdint>

#include "platform/posix/winmm/audio/AudioSink.h"

// The desktop's default audio device through SDL. SDL converts the sample rate and the
// channel layout to whatever the device wants. The device is opened by Start; Stop pauses it
// and leaves its closing to the SdlDeviceKeeper, which gives it back to a Start soon after.
class SdlAudioSink final : public AudioSink {
public:
    SdlAudioSink(const AudioFormat& format, AudioSource& source);
    ~SdlAudioSink() override;

    bool Start() override;
    void Stop() override;

private:
    std::uint32_t OpenDevice() const;
    static void Callback(void* self, std::uint8_t* stream, int length);

    AudioFormat format;
    AudioSource& source;
    // The SDL device this sink plays through, 0 when none.
    std::uint32_t device = 0;
    // The device the last Stop parked with the keeper, 0 when none.
    std::uint32_t parked = 0;
};
