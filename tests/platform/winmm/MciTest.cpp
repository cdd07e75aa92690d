// The MCI devices on the null sink under the virtual clock: opening, lengths and positions
// in milliseconds, the play, pause, stop and seek transitions, errors and notifications.

#include "platform/posix/winmm/mci.h"
#include "platform/testing.h"
#include "tests/platform/user32/MessageSequence.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string Media(const std::string& name) {
    return std::string(KESTRIN_MEDIA_DIR "/") + name;
}

DWORD_PTR Param(void* record) {
    return reinterpret_cast<DWORD_PTR>(record);
}

class MciTest : public testing::Test {
protected:
    void SetUp() override { testdriver::Reset(); }
    void TearDown() override { testdriver::Reset(); }

    static MCIERROR OpenFile(const std::string& path, MCIDEVICEID& id) {
        MCI_OPEN_PARMSA parms{};
        parms.wDeviceID = 77;
        parms.lpstrElementName = path.c_str();
        MCIERROR result = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, Param(&parms));
        id = parms.wDeviceID;
        return result;
    }
    static MCIDEVICEID Open(const std::string& name) {
        MCIDEVICEID id = 0;
        EXPECT_EQ(OpenFile(Media(name), id), 0u) << name;
        return id;
    }
    static DWORD Status(MCIDEVICEID id, DWORD item) {
        MCI_STATUS_PARMS parms{};
        parms.dwItem = item;
        EXPECT_EQ(mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, Param(&parms)), 0u);
        return static_cast<DWORD>(parms.dwReturn);
    }
    static DWORD Length(MCIDEVICEID id) { return Status(id, MCI_STATUS_LENGTH); }
    static DWORD Position(MCIDEVICEID id) { return Status(id, MCI_STATUS_POSITION); }
    static DWORD Mode(MCIDEVICEID id) { return Status(id, MCI_STATUS_MODE); }

    static MCIERROR Play(MCIDEVICEID id, DWORD flags = 0, DWORD from = 0, DWORD to = 0) {
        MCI_PLAY_PARMS parms{};
        parms.dwFrom = from;
        parms.dwTo = to;
        return mciSendCommandA(id, MCI_PLAY, flags, Param(&parms));
    }
    static MCIERROR Simple(MCIDEVICEID id, UINT command) {
        MCI_GENERIC_PARMS parms{};
        return mciSendCommandA(id, command, MCI_WAIT, Param(&parms));
    }
    static MCIERROR Seek(MCIDEVICEID id, DWORD flags, DWORD to = 0) {
        MCI_SEEK_PARMS parms{};
        parms.dwTo = to;
        return mciSendCommandA(id, MCI_SEEK, flags, Param(&parms));
    }
    static void Advance(std::uint64_t ms) { testdriver::AdvanceClock(ms); }
};

TEST_F(MciTest, LengthIsTheFramesOfTheFileInMilliseconds) {
    struct Case {
        const char* File;
        DWORD LengthMs;
    };
    const Case cases[] = {
        {"tone-44k-stereo.wav", 3200}, // 141120 frames at 44100 Hz
        {"tone-44k-stereo.mp3", 3200}, // the same frames, gapless
        {"tone-22k-mono.wav", 3200},   // 70560 frames at 22050 Hz
        {"tone-11k-8bit.wav", 3200},   // 35280 frames at 11025 Hz
        {"lying-header.wav", 1000},    // only the first second is in the file
    };
    for (const Case& c : cases) {
        MCIDEVICEID id = Open(c.File);
        EXPECT_EQ(Length(id), c.LengthMs) << c.File;
        EXPECT_EQ(Position(id), 0u) << c.File;
        EXPECT_EQ(Mode(id), MCI_MODE_STOP) << c.File;
        EXPECT_EQ(Simple(id, MCI_CLOSE), 0u);
    }
}

TEST_F(MciTest, DeviceIdentifiersStartAtOneAndFreedOnesAreReused) {
    MCIDEVICEID first = Open("tone-22k-mono.wav");
    MCIDEVICEID second = Open("tone-11k-8bit.wav");
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(second, 2u);
    EXPECT_EQ(Simple(first, MCI_CLOSE), 0u);
    EXPECT_EQ(Open("tone-44k-stereo.mp3"), 1u);
    EXPECT_EQ(Length(second), 3200u);
}

