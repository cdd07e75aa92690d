#include "platform/posix/winmm/audio/AudioDevice.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

// The ring holds about two seconds, at most 2^20 samples. The renderer wakes the feeder once
// a quarter of it is free, so the feeder wakes seldom and decodes much at a time, in reads
// short enough to notice a restart soon.
constexpr std::uint32_t MaxRingSamples = 1u << 20;
constexpr std::uint32_t MinRingFrames = 1024;
constexpr std::uint32_t ChunksPerRing = 4;
constexpr std::uint32_t ReadFrames = 4096;

std::uint32_t RingFrames(std::uint32_t sampleRate, std::uint32_t channels) {
    std::uint32_t frames =
        std::bit_ceil(std::clamp<std::uint32_t>(std::min(sampleRate, 65536u) * 2, 4096, 131072));
    std::uint32_t limit = MaxRingSamples / std::bit_ceil(channels);
    return std::max(std::min(frames, limit), MinRingFrames);
}

} // namespace

std::unique_ptr<AudioDevice> AudioDevice::Open(const std::string& path,
                                               std::function<void()> onFinished,
                                               AudioDecoder::OpenResult& result) {
    std::unique_ptr<AudioDevice> device(new AudioDevice());
    result = device->decoder.Open(path);
    if (result != AudioDecoder::OpenResult::Opened) {
        return nullptr;
    }
    device->length = device->decoder.Frames();
    std::uint32_t channels = device->decoder.Channels();
    std::uint32_t ringFrames = RingFrames(device->decoder.SampleRate(), channels);
    std::uint32_t chunkFrames = ringFrames / ChunksPerRing;
    device->chunkSamples = std::size_t{chunkFrames} * channels;
    device->ring = std::make_unique<AudioRing>(std::size_t{ringFrames} * channels);
    device->feeder = std::make_unique<AudioFeeder>(
        device->decoder, *device->ring, std::min(chunkFrames, ReadFrames), std::move(onFinished));
    AudioFormat format{device->decoder.SampleRate(), channels};
    device->sink = MakeAudioSink(format, *device);
    return device;
}

// The sink goes first, so nothing renders while the feeder and the ring are taken down.
AudioDevice::~AudioDevice() {
    sink.reset();
    feeder.reset();
}

std::uint64_t AudioDevice::FramesToEnd() const {
    std::uint64_t end = std::min(playTo.load(std::memory_order_acquire), length);
    std::uint64_t position = PositionFrames();
    return end > position ? end - position : 0;
}

void AudioDevice::Transition(const Command& command) {
    switch (command.What) {
    case Command::Kind::Play:
        Play(command.From, command.To);
        break;
    case Command::Kind::Pause:
        if (state == State::Playing) {
            sink->Stop();
            state = State::Paused;
        }
        break;
    case Command::Kind::Resume:
        if (state == State::Paused) {
            StartSink();
            state = State::Playing;
        }
        break;
    case Command::Kind::Stop:
        sink->Stop();
        state = State::Stopped;
        break;
    case Command::Kind::Seek:
        sink->Stop();
        Relocate(command.From);
        state = State::Stopped;
        break;
    case Command::Kind::Finish:
        if (state == State::Playing) {
            sink->Stop();
            state = State::Ended;
            // Where play ran out of data is where the file ends, whatever it announced: the
            // position must equal the length at the end.
            if (feeder->DataEnded() && feeder->DataEnd() == PositionFrames()) {
                length = PositionFrames();
            }
        }
        break;
    }
}

void AudioDevice::Sync() {
    sink->CatchUp();
    if (state == State::Playing && finished.load(std::memory_order_acquire)) {
        Transition({Command::Kind::Finish});
    }
}

void AudioDevice::WaitForEnd() {
    if (state == State::Playing) {
        sink->WaitUntil(finished);
        Sync();
    }
}

void AudioDevice::Play(std::uint64_t from, std::uint64_t to) {
    if (state == State::Playing) {
        sink->Stop();
    }
    if (from != PositionFrames()) {
        Relocate(from);
    }
    playTo.store(to, std::memory_order_release);
    finished.store(false, std::memory_order_release);
    if (from >= to) {
        sink->Stop();
        state = State::Ended;
        return;
    }
    StartSink();
    state = State::Playing;
}

void AudioDevice::Relocate(std::uint64_t frame) {
    feeder->Restart(frame);
    played.store(frame, std::memory_order_release);
}

// A device that cannot be opened (none there, or it refuses the format) leaves the null
// sink on the real clock, so play still runs its course in time.
void AudioDevice::StartSink() {
    if (!sink->Start()) {
        sink = MakeNullAudioSink({decoder.SampleRate(), decoder.Channels()}, *this);
        sink->Start();
    }
}

bool AudioDevice::Render(float* frames, std::uint32_t frameCount) {
    std::uint32_t channels = decoder.Channels();
    std::uint64_t position = played.load(std::memory_order_relaxed);
    std::uint64_t end = playTo.load(std::memory_order_acquire);
    // Read before the ring: whatever was decoded before the end was marked is in it.
    bool dataEnded = feeder->DataEnded();
    auto wanted = static_cast<std::uint32_t>(std::min<std::uint64_t>(frameCount, end - position));
    auto got =
        static_cast<std::uint32_t>(ring->Read(frames, std::size_t{wanted} * channels) / channels);
    played.store(position + got, std::memory_order_release);
    std::memset(frames + std::size_t{got} * channels, 0,
                std::size_t{frameCount - got} * channels * sizeof(float));
    // Finished at the end of the range, or once the last decoded frame has been played.
    if (!finished.load(std::memory_order_relaxed) &&
        (position + got == end || (dataEnded && ring->Readable() == 0))) {
        finished.store(true, std::memory_order_release);
        finished.notify_all();
        feeder->NoticeFinished();
    }
    if (ring->Writable() >= chunkSamples) {
        feeder->Poke();
    }
    return !finished.load(std::memory_order_relaxed);
}

void AudioDevice::AwaitFrames(std::uint32_t frameCount) {
    std::size_t channels = decoder.Channels();
    for (;;) {
        std::uint32_t seen = feeder->Progress();
        std::uint64_t left =
            playTo.load(std::memory_order_acquire) - played.load(std::memory_order_acquire);
        std::size_t needed = std::min<std::uint64_t>(frameCount, left) * channels;
        // More than needed, or the end: then the render that follows knows whether the data
        // goes on after its frames, and a play that ends in it ends at once.
        if (feeder->DataEnded() || ring->Readable() > needed) {
            return;
        }
        feeder->WaitForProgress(seen);
    }
}
