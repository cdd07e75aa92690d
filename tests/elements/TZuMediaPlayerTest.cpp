#include "elements/TZuMediaPlayer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LinkProbe.h"
#include "elements/TZuMath.h"
#include "platform/testing.h"
#include "toolkit/TMediaPlayer.h"
#include "toolkit/TTimer.h"

namespace {

std::string Media(const std::string& name) {
    return std::string(KESTRIN_MEDIA_DIR "/") + name;
}

// An MCI call as recorded: device, command, flags, status item, result.
struct Mci {
    std::uintptr_t Device, Command, Flags, Item, Result;
    bool operator==(const Mci&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Mci& c) {
    return out << "{" << c.Device << ", 0x" << std::hex << c.Command << ", 0x" << c.Flags
               << std::dec << ", " << c.Item << ", " << c.Result << "}";
}

std::vector<Mci> RecordedMci() {
    std::vector<Mci> calls;
    for (const testdriver::ApiCall& call : testdriver::RecordedCalls()) {
        if (call.Family == testdriver::ApiFamily::Mci && call.Values.size() == 5) {
            calls.push_back(
                {call.Values[0], call.Values[1], call.Values[2], call.Values[3], call.Values[4]});
        }
    }
    testdriver::ClearRecordedCalls();
    return calls;
}

// The player's wiring: a provider names the file, a probe counts the ends.
class TZuMediaPlayerTest : public LinkedElementTest {
protected:
    void SetUp() override {
        testdriver::Reset();
        LinkedElementTest::SetUp();
        element = new TZuMediaPlayer();
        element->FileName = file.Point();
        element->OnEnd = ends.Point();
    }
    void TearDown() override {
        delete element;
        LinkedElementTest::TearDown();
        testdriver::Reset();
    }

    // Plays the named fixture (or path) as the playlist would: the file name is pulled, the
    // value sent with Play is the selected index.
    void PlayFile(const std::string& path) {
        file.Answer = MakeString(path);
        Send(MakeEvent<&TZuMediaPlayer::Play>(element, 0), MakeInteger(0));
    }
    void Pause() { Send(MakeEvent<&TZuMediaPlayer::Pause>(element, 0), TData{}); }
    void Stop() { Send(MakeEvent<&TZuMediaPlayer::Stop>(element, 0), TData{}); }
    std::int32_t Read(void (TZuMediaPlayer::*provider)(TData&, std::uint16_t)) {
        TData value;
        (element->*provider)(value, 0);
        EXPECT_EQ(value.Tag, TagInteger);
        return value.IntValue;
    }
    std::int32_t Position() { return Read(&TZuMediaPlayer::Position); }
    std::int32_t Length() { return Read(&TZuMediaPlayer::Length); }
    bool Polling() const { return element->PollTimer()->Enabled(); }
    std::size_t Ends() const { return ends.Values.size(); }