TEST_F(MciTest, FilesThatAreNoSoundFailToOpenAndLeaveNoDevice) {
    struct Case {
        std::string Path;
        MCIERROR Error;
    };
    const Case cases[] = {
        {Media("text.mp3"), MCIERR_INVALID_FILE},
        {Media("empty.mp3"), MCIERR_INVALID_FILE},
        {Media("no-such-file.wav"), MCIERR_FILE_NOT_FOUND},
        {Media("no-such-dir/tone.wav"), MCIERR_FILE_NOT_FOUND},
        {KESTRIN_MEDIA_DIR, MCIERR_INVALID_FILE},
        {"", MCIERR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        MCIDEVICEID id = 99;
        EXPECT_EQ(OpenFile(c.Path, id), c.Error) << c.Path;
        EXPECT_EQ(id, 0u) << c.Path;
    }
    EXPECT_EQ(Simple(1, MCI_CLOSE), MCIERR_INVALID_DEVICE_ID);
}

TEST_F(MciTest, OpenNeedsAnElementName) {
    MCI_OPEN_PARMSA parms{};
    parms.lpstrDeviceType = "waveaudio";
    EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE, Param(&parms)), MCIERR_MISSING_PARAMETER);
    EXPECT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT, 0), MCIERR_NULL_PARAMETER_BLOCK);
}

TEST_F(MciTest, CommandsToUnknownDevicesFail) {
    MCIDEVICEID id = Open("tone-22k-mono.wav");
    const MCIDEVICEID unknown[] = {0, id + 1, 0xFFFF};
    const UINT commands[] = {MCI_CLOSE, MCI_PLAY,   MCI_PAUSE,  MCI_RESUME, MCI_STOP,
                             MCI_SEEK,  MCI_STATUS, MCI_WINDOW, MCI_WHERE,  MCI_PUT};
    for (MCIDEVICEID device : unknown) {
        for (UINT command : commands) {
            MCI_STATUS_PARMS parms{};
            EXPECT_EQ(mciSendCommandA(device, command, MCI_WAIT, Param(&parms)),
                      MCIERR_INVALID_DEVICE_ID)
                << device << " " << command;
        }
    }
    EXPECT_EQ(Mode(id), MCI_MODE_STOP);
}

TEST_F(MciTest, VideoCommandsAreRefusedForSound) {
    MCIDEVICEID id = Open("tone-44k-stereo.mp3");
    MCI_ANIM_WINDOW_PARMSA window{};
    MCI_ANIM_RECT_PARMS rect{};
    EXPECT_EQ(mciSendCommandA(id, MCI_WINDOW, MCI_ANIM_WINDOW_HWND | MCI_WAIT, Param(&window)),
              MCIERR_UNSUPPORTED_FUNCTION);
    EXPECT_EQ(mciSendCommandA(id, MCI_WHERE, MCI_ANIM_WHERE_DESTINATION | MCI_WAIT, Param(&rect)),
              MCIERR_UNSUPPORTED_FUNCTION);
    EXPECT_EQ(mciSendCommandA(id, MCI_PUT, MCI_ANIM_RECT | MCI_ANIM_PUT_DESTINATION | MCI_WAIT,
                              Param(&rect)),
              MCIERR_UNSUPPORTED_FUNCTION);
    EXPECT_EQ(mciSendCommandA(id, 0x0899, 0, 0), MCIERR_UNRECOGNIZED_COMMAND);
}

TEST_F(MciTest, PositionFollowsTheClockAndEndsExactlyAtTheLength) {
    const char* files[] = {"tone-44k-stereo.wav", "tone-44k-stereo.mp3", "tone-22k-mono.wav",
                           "tone-11k-8bit.wav"};
    for (const char* file : files) {
        MCIDEVICEID id = Open(file);
        ASSERT_EQ(Play(id), 0u) << file;
        EXPECT_EQ(Mode(id), MCI_MODE_PLAY) << file;
        EXPECT_EQ(Position(id), 0u) << file;
        Advance(1000);
        EXPECT_EQ(Position(id), 1000u) << file;
        Advance(1234);
        EXPECT_EQ(Position(id), 2234u) << file;
        Advance(965);
        EXPECT_EQ(Position(id), 3199u) << file;
        EXPECT_EQ(Mode(id), MCI_MODE_PLAY) << file;
        Advance(1);
        EXPECT_EQ(Position(id), 3200u) << file;
        EXPECT_EQ(Mode(id), MCI_MODE_STOP) << file;
        Advance(1000);
        EXPECT_EQ(Position(id), Length(id)) << file;
        EXPECT_EQ(Simple(id, MCI_CLOSE), 0u);
    }
}

