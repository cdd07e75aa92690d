#pragma once

#include <cstdint>
#include <string>

// Reads a sound file as interleaved float frames. Anything libsndfile can open is accepted:
// WAV in all its codecs, MP3 and the other formats the library knows.
//
// Used by one thread at a time: opened on the caller's thread, then read and positioned only
// by the feeder thread.
class AudioDecoder {
public:
    // Why an open failed.
    enum class OpenResult { Opened, NotFound, Invalid };

    AudioDecoder() = default;
    AudioDecoder(const AudioDecoder&) = delete;
    AudioDecoder& operator=(const AudioDecoder&) = delete;
    ~AudioDecoder();

    OpenResult Open(const std::string& path);

    // The frame count the file announces; the data may end earlier when the file is damaged.
    std::uint64_t Frames() const { return frames; }
    std::uint32_t SampleRate() const { return sampleRate; }
    std::uint32_t Channels() const { return channels; }

    // Decodes up to frameCount frames into buffer (frameCount * Channels() floats) and answers
    // how many were decoded; 0 at the end of the data or on a decoding error.
    std::uint32_t Read(float* buffer, std::uint32_t frameCount);

    // Positions the next Read at frame. False when the file cannot be positioned there.
    bool Seek(std::uint64_t frame);

private:
    void Close();

    // The libsndfile handle, owned; null until a successful Open.
    struct sf_private_tag* file = nullptr;
    // The open file under it, owned.
    int descriptor = -1;
    std::uint64_t frames = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t channels = 0;
};
