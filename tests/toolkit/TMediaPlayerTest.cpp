#include "toolkit/TMediaPlayer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/testing.h"

namespace {

std::string Media(const std::string& name) {
    return std::string(KESTRIN_MEDIA_DIR "/") + name;
}

// An MCI call as recorded, without its device: command, flags, status item, result.
struct Mci {
    std::uintptr_t Command, Flags, Item, Result;
    bool operator==(const Mci&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Mci& c) {
    return out << "{0x" << std::hex << c.Command << ", 0x" << c.Flags << std::dec << ", " << c.Item
               << ", " << c.Result << "}";
}

std::vector<Mci> RecordedMci() {
    std::vector<Mci> calls;
    for (const testdriver::ApiCall& call : testdriver::RecordedCalls()) {
        if (call.Family == testdriver::ApiFamily::Mci && call.Values.size() == 5) {
            calls.push_back({call.Values[1], call.Values[2], call.Values[3], call.Values[4]});
        }
    }
    testdriver::ClearRecordedCalls();
    return calls;
}

constexpr std::uintptr_t Refused = MCIERR_UNSUPPORTED_FUNCTION;
const Mci StatusPosition{MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, MCI_STATUS_POSITION, 0};
const Mci Window{MCI_WINDOW, MCI_ANIM_WINDOW_HWND | MCI_WAIT, 0, Refused};
const Mci Play{MCI_PLAY, MCI_NOTIFY, 0, 0};

class TMediaPlayerTest : public testing::Test {
protected:
    void SetUp() override { testdriver::Reset(); }
    void TearDown() override {
        Free(player);
        testdriver::Reset();
    }

    void Make(const std::string& path) {
        player = CreateMediaPlayer(path, nullptr);
        testdriver::Record(testdriver::ApiFamily::Mci);
    }