TEST_F(MciTest, PauseHoldsThePositionAndResumeGoesOn) {
    MCIDEVICEID id = Open("tone-44k-stereo.mp3");
    ASSERT_EQ(Play(id), 0u);
    Advance(700);
    EXPECT_EQ(Simple(id, MCI_PAUSE), 0u);
    EXPECT_EQ(Mode(id), MCI_MODE_PAUSE);
    Advance(5000);
    EXPECT_EQ(Position(id), 700u);
    EXPECT_EQ(Simple(id, MCI_RESUME), 0u);
    EXPECT_EQ(Mode(id), MCI_MODE_PLAY);
    Advance(300);
    EXPECT_EQ(Position(id), 1000u);
}

TEST_F(MciTest, PauseAndResumeWhereTheyDoNotApplyChangeNothing) {
    struct Step {
        UINT Command;
        DWORD Mode;
        DWORD Position;
    };
    // Play 500 ms, then each step after another 100 ms of the clock.
    const Step steps[] = {
        {MCI_PAUSE, MCI_MODE_PAUSE, 500}, {MCI_PAUSE, MCI_MODE_PAUSE, 500},
        {MCI_RESUME, MCI_MODE_PLAY, 500}, {MCI_RESUME, MCI_MODE_PLAY, 600},
        {MCI_STOP, MCI_MODE_STOP, 700},   {MCI_PAUSE, MCI_MODE_STOP, 700},
        {MCI_RESUME, MCI_MODE_STOP, 700}, {MCI_STOP, MCI_MODE_STOP, 700},
    };
    MCIDEVICEID id = Open("tone-22k-mono.wav");
    ASSERT_EQ(Play(id), 0u);
    Advance(500);
    for (const Step& step : steps) {
        EXPECT_EQ(Simple(id, step.Command), 0u);
        EXPECT_EQ(Mode(id), step.Mode) << step.Command;
        EXPECT_EQ(Position(id), step.Position) << step.Command;
        Advance(100);
    }
}

TEST_F(MciTest, StopKeepsThePositionAndSeekingRewinds) {
    MCIDEVICEID id = Open("tone-44k-stereo.wav");
    ASSERT_EQ(Play(id), 0u);
    Advance(1500);
    EXPECT_EQ(Simple(id, MCI_STOP), 0u);
    Advance(1000);
    EXPECT_EQ(Position(id), 1500u);
    EXPECT_EQ(Seek(id, MCI_TO, 0), 0u);
    EXPECT_EQ(Position(id), 0u);
    EXPECT_EQ(Mode(id), MCI_MODE_STOP);
    // Play again from the start: the sound restarts there.
    ASSERT_EQ(Play(id), 0u);
    Advance(250);
    EXPECT_EQ(Position(id), 250u);
}

TEST_F(MciTest, SeekTargetsAndTheirErrors) {
    struct Case {
        DWORD Flags;
        DWORD To;
        MCIERROR Result;
        DWORD Position;
    };
    const Case cases[] = {
        {MCI_TO, 1234, 0, 1234},
        {MCI_SEEK_TO_END, 0, 0, 3200},
        {MCI_SEEK_TO_START, 0, 0, 0},
        {MCI_TO, 3200, 0, 3200},
        {MCI_TO, 3201, MCIERR_OUTOFRANGE, 3200},
        {MCI_TO | MCI_SEEK_TO_START, 5, MCIERR_FLAGS_NOT_COMPATIBLE, 3200},
        {MCI_WAIT, 0, MCIERR_MISSING_PARAMETER, 3200},
        {MCI_TO | MCI_WAIT, 1, 0, 1},
    };
    MCIDEVICEID id = Open("tone-22k-mono.wav");
    for (const Case& c : cases) {
        EXPECT_EQ(Seek(id, c.Flags, c.To), c.Result) << c.Flags << " " << c.To;
        EXPECT_EQ(Position(id), c.Position) << c.Flags << " " << c.To;
    }
}

