#include "platform/posix/winmm/audio/AudioTime.h"

#include <gtest/gtest.h>

namespace {

TEST(AudioTimeTest, MillisecondsReadBackExactlyAtCommonRates) {
    for (std::uint32_t rate : {8000u, 11025u, 22050u, 44100u, 48000u, 96000u, 1000u}) {
        for (std::uint64_t ms = 0; ms < 5000; ++ms) {
            ASSERT_EQ(MsOfFrames(FramesOfMs(ms, rate), rate), ms) << rate;
        }
    }
}

TEST(AudioTimeTest, SlowRatesNeverReadBackLater) {
    for (std::uint32_t rate : {1u, 7u, 288u, 999u}) {
        for (std::uint64_t ms = 0; ms < 5000; ++ms) {
            ASSERT_LE(MsOfFrames(FramesOfMs(ms, rate), rate), ms) << rate;
        }
    }
}

TEST(AudioTimeTest, ConversionsAtTheEdges) {
    struct Case {
        std::uint64_t Frames;
        std::uint32_t Rate;
        std::uint32_t Ms;
    };
    const Case cases[] = {
        {141120, 44100, 3200},
        {69167, 44100, 1568}, // rounded down
        {1, 44100, 0},
        {44099, 44100, 999},
        {std::uint64_t{1} << 62, 1, 0xFFFFFFFF}, // longer than a DWORD counts
        {4294967295ull, 1000, 4294967295u},
        {4294967296ull, 1000, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MsOfFrames(c.Frames, c.Rate), c.Ms) << c.Frames << " at " << c.Rate;
    }
    EXPECT_EQ(FramesOfMs(0xFFFFFFFF, 4000000000u), 17179869180000000ull);
}

} // namespace
