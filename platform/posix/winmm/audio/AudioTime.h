#pragma once

#include <cstdint>

// Conversions between frames and the whole milliseconds that MCI counts in.

// The milliseconds that frames last, rounded down (so the end of the data reads as the
// length), at most 0xFFFFFFFF.
std::uint32_t MsOfFrames(std::uint64_t frames, std::uint32_t sampleRate);

// The frames that start within ms. Reading them back with MsOfFrames gives ms exactly at
// rates of 1000 Hz and more, and never more than ms at lower rates.
std::uint64_t FramesOfMs(std::uint64_t ms, std::uint32_t sampleRate);
