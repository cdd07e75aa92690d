#include "platform/posix/winmm/audio/AudioRing.h"

#include <algorithm>
#include <bit>
#include <cstring>

AudioRing::AudioRing(std::size_t minimumCapacity)
    : buffer(new float[std::bit_ceil(std::max<std::size_t>(minimumCapacity, 1))]),
      mask(std::bit_ceil(std::max<std::size_t>(minimumCapacity, 1)) - 1) {}

std::size_t AudioRing::Readable() const {
    // Consumed first: it never passes the written count of any later moment, so the
    // difference cannot go negative when a third thread asks while both sides move.
    std::uint64_t start = consumed.load(std::memory_order_acquire);
    std::uint64_t end = written.load(std::memory_order_acquire);
    return std::min(static_cast<std::size_t>(end - start), Capacity());
}

std::size_t AudioRing::Writable() const {
    return Capacity() - Readable();
}

std::size_t AudioRing::Write(const float* samples, std::size_t count) {
    std::uint64_t end = written.load(std::memory_order_relaxed);
    std::uint64_t start = consumed.load(std::memory_order_acquire);
    std::size_t room = Capacity() - static_cast<std::size_t>(end - start);
    count = std::min(count, room);
    std::size_t at = static_cast<std::size_t>(end) & mask;
    std::size_t first = std::min(count, Capacity() - at);
    std::memcpy(buffer.get() + at, samples, first * sizeof(float));
    std::memcpy(buffer.get(), samples + first, (count - first) * sizeof(float));
    written.store(end + count, std::memory_order_release);
    return count;
}

std::size_t AudioRing::Read(float* samples, std::size_t count) {
    std::uint64_t start = consumed.load(std::memory_order_relaxed);
    std::uint64_t end = written.load(std::memory_order_acquire);
    count = std::min(count, static_cast<std::size_t>(end - start));
    std::size_t at = static_cast<std::size_t>(start) & mask;
    std::size_t first = std::min(count, Capacity() - at);
    std::memcpy(samples, buffer.get() + at, first * sizeof(float));
    std::memcpy(samples + first, buffer.get(), (count - first) * sizeof(float));
    consumed.store(start + count, std::memory_order_release);
    return count;
}

void AudioRing::Clear() {
    written.store(0, std::memory_order_relaxed);
    consumed.store(0, std::memory_order_release);
}
