#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

// A lock-free ring of float samples between exactly one producer thread and one consumer
// thread. Write is called only by the producer, Read only by the consumer; neither blocks,
// allocates or locks, so Read is safe in a real-time audio callback.
class AudioRing {
public:
    // Holds at least minimumCapacity samples (rounded up to a power of two).
    explicit AudioRing(std::size_t minimumCapacity);
    AudioRing(const AudioRing&) = delete;
    AudioRing& operator=(const AudioRing&) = delete;

    std::size_t Capacity() const { return mask + 1; }
    std::size_t Readable() const;
    std::size_t Writable() const;

    // Copies up to count samples in; answers how many fitted.
    std::size_t Write(const float* samples, std::size_t count);
    // Copies up to count samples out; answers how many there were.
    std::size_t Read(float* samples, std::size_t count);

    // Empties the ring. Only while neither side is using it.
    void Clear();

private:
    std::unique_ptr<float[]> buffer;
    std::size_t mask;
    // Samples ever written and ever read. They only grow (wrapping at 2^64, which the
    // unsigned differences tolerate); each is stored by its own side only.
    alignas(64) std::atomic<std::uint64_t> written{0};
    alignas(64) std::atomic<std::uint64_t> consumed{0};
};