TEST_F(MciTest, SeekWhilePlayingStops) {
    MCIDEVICEID id = Open("tone-11k-8bit.wav");
    ASSERT_EQ(Play(id), 0u);
    Advance(400);
    EXPECT_EQ(Seek(id, MCI_TO, 2000), 0u);
    EXPECT_EQ(Mode(id), MCI_MODE_STOP);
    Advance(400);
    EXPECT_EQ(Position(id), 2000u);
    ASSERT_EQ(Play(id), 0u);
    Advance(1500);
    EXPECT_EQ(Position(id), 3200u);
    EXPECT_EQ(Mode(id), MCI_MODE_STOP);
}

TEST_F(MciTest, PlayHonoursFromAndTo) {
    struct Case {
        DWORD Flags;
        DWORD From;
        DWORD To;
        MCIERROR Result;
        DWORD PositionAfter1s; // of the clock
        DWORD ModeAfter1s;
    };
    const Case cases[] = {
        {MCI_FROM, 1000, 0, 0, 2000, MCI_MODE_PLAY},
        {MCI_FROM | MCI_TO, 500, 900, 0, 900, MCI_MODE_STOP},
        {MCI_TO, 0, 300, 0, 300, MCI_MODE_STOP},
        {MCI_FROM | MCI_TO, 2800, 3200, 0, 3200, MCI_MODE_STOP},
        {MCI_FROM | MCI_TO, 1500, 1500, 0, 1500, MCI_MODE_STOP},
        {MCI_FROM, 3201, 0, MCIERR_OUTOFRANGE, 0, MCI_MODE_STOP},
        {MCI_TO, 0, 4000, MCIERR_OUTOFRANGE, 0, MCI_MODE_STOP},
        {MCI_FROM | MCI_TO, 2000, 1000, MCIERR_OUTOFRANGE, 0, MCI_MODE_STOP},
    };
    for (const Case& c : cases) {
        MCIDEVICEID id = Open("tone-44k-stereo.mp3");
        EXPECT_EQ(Play(id, c.Flags, c.From, c.To), c.Result) << c.From << "-" << c.To;
        Advance(1000);
        EXPECT_EQ(Position(id), c.PositionAfter1s) << c.From << "-" << c.To;
        EXPECT_EQ(Mode(id), c.ModeAfter1s) << c.From << "-" << c.To;
        EXPECT_EQ(Simple(id, MCI_CLOSE), 0u);
    }
}

TEST_F(MciTest, PlayWithoutRecordNeedsNoFields) {
    MCIDEVICEID id = Open("tone-22k-mono.wav");
    EXPECT_EQ(mciSendCommandA(id, MCI_PLAY, 0, 0), 0u);
    EXPECT_EQ(mciSendCommandA(id, MCI_PLAY, MCI_FROM, 0), MCIERR_NULL_PARAMETER_BLOCK);
    EXPECT_EQ(mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, 0), MCIERR_NULL_PARAMETER_BLOCK);
    EXPECT_EQ(Mode(id), MCI_MODE_PLAY);
}

TEST_F(MciTest, PlayWithWaitReturnsAtTheEnd) {
    MCIDEVICEID id = Open("tone-11k-8bit.wav");
    EXPECT_EQ(Play(id, MCI_WAIT | MCI_FROM, 2500), 0u);
    EXPECT_EQ(Position(id), 3200u);
    EXPECT_EQ(Mode(id), MCI_MODE_STOP);
}

TEST_F(MciTest, StatusAnswersOnlyItsItems) {
    MCIDEVICEID id = Open("tone-22k-mono.wav");
    MCI_STATUS_PARMS parms{};
    parms.dwItem = MCI_STATUS_LENGTH;
    EXPECT_EQ(mciSendCommandA(id, MCI_STATUS, MCI_WAIT, Param(&parms)), MCIERR_MISSING_PARAMETER);
    parms.dwItem = 3; // the number of tracks
    EXPECT_EQ(mciSendCommandA(id, MCI_STATUS, MCI_STATUS_ITEM, Param(&parms)),
              MCIERR_UNSUPPORTED_FUNCTION);
}

