// The media engine opens what the desktop entry offers it beyond MP3 and WAVE: FLAC, Ogg Vorbis
// and Opus files, written here with the decoding library itself, open as MCI devices of the
// right length.

#include "platform/testing.h"
#include "tests/support/ScratchDir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

struct Format {
    const char* Name;
    int Major;
    int Subtype;
    int SampleRate;
};

// One second of a 440 Hz tone, mono.
bool WriteTone(const std::string& path, const Format& format) {
    SF_INFO info{};
    info.samplerate = format.SampleRate;
    info.channels = 1;
    info.format = format.Major | format.Subtype;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        return false;
    }
    std::vector<float> samples(static_cast<std::size_t>(format.SampleRate));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] =
            0.5f * static_cast<float>(std::sin(2.0 * std::numbers::pi * 440.0 *
                                               static_cast<double>(i) / format.SampleRate));
    }
    const sf_count_t written = sf_writef_float(file, samples.data(), format.SampleRate);
    return sf_close(file) == 0 && written == format.SampleRate;
}

class MciFormatsTest : public testing::Test {
protected:
    void SetUp() override { testdriver::Reset(); }
    void TearDown() override { testdriver::Reset(); }
};

TEST_F(MciFormatsTest, FlacVorbisAndOpusFilesOpenWithTheirLength) {
    const Format formats[] = {
        {"tone.flac", SF_FORMAT_FLAC, SF_FORMAT_PCM_16, 44100},
        {"tone.ogg", SF_FORMAT_OGG, SF_FORMAT_VORBIS, 44100},
        {"tone.opus", SF_FORMAT_OGG, SF_FORMAT_OPUS, 48000},
    };
    ScratchDir scratch;
    for (const Format& format : formats) {
        const std::string path = (scratch / format.Name).string();
        ASSERT_TRUE(WriteTone(path, format)) << format.Name;
        MCI_OPEN_PARMSA open{};
        open.lpstrElementName = path.c_str();
        ASSERT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_WAIT,
                                  reinterpret_cast<DWORD_PTR>(&open)),
                  0u)
            << format.Name;
        MCI_STATUS_PARMS status{};
        status.dwItem = MCI_STATUS_LENGTH;
        EXPECT_EQ(mciSendCommandA(open.wDeviceID, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT,
                                  reinterpret_cast<DWORD_PTR>(&status)),
                  0u);
        // Lossy encoders may pad the end a little.
        EXPECT_NEAR(static_cast<double>(status.dwReturn), 1000.0, 30.0) << format.Name;
        MCI_GENERIC_PARMS close{};
        EXPECT_EQ(mciSendCommandA(open.wDeviceID, MCI_CLOSE, MCI_WAIT,
                                  reinterpret_cast<DWORD_PTR>(&close)),
                  0u);
    }
}

} // namespace
