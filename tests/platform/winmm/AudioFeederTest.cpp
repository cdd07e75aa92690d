#include "platform/posix/winmm/audio/AudioFeeder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

namespace {

std::string Media(const std::string& name) {
    return std::string(KESTRIN_MEDIA_DIR "/") + name;
}

class AudioFeederTest : public testing::Test {
protected:
    void OpenFile(const std::string& name) {
        ASSERT_EQ(decoder.Open(Media(name)), AudioDecoder::OpenResult::Opened);
        AudioDecoder reference;
        ASSERT_EQ(reference.Open(Media(name)), AudioDecoder::OpenResult::Opened);
        std::vector<float> chunk(4096 * reference.Channels());
        while (std::uint32_t got = reference.Read(chunk.data(), 4096)) {
            whole.insert(whole.end(), chunk.begin(), chunk.begin() + got * reference.Channels());
        }
    }

    // Reads the ring as a consumer would, waking the feeder for more, until the data ends.
    std::vector<float> Drain(AudioRing& ring, AudioFeeder& feeder) {
        std::vector<float> out;
        std::vector<float> chunk(1000);
        for (;;) {
            std::uint32_t seen = feeder.Progress();
            bool ended = feeder.DataEnded();
            std::size_t got = ring.Read(chunk.data(), chunk.size());
            out.insert(out.end(), chunk.begin(), chunk.begin() + got);
            feeder.Poke();
            if (got == 0) {
                if (ended) {
                    return out;
                }
                feeder.WaitForProgress(seen);
            }
        }
    }

    AudioDecoder decoder;
    std::vector<float> whole;
};

TEST_F(AudioFeederTest, DeliversTheWholeFileInOrderThroughASmallRing) {
    OpenFile("tone-44k-stereo.mp3");
    AudioRing ring(4096);
    AudioFeeder feeder(decoder, ring, 512, [] {});
    EXPECT_EQ(Drain(ring, feeder), whole);
    EXPECT_EQ(feeder.DataEnd(), 141120u);
}

TEST_F(AudioFeederTest, RestartContinuesFromTheGivenFrame) {
    OpenFile("tone-22k-mono.wav");
    AudioRing ring(2048);
    AudioFeeder feeder(decoder, ring, 256, [] {});
    float some[100];
    ring.Read(some, 100);
    feeder.Restart(50000);
    std::vector<float> expected(whole.begin() + 50000, whole.end());
    EXPECT_EQ(Drain(ring, feeder), expected);
    feeder.Restart(0);
    EXPECT_FALSE(feeder.DataEnded());
    EXPECT_EQ(Drain(ring, feeder), whole);
}

TEST_F(AudioFeederTest, FindsTheRealEndOfATruncatedStream) {
    OpenFile("truncated.mp3");
    AudioRing ring(8192);
    AudioFeeder feeder(decoder, ring, 1024, [] {});
    EXPECT_EQ(Drain(ring, feeder).size(), whole.size());
    EXPECT_EQ(feeder.DataEnd(), whole.size() / 2);
    EXPECT_LT(feeder.DataEnd(), decoder.Frames());
}

TEST_F(AudioFeederTest, RunsTheFinishedNoticeOnItsOwnThread) {
    OpenFile("tone-11k-8bit.wav");
    AudioRing ring(1024);
    std::atomic<int> notices{0};
    std::atomic<bool> onOtherThread{false};
    const auto testThread = std::this_thread::get_id();
    AudioFeeder feeder(decoder, ring, 256, [&] {
        onOtherThread = std::this_thread::get_id() != testThread;
        notices.fetch_add(1);
        notices.notify_all();
    });
    feeder.NoticeFinished();
    notices.wait(0);
    EXPECT_EQ(notices.load(), 1);
    EXPECT_TRUE(onOtherThread.load());
}

} // namespace