TEST_F(MciTest, DamagedFilesPlayWhatDecodesAndEndAtTheirRealLength) {
    struct Case {
        const char* File;
        DWORD LengthAnnounced;
        DWORD LengthAtEnd;
    };
    const Case cases[] = {
        {"lying-header.wav", 1000, 1000},
        // 69167 frames decode before the data breaks off, though 141120 are announced.
        {"truncated.mp3", 3200, 1568},
    };
    for (const Case& c : cases) {
        MCIDEVICEID id = Open(c.File);
        EXPECT_EQ(Length(id), c.LengthAnnounced) << c.File;
        ASSERT_EQ(Play(id), 0u) << c.File;
        Advance(1000);
        EXPECT_EQ(Length(id), c.LengthAnnounced) << c.File;
        Advance(5000);
        EXPECT_EQ(Mode(id), MCI_MODE_STOP) << c.File;
        EXPECT_EQ(Position(id), c.LengthAtEnd) << c.File;
        EXPECT_EQ(Length(id), c.LengthAtEnd) << c.File;
        EXPECT_EQ(Simple(id, MCI_CLOSE), 0u);
    }
}

TEST_F(MciTest, EveryCallIsRecordedWithItsFlagsAndResult) {
    testdriver::Record(testdriver::ApiFamily::Mci);
    const std::string path = Media("tone-22k-mono.wav");
    MCIDEVICEID id = 0;
    OpenFile(path, id);
    Length(id);
    MCI_ANIM_WINDOW_PARMSA window{};
    mciSendCommandA(id, MCI_WINDOW, MCI_ANIM_WINDOW_HWND | MCI_WAIT, Param(&window));
    Play(id, MCI_NOTIFY);
    Simple(id + 5, MCI_CLOSE);
    using Call = testdriver::ApiCall;
    const auto mci = testdriver::ApiFamily::Mci;
    const std::vector<Call> expected = {
        {mci, "mciSendCommandA", {0, MCI_OPEN, MCI_OPEN_ELEMENT, 0, 0}, path},
        {mci,
         "mciSendCommandA",
         {id, MCI_STATUS, MCI_STATUS_ITEM | MCI_WAIT, MCI_STATUS_LENGTH, 0},
         ""},
        {mci,
         "mciSendCommandA",
         {id, MCI_WINDOW, MCI_ANIM_WINDOW_HWND | MCI_WAIT, 0, MCIERR_UNSUPPORTED_FUNCTION},
         ""},
        {mci, "mciSendCommandA", {id, MCI_PLAY, MCI_NOTIFY, 0, 0}, ""},
        {mci, "mciSendCommandA", {id + 5, MCI_CLOSE, MCI_WAIT, 0, MCIERR_INVALID_DEVICE_ID}, ""},
    };
    EXPECT_EQ(testdriver::RecordedCalls(), expected);
}

