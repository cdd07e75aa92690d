#include "platform/posix/winmm/audio/AudioSink.h"

#include "platform/posix/kernel32/clock.h"
#include "platform/posix/winmm/audio/NullAudioSink.h"
#include "platform/posix/winmm/audio/SdlAudioSink.h"

void AudioSink::WaitUntil(const std::atomic<bool>& done) {
    done.wait(false, std::memory_order_acquire);
}

std::unique_ptr<AudioSink> MakeAudioSink(const AudioFormat& format, AudioSource& source) {
    if (posix::ClockIsVirtual()) {
        return MakeNullAudioSink(format, source);
    }
    return std::make_unique<SdlAudioSink>(format, source);
}

std::unique_ptr<AudioSink> MakeNullAudioSink(const AudioFormat& format, AudioSource& source) {
    return std::make_unique<NullAudioSink>(format, source);
}
