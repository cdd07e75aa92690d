#include "platform/posix/winmm/audio/AudioFeeder.h"

AudioFeeder::AudioFeeder(AudioDecoder& decoder, AudioRing& ring, std::uint32_t chunkFrames,
                         std::function<void()> onFinished)
    : decoder(decoder), ring(ring), chunkFrames(chunkFrames), onFinished(std::move(onFinished)),
      chunk(new float[std::size_t{chunkFrames} * decoder.Channels()]), thread([this] { Run(); }) {}

AudioFeeder::~AudioFeeder() {
    quit.store(true, std::memory_order_release);
    Poke();
    thread.join();
}

void AudioFeeder::Poke() {
    wakeups.fetch_add(1, std::memory_order_release);
    wakeups.notify_one();
}

void AudioFeeder::NoticeFinished() {
    finishedNotice.store(true, std::memory_order_release);
    Poke();
}

void AudioFeeder::WaitForProgress(std::uint32_t seen) const {
    progress.wait(seen, std::memory_order_acquire);
}

void AudioFeeder::Restart(std::uint64_t frame) {
    restartFrame.store(frame, std::memory_order_relaxed);
    std::uint32_t asked = restartsAsked.fetch_add(1, std::memory_order_release) + 1;
    Poke();
    for (std::uint32_t done = restartsDone.load(std::memory_order_acquire); done != asked;
         done = restartsDone.load(std::memory_order_acquire)) {
        restartsDone.wait(done, std::memory_order_acquire);
    }
}

void AudioFeeder::Run() {
    for (;;) {
        std::uint32_t seen = wakeups.load(std::memory_order_acquire);
        if (quit.load(std::memory_order_acquire)) {
            return;
        }
        RestartIfAsked();
        if (finishedNotice.exchange(false, std::memory_order_acq_rel)) {
            onFinished();
        }
        std::size_t chunkSamples = std::size_t{chunkFrames} * decoder.Channels();
        if (!DataEnded() && ring.Writable() >= chunkSamples) {
            DecodeChunk();
            continue;
        }
        wakeups.wait(seen, std::memory_order_acquire);
    }
}

void AudioFeeder::RestartIfAsked() {
    std::uint32_t asked = restartsAsked.load(std::memory_order_acquire);
    if (asked == restartsDone.load(std::memory_order_relaxed)) {
        return;
    }
    std::uint64_t frame = restartFrame.load(std::memory_order_relaxed);
    ring.Clear();
    nextFrame = frame;
    // A file that cannot be positioned there has no data from there on.
    bool positioned = decoder.Seek(frame);
    dataEnd.store(frame, std::memory_order_relaxed);
    dataEnded.store(!positioned, std::memory_order_release);
    restartsDone.store(asked, std::memory_order_release);
    restartsDone.notify_all();
    CountProgress();
}

void AudioFeeder::DecodeChunk() {
    std::uint32_t decoded = decoder.Read(chunk.get(), chunkFrames);
    if (decoded == 0) {
        dataEnd.store(nextFrame, std::memory_order_relaxed);
        dataEnded.store(true, std::memory_order_release);
    } else {
        ring.Write(chunk.get(), std::size_t{decoded} * decoder.Channels());
        nextFrame += decoded;
    }
    CountProgress();
}

void AudioFeeder::CountProgress() {
    progress.fetch_add(1, std::memory_order_release);
    progress.notify_all();
}