class MciNotifyTest : public MciTest {
protected:
    void SetUp() override {
        MciTest::SetUp();
        sequence::RegisterRecordingClass();
        window = CreateWindowExA(0, sequence::RecordingClass, "", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                                 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        testdriver::PumpUntilIdle();
        sequence::Clear();
    }

    // The MM_MCINOTIFY codes the window received since the last call, each checked to name
    // the device.
    std::vector<WPARAM> Notifications(MCIDEVICEID id) {
        testdriver::PumpUntilIdle();
        std::vector<WPARAM> codes;
        for (const sequence::Recorded& message : sequence::Log()) {
            if (message.Message == MM_MCINOTIFY) {
                EXPECT_EQ(message.LParamValue, static_cast<LPARAM>(id));
                EXPECT_EQ(message.Window, window);
                codes.push_back(message.WParamValue);
            }
        }
        sequence::Clear();
        return codes;
    }

public:
    // Sends a command asking to notify the window.
    template <class Record = MCI_GENERIC_PARMS>
    MCIERROR Notified(MCIDEVICEID id, UINT command, DWORD flags = 0, Record record = {}) {
        record.dwCallback = reinterpret_cast<DWORD_PTR>(window);
        return mciSendCommandA(id, command, flags | MCI_NOTIFY, Param(&record));
    }

    HWND window = nullptr;
};

TEST_F(MciNotifyTest, APlayWithNotifyReportsItsOutcome) {
    struct Case {
        const char* Name;
        std::function<void(MciNotifyTest&, MCIDEVICEID)> Steps;
        std::vector<WPARAM> Codes;
    };
    const Case cases[] = {
        {"run to the end", [](auto&, MCIDEVICEID) { Advance(3200); }, {MCI_NOTIFY_SUCCESSFUL}},
        {"a new play with notify",
         [](MciNotifyTest& t, MCIDEVICEID id) {
             Advance(100);
             t.Notified(id, MCI_PLAY);
             Advance(3100);
         },
         {MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_SUCCESSFUL}},
        {"a new play without notify",
         [](auto&, MCIDEVICEID id) {
             Play(id);
             Advance(3200);
         },
         {MCI_NOTIFY_ABORTED}},
        {"stop", [](auto&, MCIDEVICEID id) { Simple(id, MCI_STOP); }, {MCI_NOTIFY_ABORTED}},
        {"stop with notify",
         [](MciNotifyTest& t, MCIDEVICEID id) { t.Notified(id, MCI_STOP); },
         {MCI_NOTIFY_ABORTED, MCI_NOTIFY_SUCCESSFUL}},
        {"pause, resume, end",
         [](auto&, MCIDEVICEID id) {
             Simple(id, MCI_PAUSE);
             Simple(id, MCI_RESUME);
             Advance(4000);
         },
         {MCI_NOTIFY_ABORTED}},
        {"seek", [](auto&, MCIDEVICEID id) { Seek(id, MCI_SEEK_TO_START); }, {MCI_NOTIFY_ABORTED}},
        {"status with notify",
         [](MciNotifyTest& t, MCIDEVICEID id) {
             t.Notified(id, MCI_STATUS, MCI_STATUS_ITEM,
                        MCI_STATUS_PARMS{0, 0, MCI_STATUS_POSITION, 0});
             Advance(4000);
         },
         {MCI_NOTIFY_SUPERSEDED, MCI_NOTIFY_SUCCESSFUL}},
        {"status without notify",
         [](auto&, MCIDEVICEID id) {
             Position(id);
             Advance(4000);
         },
         {MCI_NOTIFY_SUCCESSFUL}},
        {"a refused command with notify",
         [](MciNotifyTest& t, MCIDEVICEID id) {
             EXPECT_EQ(t.Notified(id, MCI_SEEK, MCI_TO, MCI_SEEK_PARMS{0, 99999}),
                       MCIERR_OUTOFRANGE);
             Advance(4000);
         },
         {MCI_NOTIFY_SUCCESSFUL}},
    };
    for (const Case& c : cases) {
        MCIDEVICEID id = Open("tone-11k-8bit.wav");
        ASSERT_EQ(Notified(id, MCI_PLAY), 0u) << c.Name;
        c.Steps(*this, id);
        EXPECT_EQ(Notifications(id), c.Codes) << c.Name;
        EXPECT_EQ(Simple(id, MCI_CLOSE), 0u);
        EXPECT_EQ(Notifications(id), std::vector<WPARAM>{}) << c.Name;
    }
}

TEST_F(MciNotifyTest, CloseAbortsAPendingPlay) {
    MCIDEVICEID id = Open("tone-44k-stereo.mp3");
    ASSERT_EQ(Notified(id, MCI_PLAY), 0u);
    Advance(500);
    EXPECT_EQ(Notified(id, MCI_CLOSE), 0u);
    EXPECT_EQ(Notifications(id), (std::vector<WPARAM>{MCI_NOTIFY_ABORTED, MCI_NOTIFY_SUCCESSFUL}));
}

TEST_F(MciNotifyTest, AWaitingPlayNotifiesOnReturn) {
    MCIDEVICEID id = Open("tone-22k-mono.wav");
    ASSERT_EQ(Notified(id, MCI_PLAY, MCI_WAIT), 0u);
    EXPECT_EQ(Position(id), 3200u);
    EXPECT_EQ(Notifications(id), std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL});
}

