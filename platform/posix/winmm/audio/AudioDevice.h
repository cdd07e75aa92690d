#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "platform/posix/winmm/audio/AudioDecoder.h"
#include "platform/posix/winmm/audio/AudioFeeder.h"
#include "platform/posix/winmm/audio/AudioRing.h"
#include "platform/posix/winmm/audio/AudioSink.h"

// One open sound file and its way to the output: a feeder thread decodes into a ring, a
// sink plays from it. The device is a state machine driven by Transition on the owner's
// thread; the sink's thread only renders and reports that the play range was finished.
class AudioDevice final : private AudioSource {
public:
    enum class State {
        Stopped, // not playing; the position stays where it is
        Playing, // the sink pulls frames up to the end of the play range
        Paused,  // play interrupted; Resume goes on to the same end
        Ended,   // a play ran to the end of its range; otherwise as Stopped
    };

    // A play range ending at the end of the data, wherever that turns out to be.
    static constexpr std::uint64_t ToEnd = std::numeric_limits<std::uint64_t>::max();

    struct Command {
        enum class Kind { Play, Pause, Resume, Stop, Seek, Finish };
        Kind What;
        // Play: the range [From, To) in frames. Seek: the new position in From.
        std::uint64_t From = 0;
        std::uint64_t To = ToEnd;
    };

    // Opens path and starts decoding ahead. onFinished is called on another thread when a
    // play range has been played to its end; the owner then calls Sync on its own thread.
    static std::unique_ptr<AudioDevice> Open(const std::string& path,
                                             std::function<void()> onFinished,
                                             AudioDecoder::OpenResult& result);
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;
    ~AudioDevice();

    State GetState() const { return state; }
    std::uint32_t SampleRate() const { return decoder.SampleRate(); }
    // The frames in the file: what it announces, until a play ran out of data elsewhere.
    std::uint64_t LengthFrames() const { return length; }
    // The frames played so far, or the position set by the last seek.
    std::uint64_t PositionFrames() const { return played.load(std::memory_order_acquire); }
    // The frames from the position to the end of the play range, or of the length when the
    // range runs to the end; 0 once there.
    std::uint64_t FramesToEnd() const;

    // The one place the state changes.
    void Transition(const Command& command);
    // Lets a sink on the virtual clock catch up with it, and ends a finished play. Call it
    // before reading the state or the position.
    void Sync();
    // Blocks until the current play has finished, then ends it.
    void WaitForEnd();

private:
    AudioDevice() = default;

    bool Render(float* frames, std::uint32_t frameCount) override;
    void AwaitFrames(std::uint32_t frameCount) override;

    void Play(std::uint64_t from, std::uint64_t to);
    void Relocate(std::uint64_t frame);
    void StartSink();

    AudioDecoder decoder;
    std::unique_ptr<AudioRing> ring;
    std::unique_ptr<AudioFeeder> feeder;
    std::unique_ptr<AudioSink> sink;
    State state = State::Stopped;
    // The announced frame count, corrected where a play found the real end of the data.
    std::uint64_t length = 0;
    // The renderer wakes the feeder once this many samples are free in the ring.
    std::size_t chunkSamples = 0;

    // Shared with the sink's thread.
    std::atomic<std::uint64_t> played{0};
    std::atomic<std::uint64_t> playTo{ToEnd};
    std::atomic<bool> finished{false};
};
