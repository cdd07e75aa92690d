#include "platform/posix/winmm/audio/AudioTime.h"

#include <algorithm>

std::uint32_t MsOfFrames(std::uint64_t frames, std::uint32_t sampleRate) {
    constexpr std::uint64_t Limit = 0xFFFFFFFF;
    std::uint64_t seconds = frames / sampleRate;
    if (seconds > Limit / 1000) {
        return static_cast<std::uint32_t>(Limit);
    }
    std::uint64_t ms = seconds * 1000 + frames % sampleRate * 1000 / sampleRate;
    return static_cast<std::uint32_t>(std::min(ms, Limit));
}

std::uint64_t FramesOfMs(std::uint64_t ms, std::uint32_t sampleRate) {
    std::uint64_t whole = ms / 1000 * sampleRate;
    std::uint64_t part = ms % 1000 * sampleRate;
    // Below 1000 Hz a frame lasts more than a millisecond: the last frame started would end
    // after ms, so only the ones completed by then count.
    return whole + (sampleRate >= 1000 ? (part + 999) / 1000 : part / 1000);
}
