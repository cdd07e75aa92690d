#pragma once

#include <cstdint>

#include "platform/posix/audio/AudioSink.h"

// The desktop's default audio device through SDL. SDL converts the sample rate and the
// channel layout to whatever the device wants. The device is opened by Start and released by
// Stop.
class SdlAudioSink final : public AudioSink {
public:
    SdlAudioSink(const AudioFormat& format, AudioSource& source);
    ~SdlAudioSink() override;

    bool Start() override;
    void Stop() override;

private:
    static void Callback(void* self, std::uint8_t* stream, int length);

    AudioFormat format;
    AudioSource& source;
    // The open SDL device, 0 when none.
    std::uint32_t device = 0;
};
