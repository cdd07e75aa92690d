#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

// The shape of the sound handed to a sink: interleaved float frames.
struct AudioFormat {
    std::uint32_t SampleRate = 0;
    std::uint32_t Channels = 0;
};

// What a sink pulls its sound from.
class AudioSource {
public:
    // Fills frameCount frames and answers whether play goes on after them. Called on the
    // sink's own thread while the sink runs: it must not allocate, lock or touch files.
    virtual bool Render(float* frames, std::uint32_t frameCount) = 0;
    // Blocks until frameCount frames can be rendered without a gap and whether more follow is
    // known. Only sinks that simulate a device call it; a real device never waits.
    virtual void AwaitFrames(std::uint32_t frameCount) = 0;

protected:
    ~AudioSource() = default;
};

// An output device. Every call comes from the thread that owns the sink (the GUI thread);
// the source is called from the sink's own thread, or from the owner's thread for a sink
// clocked by the virtual clock.
class AudioSink {
public:
    virtual ~AudioSink() = default;

    // Starts or continues pulling sound. False when the device cannot be opened.
    virtual bool Start() = 0;
    // Stops pulling and releases the device, so a paused or stopped sink costs nothing and
    // what the device still held is not heard. When it returns, no Render call is running
    // and none will until the next Start.
    virtual void Stop() = 0;

    // Renders everything that is due by the layer's clock now, on the caller's thread. Only
    // a sink clocked by the virtual clock has anything to do here.
    virtual void CatchUp() {}
    // Blocks until done is true. A sink clocked by the virtual clock renders ahead to that
    // point at once instead, since nothing else would move its time.
    virtual void WaitUntil(const std::atomic<bool>& done);
};

// The desktop's audio device; the null sink under the virtual clock.
std::unique_ptr<AudioSink> MakeAudioSink(const AudioFormat& format, AudioSource& source);
// The null sink, for when the device cannot be opened.
std::unique_ptr<AudioSink> MakeNullAudioSink(const AudioFormat& format, AudioSource& source);