TEST_F(MciNotifyTest, OpenNotifiesWithTheNewDevice) {
    MCI_OPEN_PARMSA parms{};
    parms.dwCallback = reinterpret_cast<DWORD_PTR>(window);
    const std::string path = Media("tone-22k-mono.wav");
    parms.lpstrElementName = path.c_str();
    ASSERT_EQ(mciSendCommandA(0, MCI_OPEN, MCI_OPEN_ELEMENT | MCI_NOTIFY, Param(&parms)), 0u);
    EXPECT_EQ(Notifications(parms.wDeviceID), std::vector<WPARAM>{MCI_NOTIFY_SUCCESSFUL});
}

// Waits in GetMessageA until the window is notified; answers the notification.
MSG WaitForNotification() {
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && msg.message != MM_MCINOTIFY) {
        DispatchMessageA(&msg);
    }
    return msg;
}

TEST_F(MciNotifyTest, AWaitingMessageLoopWakesAtTheMomentPlayEnds) {
    struct Case {
        const char* File;
        DWORD From;
        std::uint64_t EndsAt;
    };
    const Case cases[] = {
        {"tone-44k-stereo.mp3", 0, 3200},
        {"tone-22k-mono.wav", 1234, 1966},
        {"tone-11k-8bit.wav", 3199, 1},
    };
    for (const Case& c : cases) {
        MCIDEVICEID id = Open(c.File);
        const std::uint64_t start = testdriver::Now();
        ASSERT_EQ(Notified(id, MCI_PLAY, MCI_FROM, MCI_PLAY_PARMS{0, c.From, 0}), 0u) << c.File;
        const MSG msg = WaitForNotification();
        EXPECT_EQ(msg.message, MM_MCINOTIFY) << c.File;
        EXPECT_EQ(msg.wParam, MCI_NOTIFY_SUCCESSFUL) << c.File;
        EXPECT_EQ(testdriver::Now() - start, c.EndsAt) << c.File;
        EXPECT_EQ(Position(id), Length(id)) << c.File;
        EXPECT_EQ(Simple(id, MCI_CLOSE), 0u);
    }
}

TEST_F(MciNotifyTest, TheEndOfPlayOnARealDeviceWakesABlockedLoop) {
    // SDL's dummy driver keeps real time without a sound card.
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    testdriver::UseRealClock();
    MCIDEVICEID id = Open("tone-11k-8bit.wav");
    const std::uint64_t start = testdriver::Now();
    ASSERT_EQ(Notified(id, MCI_PLAY, MCI_FROM, MCI_PLAY_PARMS{0, 3000, 0}), 0u);
    EXPECT_EQ(Mode(id), MCI_MODE_PLAY);
    const MSG msg = WaitForNotification();
    const std::uint64_t waited = testdriver::Now() - start;
    EXPECT_EQ(msg.message, MM_MCINOTIFY);
    EXPECT_EQ(msg.wParam, MCI_NOTIFY_SUCCESSFUL);
    EXPECT_GE(waited, 150u);
    EXPECT_LT(waited, 2000u);
    EXPECT_EQ(Position(id), 3200u);
    EXPECT_EQ(Mode(id), MCI_MODE_STOP);
}

TEST_F(MciNotifyTest, ARealDevicePausedForLongerThanItIsKeptOpenPlaysOnToTheEnd) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    testdriver::UseRealClock();
    MCIDEVICEID id = Open("tone-11k-8bit.wav");
    ASSERT_EQ(Notified(id, MCI_PLAY, MCI_FROM, MCI_PLAY_PARMS{0, 2900, 0}), 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(Simple(id, MCI_PAUSE), 0u);
    const DWORD pausedAt = Position(id);
    EXPECT_GT(pausedAt, 2900u);
    EXPECT_LT(pausedAt, 3200u);
    // The stopped output device is closed meanwhile; resuming opens a new one.
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_EQ(Position(id), pausedAt);
    EXPECT_EQ(Mode(id), MCI_MODE_PAUSE);
    EXPECT_EQ(Simple(id, MCI_RESUME), 0u);
    EXPECT_EQ(Notifications(id), std::vector<WPARAM>{MCI_NOTIFY_ABORTED});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (Mode(id) == MCI_MODE_PLAY && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(Mode(id), MCI_MODE_STOP);
    EXPECT_EQ(Position(id), 3200u);
}

} // namespace
