#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

#include "platform/posix/winmm/audio/AudioDecoder.h"
#include "platform/posix/winmm/audio/AudioRing.h"

// Decodes a file on its own thread into a ring, keeping the ring filled ahead of the
// consumer. The thread sleeps while the ring is full and wakes when the consumer has made
// room, so it costs nothing while nothing plays.
class AudioFeeder {
public:
    // Starts the thread. The decoder and ring must outlive the feeder; chunkFrames is what
    // one decoding step adds to the ring. onFinished runs on the feeder's thread after the
    // consumer called NoticeFinished.
    AudioFeeder(AudioDecoder& decoder, AudioRing& ring, std::uint32_t chunkFrames,
                std::function<void()> onFinished);
    AudioFeeder(const AudioFeeder&) = delete;
    AudioFeeder& operator=(const AudioFeeder&) = delete;
    ~AudioFeeder();

    // Consumer side; lock-free and allocation-free, so safe in an audio callback.
    // Wakes the thread after the consumer made room in the ring.
    void Poke();
    // Asks the thread to run onFinished.
    void NoticeFinished();
    // Whether the thread has written the last decodable frame to the ring.
    bool DataEnded() const { return dataEnded.load(std::memory_order_acquire); }
    // The frame after the last decodable one, once DataEnded.
    std::uint64_t DataEnd() const { return dataEnd.load(std::memory_order_acquire); }

    // Counts the thread's decoding steps, so a caller can wait for the next one.
    std::uint32_t Progress() const { return progress.load(std::memory_order_acquire); }
    void WaitForProgress(std::uint32_t seen) const;

    // Empties the ring and continues decoding from frame. Returns when done. The consumer
    // must not be reading meanwhile.
    void Restart(std::uint64_t frame);

private:
    void Run();
    void RestartIfAsked();
    void DecodeChunk();
    void CountProgress();

    AudioDecoder& decoder;
    AudioRing& ring;
    std::uint32_t chunkFrames;
    std::function<void()> onFinished;
    // One decoded chunk on its way into the ring.
    std::unique_ptr<float[]> chunk;
    // The next frame the decoder yields; the thread's own.
    std::uint64_t nextFrame = 0;

    // Changed by every request to the thread; the thread sleeps on it.
    std::atomic<std::uint32_t> wakeups{0};
    std::atomic<bool> quit{false};
    std::atomic<bool> finishedNotice{false};
    std::atomic<bool> dataEnded{false};
    std::atomic<std::uint64_t> dataEnd{0};
    std::atomic<std::uint32_t> progress{0};
    // Restart requests: the frame, how many were asked for and how many are done.
    std::atomic<std::uint64_t> restartFrame{0};
    std::atomic<std::uint32_t> restartsAsked{0};
    std::atomic<std::uint32_t> restartsDone{0};

    std::thread thread;
};
