#include "platform/posix/winmm/audio/AudioRing.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

namespace {

std::vector<float> Counting(std::size_t count, float first) {
    std::vector<float> values(count);
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = first + static_cast<float>(i);
    }
    return values;
}

TEST(AudioRingTest, CapacityIsRoundedUpToAPowerOfTwo) {
    struct Case {
        std::size_t Asked;
        std::size_t Capacity;
    };
    const Case cases[] = {{0, 1}, {1, 1}, {3, 4}, {1000, 1024}, {4096, 4096}, {4097, 8192}};
    for (const Case& c : cases) {
        EXPECT_EQ(AudioRing(c.Asked).Capacity(), c.Capacity) << c.Asked;
    }
}

TEST(AudioRingTest, WritesWhatFitsAndReadsWhatThereIs) {
    AudioRing ring(8);
    std::vector<float> in = Counting(10, 1);
    EXPECT_EQ(ring.Write(in.data(), 10), 8u);
    EXPECT_EQ(ring.Readable(), 8u);
    EXPECT_EQ(ring.Writable(), 0u);
    std::vector<float> out(10, -1);
    EXPECT_EQ(ring.Read(out.data(), 10), 8u);
    EXPECT_EQ(std::vector<float>(out.begin(), out.begin() + 8), Counting(8, 1));
    EXPECT_EQ(out[8], -1); // untouched past what was there
    EXPECT_EQ(ring.Read(out.data(), 1), 0u);
}

TEST(AudioRingTest, KeepsTheOrderAcrossTheWrapAround) {
    AudioRing ring(8);
    std::vector<float> out(8);
    float next = 0;
    float expected = 0;
    // Chunk sizes chosen so reads and writes straddle the end of the buffer in every way.
    for (std::size_t round = 0; round < 50; ++round) {
        std::size_t size = 1 + round % 7;
        std::vector<float> in = Counting(size, next);
        ASSERT_EQ(ring.Write(in.data(), size), size);
        next += static_cast<float>(size);
        ASSERT_EQ(ring.Read(out.data(), size), size);
        for (std::size_t i = 0; i < size; ++i) {
            ASSERT_EQ(out[i], expected++) << round;
        }
    }
}

TEST(AudioRingTest, ClearEmptiesIt) {
    AudioRing ring(4);
    std::vector<float> in = Counting(3, 5);
    ring.Write(in.data(), 3);
    ring.Clear();
    EXPECT_EQ(ring.Readable(), 0u);
    EXPECT_EQ(ring.Writable(), 4u);
    ring.Write(in.data(), 3);
    float out[3] = {};
    EXPECT_EQ(ring.Read(out, 3), 3u);
    EXPECT_EQ(out[2], 7);
}

TEST(AudioRingTest, OneProducerAndOneConsumerSeeEverySampleOnceInOrder) {
    constexpr std::uint32_t Total = 1 << 20;
    AudioRing ring(256);
    std::thread producer([&] {
        float chunk[37];
        std::uint32_t sent = 0;
        while (sent < Total) {
            std::size_t size = std::min<std::uint32_t>(37, Total - sent);
            for (std::size_t i = 0; i < size; ++i) {
                chunk[i] = static_cast<float>(sent + i);
            }
            std::size_t written = 0;
            while (written < size) {
                written += ring.Write(chunk + written, size - written);
            }
            sent += static_cast<std::uint32_t>(size);
        }
    });
    std::uint32_t received = 0;
    std::uint32_t mismatches = 0;
    float chunk[53];
    while (received < Total) {
        std::size_t got = ring.Read(chunk, 53);
        for (std::size_t i = 0; i < got; ++i) {
            mismatches += chunk[i] != static_cast<float>(received + i) ? 1 : 0;
        }
        received += static_cast<std::uint32_t>(got);
    }
    producer.join();
    EXPECT_EQ(mismatches, 0u);
    EXPECT_EQ(ring.Readable(), 0u);
}

} // namespace