    TZuMediaPlayer* element = nullptr;
    Provider file{TData{}};
    Probe ends;
};

TEST_F(TZuMediaPlayerTest, StartsIdleWithNothingOpen) {
    EXPECT_EQ(element->Player()->DeviceId, 0u);
    EXPECT_FALSE(Polling());
    EXPECT_EQ(element->PollTimer()->Interval(), 300);
    EXPECT_EQ(Position(), 0);
    EXPECT_EQ(Length(), 0);
}

TEST_F(TZuMediaPlayerTest, PlayWhileAnotherFilePlaysClosesItAndStartsTheNewOne) {
    PlayFile(Media("tone-44k-stereo.mp3"));
    const MCIDEVICEID first = element->Player()->DeviceId;
    ASSERT_NE(first, 0u);
    testdriver::AdvanceClock(500);
    testdriver::Record(testdriver::ApiFamily::Mci);
    PlayFile(Media("tone-22k-mono.wav"));
    const std::uintptr_t second = element->Player()->DeviceId;
    const std::vector<Mci> expected = {
        {first, MCI_CLOSE, MCI_WAIT, 0, 0},
        {0, MCI_OPEN, MCI_OPEN_ELEMENT, 0, 0},
        {second, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, MCI_STATUS_LENGTH, 0},
        {second, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, MCI_STATUS_POSITION, 0},
        {second, MCI_WINDOW, MCI_ANIM_WINDOW_HWND | MCI_WAIT, 0, MCIERR_UNSUPPORTED_FUNCTION},
        {second, MCI_PLAY, MCI_NOTIFY, 0, 0},
    };
    EXPECT_EQ(RecordedMci(), expected);
    EXPECT_TRUE(Polling());
    EXPECT_EQ(Position(), 0);
}

TEST_F(TZuMediaPlayerTest, LengthIsTheFileInMillisecondsAndPositionFollowsTheClock) {
    const char* files[] = {"tone-44k-stereo.mp3", "tone-44k-stereo.wav", "tone-22k-mono.wav",
                           "tone-11k-8bit.wav"};
    for (const char* name : files) {
        PlayFile(Media(name));
        EXPECT_EQ(Length(), 3200) << name;
        EXPECT_EQ(Position(), 0) << name;
        testdriver::AdvanceClock(1234);
        EXPECT_EQ(Position(), 1234) << name;
        EXPECT_TRUE(Polling()) << name;
    }
}

TEST_F(TZuMediaPlayerTest, PositionReadThroughALinkBecomesWholeSeconds) {
    TZuMath seconds;
    seconds.DefaultOp2 = 1000;
    seconds.Op1 = MakeEvent<&TZuMediaPlayer::Position>(element, 0);
    Probe shown;
    seconds.OnResult = shown.Point();
    PlayFile(Media("tone-44k-stereo.wav"));
    testdriver::AdvanceClock(2500);
    Send(MakeEvent<&TZuMath::Calc>(&seconds, 0), TData{});
    ASSERT_EQ(shown.Values.size(), 1u);
    // 2.5 s rounds half to even.
    EXPECT_EQ(shown.Values[0].Tag, TagInteger);
    EXPECT_EQ(shown.Values[0].IntValue, 2);
}

TEST_F(TZuMediaPlayerTest, PauseTogglesAndPollingFollowsTheDevice) {
    struct Step {
        const char* Action;
        std::int32_t PositionAfter; // 200 ms of the clock after the action
        bool Polling;
    };
    const Step steps[] = {
        {"pause", 400, false}, {"pause", 600, true}, {"pause", 600, false}, {"stop", 0, false},
        {"pause", 0, false},   {"play", 200, true},  {"pause", 200, false}, {"stop", 0, false},
    };
    PlayFile(Media("tone-44k-stereo.mp3"));
    testdriver::AdvanceClock(400);
    for (const Step& step : steps) {
        const std::string action = step.Action;
        if (action == "pause") {
            Pause();
        } else if (action == "stop") {
            Stop();
        } else {
            PlayFile(Media("tone-44k-stereo.mp3"));
        }
        testdriver::AdvanceClock(200);
        EXPECT_EQ(Position(), step.PositionAfter) << action;
        EXPECT_EQ(Polling(), step.Polling) << action;
    }
    EXPECT_EQ(Ends(), 0u);
}

TEST_F(TZuMediaPlayerTest, PauseAfterStopSendsResumeAndStaysStopped) {
    PlayFile(Media("tone-22k-mono.wav"));
    testdriver::AdvanceClock(700);
    Stop();
    EXPECT_EQ(Position(), 0);
    testdriver::Record(testdriver::ApiFamily::Mci);
    Pause();
    const std::uintptr_t id = element->Player()->DeviceId;
    const std::vector<Mci> expected = {
        {id, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, MCI_STATUS_MODE, 0},
        {id, MCI_RESUME, MCI_WAIT, 0, 0},
        {id, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, MCI_STATUS_MODE, 0},
    };
    EXPECT_EQ(RecordedMci(), expected);
    EXPECT_FALSE(Polling());
    testdriver::AdvanceClock(1000);
    EXPECT_EQ(Position(), 0);
}

TEST_F(TZuMediaPlayerTest, PlayingTheSameFileAgainReopensItFromTheStart) {
    PlayFile(Media("tone-11k-8bit.wav"));
    testdriver::AdvanceClock(2000);
    testdriver::Record(testdriver::ApiFamily::Mci);
    PlayFile(Media("tone-11k-8bit.wav"));
    const std::vector<Mci> calls = RecordedMci();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[0].Command, MCI_CLOSE);
    EXPECT_EQ(calls[1].Command, MCI_OPEN);
    testdriver::AdvanceClock(300);
    EXPECT_EQ(Position(), 300);
}

TEST_F(TZuMediaPlayerTest, OnEndFiresAtTheFirstPollAfterThePositionReachesTheLength) {
    struct Case {
        const char* File;
        std::uint64_t LastQuietMoment; // the poll before the end was reached
        std::int32_t Length;           // at the end
    };
    const Case cases[] = {
        {"tone-44k-stereo.mp3", 3000, 3200},
        {"tone-11k-8bit.wav", 3000, 3200},
        // Damaged files end where their data ends.
        {"lying-header.wav", 900, 1000},
        {"truncated.mp3", 1500, 1568},
    };
    for (const Case& c : cases) {
        ends.Values.clear();
        PlayFile(Media(c.File));
        testdriver::AdvanceClock(c.LastQuietMoment);
        EXPECT_EQ(Ends(), 0u) << c.File;
        EXPECT_TRUE(Polling()) << c.File;
        testdriver::AdvanceClock(299);
        EXPECT_EQ(Ends(), 0u) << c.File;
        testdriver::AdvanceClock(1);
        EXPECT_EQ(Ends(), 1u) << c.File;
        EXPECT_EQ(ends.Values.at(0).Tag, TagNone) << c.File;
        EXPECT_FALSE(Polling()) << c.File;
        EXPECT_EQ(Position(), c.Length) << c.File;
        EXPECT_EQ(Length(), c.Length) << c.File;
        testdriver::AdvanceClock(3000);
        EXPECT_EQ(Ends(), 1u) << c.File;
    }
}

TEST_F(TZuMediaPlayerTest, NamesThatAreNoFileSendNoCommand) {
    const std::string names[] = {Media("no-such-file.mp3"), KESTRIN_MEDIA_DIR, ""};
    testdriver::Record(testdriver::ApiFamily::Mci);
    for (const std::string& name : names) {
        PlayFile(name);
        EXPECT_EQ(RecordedMci(), std::vector<Mci>{}) << name;
        EXPECT_FALSE(Polling()) << name;
    }
    testdriver::AdvanceClock(1000);
    EXPECT_EQ(Ends(), 0u);
}

TEST_F(TZuMediaPlayerTest, FilesThatCannotBeOpenedEndAtTheFirstPoll) {
    const char* files[] = {"text.mp3", "empty.mp3"};
    for (const char* name : files) {
        ends.Values.clear();
        testdriver::Record(testdriver::ApiFamily::Mci);
        PlayFile(Media(name));
        EXPECT_EQ(element->Player()->DeviceId, 0u) << name;
        // Both opens fail; the commands sent directly then find no device.
        const std::vector<Mci> expected = {
            {0, MCI_OPEN, MCI_OPEN_ELEMENT, 0, MCIERR_INVALID_FILE},
            {0, MCI_OPEN, MCI_OPEN_ELEMENT, 0, MCIERR_INVALID_FILE},
            {0, MCI_WINDOW, MCI_ANIM_WINDOW_HWND | MCI_WAIT, 0, MCIERR_INVALID_DEVICE_ID},
            {0, MCI_PLAY, MCI_NOTIFY, 0, MCIERR_INVALID_DEVICE_ID},
        };
        EXPECT_EQ(RecordedMci(), expected) << name;
        EXPECT_EQ(Length(), 0) << name;
        testdriver::AdvanceClock(299);
        EXPECT_EQ(Ends(), 0u) << name;
        testdriver::AdvanceClock(1);
        EXPECT_EQ(Ends(), 1u) << name;
        EXPECT_FALSE(Polling()) << name;
    }
}

TEST_F(TZuMediaPlayerTest, WithFileNameUnboundTheDefaultNameIsPlayed) {
    element->FileName = TZu_Event{};
    element->DefaultFileName = Media("tone-22k-mono.wav");
    Send(MakeEvent<&TZuMediaPlayer::Play>(element, 0), MakeInteger(7));
    EXPECT_NE(element->Player()->DeviceId, 0u);
    EXPECT_EQ(element->Player()->FileName, Media("tone-22k-mono.wav"));
    // The value sent with Play lands in the video handle, which sound never uses.
    EXPECT_EQ(element->VideoHandle(), 7);
    EXPECT_EQ(Length(), 3200);
}

} // namespace
