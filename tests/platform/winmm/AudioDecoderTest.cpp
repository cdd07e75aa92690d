#include "platform/posix/winmm/audio/AudioDecoder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string Media(const std::string& name) {
    return std::string(KESTRIN_MEDIA_DIR "/") + name;
}

// Every frame the decoder yields from where it stands, in chunks of chunkFrames.
std::vector<float> DecodeAll(AudioDecoder& decoder, std::uint32_t chunkFrames) {
    std::vector<float> all;
    std::vector<float> chunk(std::size_t{chunkFrames} * decoder.Channels());
    while (std::uint32_t got = decoder.Read(chunk.data(), chunkFrames)) {
        all.insert(all.end(), chunk.begin(), chunk.begin() + got * decoder.Channels());
    }
    return all;
}

TEST(AudioDecoderTest, ReportsTheFormatAndDecodesEveryAnnouncedFrame) {
    struct Case {
        const char* File;
        std::uint64_t Frames;
        std::uint32_t Rate;
        std::uint32_t Channels;
    };
    const Case cases[] = {
        {"tone-44k-stereo.wav", 141120, 44100, 2}, {"tone-44k-stereo.mp3", 141120, 44100, 2},
        {"tone-22k-mono.wav", 70560, 22050, 1},    {"tone-11k-8bit.wav", 35280, 11025, 1},
        {"lying-header.wav", 22050, 22050, 1},
    };
    for (const Case& c : cases) {
        AudioDecoder decoder;
        ASSERT_EQ(decoder.Open(Media(c.File)), AudioDecoder::OpenResult::Opened) << c.File;
        EXPECT_EQ(decoder.Frames(), c.Frames) << c.File;
        EXPECT_EQ(decoder.SampleRate(), c.Rate) << c.File;
        EXPECT_EQ(decoder.Channels(), c.Channels) << c.File;
        EXPECT_EQ(DecodeAll(decoder, 1000).size(), c.Frames * c.Channels) << c.File;
    }
}

TEST(AudioDecoderTest, TellsMissingFilesFromFilesThatAreNoSound) {
    struct Case {
        std::string Path;
        AudioDecoder::OpenResult Result;
    };
    const Case cases[] = {
        {Media("text.mp3"), AudioDecoder::OpenResult::Invalid},
        {Media("empty.mp3"), AudioDecoder::OpenResult::Invalid},
        {KESTRIN_MEDIA_DIR, AudioDecoder::OpenResult::Invalid},
        {"/dev/null", AudioDecoder::OpenResult::Invalid},
        {Media("missing.wav"), AudioDecoder::OpenResult::NotFound},
        {Media("tone-22k-mono.wav/inside"), AudioDecoder::OpenResult::NotFound},
    };
    for (const Case& c : cases) {
        AudioDecoder decoder;
        EXPECT_EQ(decoder.Open(c.Path), c.Result) << c.Path;
        float frame[2];
        EXPECT_EQ(decoder.Read(frame, 1), 0u) << c.Path;
    }
}

TEST(AudioDecoderTest, ATruncatedStreamDecodesLessThanItAnnounces) {
    AudioDecoder decoder;
    ASSERT_EQ(decoder.Open(Media("truncated.mp3")), AudioDecoder::OpenResult::Opened);
    EXPECT_EQ(decoder.Frames(), 141120u);
    std::size_t decoded = DecodeAll(decoder, 4096).size() / 2;
    EXPECT_GT(decoded, 60000u);
    EXPECT_LT(decoded, 141120u);
}

TEST(AudioDecoderTest, SeekingLandsOnTheExactFrame) {
    for (const char* file : {"tone-44k-stereo.wav", "tone-44k-stereo.mp3", "tone-11k-8bit.wav"}) {
        AudioDecoder decoder;
        ASSERT_EQ(decoder.Open(Media(file)), AudioDecoder::OpenResult::Opened) << file;
        std::vector<float> whole = DecodeAll(decoder, 4096);
        const std::uint64_t frame = 12345;
        ASSERT_TRUE(decoder.Seek(frame)) << file;
        std::vector<float> rest = DecodeAll(decoder, 777);
        std::vector<float> expected(whole.begin() + frame * decoder.Channels(), whole.end());
        EXPECT_EQ(rest, expected) << file;
    }
}

} // namespace
