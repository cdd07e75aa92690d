#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/posix/winmm/audio/AudioSink.h"

// A device that plays into nothing at the pace of the layer's clock.
//
// Under the virtual clock it renders on the owner's thread, in CatchUp, exactly the frames
// that are due, waiting for the decoder where needed, so tests see positions to the
// millisecond. Under the real clock it renders from its own thread, like a device would.
class NullAudioSink final : public AudioSink {
public:
    NullAudioSink(const AudioFormat& format, AudioSource& source);
    ~NullAudioSink() override;

    bool Start() override;
    void Stop() override;
    void CatchUp() override;
    void WaitUntil(const std::atomic<bool>& done) override;

private:
    // Renders every frame due by the clock; awaiting the source when simulating.
    void RenderDue();
    // Renders frames; false once play is over.
    bool RenderStep(std::uint32_t frames);
    void RunRealTime();

    AudioFormat format;
    AudioSource& source;
    // Scratch for the rendered frames, which go nowhere.
    std::unique_ptr<float[]> scratch;
    bool running = false;
    // Taken from the clock at Start: whether it is the virtual one.
    bool simulating = false;
    // The clock at Start, and the frames rendered since.
    std::uint64_t startMs = 0;
    std::uint64_t rendered = 0;

    // The real-time thread and its stop request.
    std::thread thread;
    std::mutex lock;
    std::condition_variable wake;
    bool stopRequested = false;
};
