#include "platform/posix/winmm/audio/NullAudioSink.h"

#include <algorithm>
#include <chrono>

#include "platform/posix/kernel32/clock.h"
#include "platform/posix/winmm/audio/AudioTime.h"

namespace {

// Frames rendered per step, within what the device's ring can always supply at once.
constexpr std::uint32_t StepFrames = 512;
// How often the real-time thread renders.
constexpr auto RealTimePeriod = std::chrono::milliseconds(10);

} // namespace

NullAudioSink::NullAudioSink(const AudioFormat& format, AudioSource& source)
    : format(format), source(source),
      scratch(new float[std::size_t{StepFrames} * format.Channels]) {}

NullAudioSink::~NullAudioSink() {
    Stop();
}

bool NullAudioSink::Start() {
    if (running) {
        return true;
    }
    running = true;
    simulating = posix::ClockIsVirtual();
    startMs = posix::NowMs();
    rendered = 0;
    if (!simulating) {
        stopRequested = false;
        thread = std::thread([this] { RunRealTime(); });
    }
    return true;
}

void NullAudioSink::Stop() {
    if (!running) {
        return;
    }
    if (thread.joinable()) {
        {
            std::lock_guard<std::mutex> guard(lock);
            stopRequested = true;
        }
        wake.notify_one();
        thread.join();
    }
    RenderDue();
    running = false;
}

void NullAudioSink::CatchUp() {
    if (running && simulating) {
        RenderDue();
    }
}

void NullAudioSink::WaitUntil(const std::atomic<bool>& done) {
    if (!simulating) {
        AudioSink::WaitUntil(done);
        return;
    }
    // Nothing moves the virtual clock while the caller waits, so play runs ahead of it.
    while (running && RenderStep(StepFrames)) {
    }
}

void NullAudioSink::RenderDue() {
    // A clock set back (a test driver starting over) has nothing due.
    std::uint64_t now = posix::NowMs();
    std::uint64_t due = FramesOfMs(now > startMs ? now - startMs : 0, format.SampleRate);
    while (rendered < due) {
        auto step = static_cast<std::uint32_t>(std::min<std::uint64_t>(due - rendered, StepFrames));
        if (!RenderStep(step)) {
            // Play is over: the rest would be silence, which nobody hears.
            rendered = due;
        }
    }
}

bool NullAudioSink::RenderStep(std::uint32_t frames) {
    if (simulating) {
        source.AwaitFrames(frames);
    }
    rendered += frames;
    return source.Render(scratch.get(), frames);
}

void NullAudioSink::RunRealTime() {
    for (;;) {
        {
            std::unique_lock<std::mutex> guard(lock);
            if (wake.wait_for(guard, RealTimePeriod, [this] { return stopRequested; })) {
                return;
            }
        }
        RenderDue();
    }
}