    TMediaPlayer* player = nullptr;
};

TEST_F(TMediaPlayerTest, CreatingWithANameOpensTheFile) {
    testdriver::Record(testdriver::ApiFamily::Mci);
    player = CreateMediaPlayer(Media("tone-22k-mono.wav"), nullptr);
    EXPECT_EQ(RecordedMci(), (std::vector<Mci>{{MCI_OPEN, MCI_OPEN_ELEMENT, 0, 0}}));
    EXPECT_EQ(player->DeviceId, 1u);
    EXPECT_EQ(player->GetLength(), 3200u);
    EXPECT_FALSE(player->Wait);
}

TEST_F(TMediaPlayerTest, WithoutADeviceNothingIsSentAndStatusReadsZero) {
    Make("");
    EXPECT_EQ(player->DeviceId, 0u);
    EXPECT_EQ(player->GetPosition(), 0u);
    EXPECT_EQ(player->GetLength(), 0u);
    // 0 less MCI_MODE_NOT_READY, kept to 8 bits.
    EXPECT_EQ(player->GetMode(), 244);
    EXPECT_TRUE(player->NotPlaying());
    EXPECT_FALSE(player->StopDevice());
    player->SetPaused(true);
    player->SeekTo(0);
    player->CloseDevice();
    MCI_GENERIC_PARMS parms{};
    EXPECT_EQ(player->SendCommand(MCI_STOP, 0, &parms), static_cast<MCIERROR>(-1));
    EXPECT_EQ(RecordedMci(), std::vector<Mci>{});
}

TEST_F(TMediaPlayerTest, SendCommandAddsWaitWhenAskedAndDropsNotifyWithoutTheApplication) {
    struct Case {
        bool Wait;
        DWORD Flags;
        DWORD Sent;
    };
    const Case cases[] = {
        {false, 0, 0},
        {false, MCI_NOTIFY, 0},
        {false, MCI_WAIT, MCI_WAIT},
        {false, MCI_NOTIFY | MCI_WAIT, MCI_WAIT},
        {true, 0, MCI_WAIT},
        {true, MCI_NOTIFY, MCI_WAIT},
    };
    Make(Media("tone-22k-mono.wav"));
    for (const Case& c : cases) {
        player->Wait = c.Wait;
        MCI_GENERIC_PARMS parms{};
        EXPECT_EQ(player->SendCommand(MCI_STOP, c.Flags, &parms), 0u);
        EXPECT_EQ(RecordedMci(), (std::vector<Mci>{{MCI_STOP, c.Sent, 0, 0}}))
            << c.Wait << " " << c.Flags;
    }
}

TEST_F(TMediaPlayerTest, ModesFollowTheDevice) {
    Make(Media("tone-44k-stereo.mp3"));
    struct Step {
        const char* Action;
        std::uint8_t Mode;
        DWORD Position; // after 100 ms more of the clock
    };
    const Step steps[] = {
        {"open", 1, 0},   {"play", 2, 100}, {"pause", 5, 100}, {"resume", 2, 200},
        {"stop", 1, 200}, {"seek 0", 1, 0}, {"resume", 1, 0},  {"play", 2, 100},
    };
    for (const Step& step : steps) {
        const std::string action = step.Action;
        if (action == "play") {
            EXPECT_TRUE(player->StartPlay(nullptr, 0, player->GetLength()));
        } else if (action == "pause" || action == "resume") {
            player->SetPaused(action == "pause");
        } else if (action == "stop") {
            EXPECT_TRUE(player->StopDevice());
        } else if (action == "seek 0") {
            player->SeekTo(0);
        }
        EXPECT_EQ(player->GetMode(), step.Mode) << action;
        EXPECT_EQ(player->NotPlaying(), step.Mode != TMediaPlayer::ModePlaying) << action;
        testdriver::AdvanceClock(100);
        EXPECT_EQ(player->GetPosition(), step.Position) << action;
    }
}

TEST_F(TMediaPlayerTest, VideoIsPlacedByDisplayModeOnlyFromTheStart) {
    const Mci where{MCI_WHERE, MCI_ANIM_WHERE_DESTINATION | MCI_WAIT, 0, Refused};
    const Mci put{MCI_PUT, MCI_ANIM_RECT | MCI_ANIM_PUT_DESTINATION | MCI_WAIT, 0, Refused};
    struct Case {
        std::uint8_t DisplayMode;
        std::vector<Mci> Calls;
    };
    const Case cases[] = {
        {0, {StatusPosition, Window, Play}},
        {1, {StatusPosition, Window, where, put, Play}},
        {2, {StatusPosition, Window, put, Play}},
        {3, {StatusPosition, Window, Play}},
    };
    Make(Media("tone-22k-mono.wav"));
    for (const Case& c : cases) {
        player->DisplayMode = c.DisplayMode;
        player->SeekTo(0);
        RecordedMci();
        EXPECT_TRUE(player->StartPlay(nullptr, 0, 3200));
        EXPECT_EQ(RecordedMci(), c.Calls) << int{c.DisplayMode};
        EXPECT_EQ(player->VideoWidth, 0);
        EXPECT_EQ(player->VideoHeight, 0);
    }
    // Past the start: no placement.
    testdriver::AdvanceClock(50);
    player->SetPaused(true);
    EXPECT_EQ(player->GetPosition(), 50u);
    RecordedMci();
    EXPECT_TRUE(player->StartPlay(nullptr, 0, 3200));
    EXPECT_EQ(RecordedMci(), (std::vector<Mci>{StatusPosition, Play}));
}

TEST_F(TMediaPlayerTest, ANewFileNameClosesTheDeviceAndOpensTheFile) {
    struct Step {
        std::string Name;
        std::vector<Mci> Calls;
        bool Open;
    };
    const Mci close{MCI_CLOSE, MCI_WAIT, 0, 0};
    const Mci open{MCI_OPEN, MCI_OPEN_ELEMENT, 0, 0};
    const Mci openFails{MCI_OPEN, MCI_OPEN_ELEMENT, 0, MCIERR_INVALID_FILE};
    const Step steps[] = {
        {Media("tone-22k-mono.wav"), {}, true},
        {Media("tone-11k-8bit.wav"), {close, open}, true},
        {Media("text.mp3"), {close, openFails}, false},
        {Media("tone-22k-mono.wav"), {open}, true},
        {"", {close}, false},
        {"", {}, false},
    };
    Make(Media("tone-22k-mono.wav"));
    for (const Step& step : steps) {
        player->SetFileName(step.Name);
        EXPECT_EQ(RecordedMci(), step.Calls) << step.Name;
        EXPECT_EQ(player->DeviceId != 0, step.Open) << step.Name;
        EXPECT_EQ(player->FileName, step.Name);
    }
}

TEST_F(TMediaPlayerTest, FreeingTheObjectClosesItsDeviceWaiting) {
    Make(Media("tone-44k-stereo.wav"));
    player->StartPlay(nullptr, 0, 3200);
    const std::uintptr_t id = player->DeviceId;
    RecordedMci();
    Free(player);
    player = nullptr;
    const std::vector<testdriver::ApiCall> calls = testdriver::RecordedCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Values, (std::vector<std::uintptr_t>{id, MCI_CLOSE, MCI_WAIT, 0, 0}));
}

} // namespace
