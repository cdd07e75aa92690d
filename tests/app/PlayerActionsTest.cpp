#include "tests/app/RunningPlayer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "elements/TZuButton.h"
#include "elements/TZuLabel.h"
#include "elements/TZuListBox.h"
#include "elements/TZuMainForm.h"
#include "platform/testing.h"
#include "tests/support/ReadBack.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

namespace fs = std::filesystem;

// What the add-file dialog is recorded with: its title, then the filter list with its NULs.
constexpr char AddFileDialogShown[] = "\xCE\xD2\xC2\xC0\xD0\xDF\xCD\xC5\n"
                                      "MP3\0*.mp3\0WAVE\0*.wav\0\0";

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

// A silent mono 8-bit PCM WAVE file of exactly ms milliseconds at the given rate.
void WriteWave(const fs::path& path, std::uint32_t sampleRate, std::uint64_t ms) {
    ASSERT_EQ(ms * sampleRate % 1000, 0u) << "the length must be a whole number of frames";
    const auto frames = static_cast<std::uint32_t>(ms * sampleRate / 1000);
    std::string header;
    header += "RIFF";
    PutLittleEndian(header, 36 + frames, 4);
    header += "WAVEfmt ";
    PutLittleEndian(header, 16, 4);
    PutLittleEndian(header, 1, 2); // PCM
    PutLittleEndian(header, 1, 2); // mono
    PutLittleEndian(header, sampleRate, 4);
    PutLittleEndian(header, sampleRate, 4); // bytes per second
    PutLittleEndian(header, 1, 2);          // block size
    PutLittleEndian(header, 8, 2);          // bits per sample
    header += "data";
    PutLittleEndian(header, frames, 4);
    std::ofstream file(path, std::ios::binary);
    file << header << std::string(frames, '\x80');
    ASSERT_TRUE(file.good());
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The running player with a directory of generated media of its own.
class PlayerActionsTest : public RunningPlayer {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        directory = fs::path(::testing::TempDir()) /
                    (std::string("kestrin-") + test->test_suite_name() + "-" + test->name());
        fs::remove_all(directory);
        fs::create_directories(directory);
        RunningPlayer::SetUp();
    }
    void TearDown() override {
        RunningPlayer::TearDown();
        fs::remove_all(directory);
    }

    // Runs the steps one by one in the running message loop, then closes the player. Input
    // given in a step is handled by the loop after the step, so a step acts once and the next
    // one looks at the outcome.
    void InLoop(const std::vector<std::function<void()>>& steps) {
        for (const auto& step : steps) {
            testdriver::AddIdleStep(step);
        }
        CloseAfterTheSteps();
        EXPECT_FALSE(testdriver::Stalled());
        EXPECT_EQ(testdriver::PendingIdleSteps(), 0u);
    }
    // Runs the message loop through the scripted steps, then closes the main window.
    void CloseAfterTheSteps() {
        const HWND mainWindow = player->MainForm->Control->Handle;
        testdriver::AddIdleStep([mainWindow] { PostMessageA(mainWindow, WM_CLOSE, 0, 0); });
        RunMessageLoop(MainControl);
    }
    static std::function<void()> Wait(std::uint64_t ms) {
        return [ms] { testdriver::AdvanceClock(ms); };
    }
    // Up to ms after the next tick.
    static std::function<void()> WaitForTick(std::uint64_t ms = 0) {
        return [ms] { testdriver::AdvanceClock(1000 - testdriver::Now() % 1000 + ms); };
    }
    std::function<void()> ExpectDuration(std::string shown) {
        return [this, shown] { EXPECT_EQ(Duration(), shown); };
    }
    std::function<void()> ExpectPosition(std::string shown) {
        return [this, shown] { EXPECT_EQ(Position(), shown); };
    }

    fs::path Wave(const std::string& name, std::uint32_t sampleRate, std::uint64_t ms) {
        const fs::path path = directory / name;
        WriteWave(path, sampleRate, ms);
        return path;
    }

    static void Press(const TZuButton* button) { testdriver::Click(button->Control->Handle, 5, 5); }
    void AddFile(const fs::path& path) {
        testdriver::QueueFileDialogPath(path.string());
        Press(player->AddFileButton);
    }
    // Makes an item current with the mouse, as a user selects it.
    void Select(int index) {
        const HWND list = player->PlayList->Control->Handle;
        const auto height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        testdriver::Click(list, 10, index * height + height / 2);
    }
    std::vector<std::string> Items() const {
        return readback::ListItems(player->PlayList->Control->Handle);
    }

    std::uint64_t MsToNextTick() const { return 1000 - testdriver::Now() % 1000; }

    fs::path directory;
};

TEST_F(PlayerActionsTest, AddingTwoFilesPutsTheLastAddedFirstAndACancelAddsNothing) {
    const fs::path first = Wave("first.wav", 8000, 1000);
    const fs::path second = Wave("second.wav", 8000, 1000);
    testdriver::Record(testdriver::ApiFamily::Dialogs);
    testdriver::QueueFileDialogPath(first.string());
    testdriver::QueueFileDialogPath(second.string());
    testdriver::QueueFileDialogCancel();
    std::vector<std::string> seen;
    for (int click = 0; click < 3; ++click) {
        testdriver::AddIdleStep([this] { Press(player->AddFileButton); });
    }
    testdriver::AddIdleStep([this, &seen] { seen = Items(); });
    CloseAfterTheSteps();

    EXPECT_EQ(seen, (std::vector<std::string>{second.string(), first.string()}));
    const auto calls = testdriver::RecordedCalls();
    ASSERT_EQ(calls.size(), 3u);
    for (const auto& call : calls) {
        EXPECT_EQ(call.Function, "GetOpenFileNameA");
        EXPECT_EQ(call.Text, std::string(AddFileDialogShown, sizeof AddFileDialogShown - 1));
    }
    EXPECT_EQ(MainControl, nullptr);
}

// The files each select opened, in order.
std::vector<std::string> OpenedFiles() {
    std::vector<std::string> opened;
    for (const auto& call : testdriver::RecordedCalls()) {
        if (call.Family == testdriver::ApiFamily::Mci && call.Values.size() > 1 &&
            call.Values[1] == MCI_OPEN) {
            opened.push_back(call.Text);
        }
    }
    return opened;
}

TEST_F(PlayerActionsTest, SelectingPlaysTheItemsFileAndShowsItsDurationAtOnce) {
    const fs::path longer = Wave("longer.wav", 8000, 185500);
    const fs::path shorter = Wave("shorter.wav", 8000, 184500);
    testdriver::Record(testdriver::ApiFamily::Mci);
    // Whole seconds round ties to even: 185.5 s is 186 s, 184.5 s is 184 s.
    InLoop({
        [&] { AddFile(longer); },
        [&] { AddFile(shorter); },
        [&] {
            ASSERT_EQ(Items(), (std::vector<std::string>{shorter.string(), longer.string()}));
        },
        [&] { Select(1); },
        ExpectDuration("3:6"),
        [&] { Select(0); },
        ExpectDuration("3:4"),
    });
    EXPECT_EQ(OpenedFiles(), (std::vector<std::string>{longer.string(), shorter.string()}));
}

TEST_F(PlayerActionsTest, TicksShowThePositionInWholeSecondsWithUnlimitedMinutes) {
    const fs::path track = Wave("track.wav", 8000, 185500);
    // 100 frames a second keep an hour-long file small.
    const fs::path hour = Wave("hour.wav", 100, 3726000);
    InLoop({
        [&] { AddFile(track); },
        // Started 1 ms after a tick, the position at the ticks is 1 ms short of whole seconds.
        WaitForTick(1),
        [&] { Select(0); },
        Wait(58999),
        ExpectPosition("0:59"),
        Wait(1000),
        ExpectPosition("1:0"),
        [&] { AddFile(hour); },
        WaitForTick(),
        [&] { Select(0); },
        ExpectDuration("62:6"),
        Wait(3725000),
        ExpectPosition("62:5"),
    });
}

TEST_F(PlayerActionsTest, PauseFreezesThePositionReadoutAndASecondPauseMovesItOn) {
    const fs::path track = Wave("track.wav", 8000, 185500);
    InLoop({
        [&] { AddFile(track); },
        WaitForTick(),
        [&] { Select(0); },
        Wait(5000),
        ExpectPosition("0:5"),
        [&] { Press(player->PauseButton); },
        Wait(3000),
        ExpectPosition("0:5"),
        [&] { Press(player->PauseButton); },
        Wait(2000),
        ExpectPosition("0:7"),
    });
}

TEST_F(PlayerActionsTest, StopShowsZeroAtTheNextTickAndKeepsTheDuration) {
    const fs::path track = Wave("track.wav", 8000, 185500);
    InLoop({
        [&] { AddFile(track); },
        WaitForTick(),
        [&] { Select(0); },
        Wait(4000),
        [&] { Press(player->StopButton); },
        ExpectPosition("0:4"),
        WaitForTick(),
        ExpectPosition("0:0"),
        Wait(3000),
        ExpectPosition("0:0"),
        ExpectDuration("3:6"),
    });
}

TEST_F(PlayerActionsTest, ClearingTheListWhilePlayingStopsPlaybackAndKeepsTheDuration) {
    const fs::path first = Wave("first.wav", 8000, 185500);
    const fs::path second = Wave("second.wav", 8000, 184500);
    InLoop({
        [&] { AddFile(first); },
        [&] { AddFile(second); },
        WaitForTick(),
        [&] { Select(1); },
        Wait(3000),
        ExpectPosition("0:3"),
        [&] { Press(player->ClearListButton); },
        [&] { EXPECT_TRUE(Items().empty()); },
        WaitForTick(),
        ExpectPosition("0:0"),
        Wait(2000),
        ExpectPosition("0:0"),
        ExpectDuration("3:6"),
    });
}

TEST_F(PlayerActionsTest, SavedListsAreCrLfLinesAndOpenReplacesTheItemsWithoutStoppingPlay) {
    const fs::path first = Wave("first.wav", 8000, 185500);
    const fs::path second = Wave("second.wav", 8000, 184500);
    const fs::path saved = directory / "saved.qpl";
    const fs::path written = directory / "written.qpl";
    std::ofstream(written, std::ios::binary) << first.string() << "\r\n";
    const std::vector<std::string> both{second.string(), first.string()};
    InLoop({
        [&] { AddFile(first); },
        [&] { AddFile(second); },
        [&] {
            testdriver::QueueFileDialogPath(saved.string());
            Press(player->SaveListButton);
        },
        [&] { EXPECT_EQ(ReadBytes(saved), second.string() + "\r\n" + first.string() + "\r\n"); },
        [&] { Press(player->ClearListButton); },
        [&] { ASSERT_TRUE(Items().empty()); },
        [&] {
            testdriver::QueueFileDialogPath(saved.string());
            Press(player->OpenListButton);
        },
        [&] { EXPECT_EQ(Items(), both); },
        // A list opened while a track plays leaves the track playing.
        WaitForTick(),
        [&] { Select(1); },
        Wait(2000),
        [&] {
            testdriver::QueueFileDialogPath(written.string());
            Press(player->OpenListButton);
        },
        [&] { EXPECT_EQ(Items(), std::vector<std::string>{first.string()}); },
        Wait(1000),
        ExpectPosition("0:3"),
    });
}

TEST_F(PlayerActionsTest, AtTheEndOfATrackThePositionStaysAtTheEndAndNothingElsePlays) {
    const fs::path other = Wave("other.wav", 8000, 185500);
    const fs::path shortTrack = Wave("short.wav", 8000, 2000);
    testdriver::Record(testdriver::ApiFamily::Mci);
    InLoop({
        [&] { AddFile(other); },
        [&] { AddFile(shortTrack); },
        WaitForTick(),
        [&] { Select(0); },
        Wait(6000),
        ExpectPosition("0:2"),
        ExpectDuration("0:2"),
        [&] { EXPECT_EQ(readback::CurrentItem(player->PlayList->Control->Handle), 0); },
    });
    EXPECT_EQ(OpenedFiles(), std::vector<std::string>{shortTrack.string()});
}

TEST_F(PlayerActionsTest, ClosingWhilePlayingQuitsWithZeroAndDestroysEveryWindow) {
    const fs::path track = Wave("track.wav", 8000, 185500);
    HWND mainWindow = player->MainForm->Control->Handle;
    HWND list = nullptr;
    InLoop({
        [&] { AddFile(track); },
        [&] { Select(0); },
        Wait(1500),
        [&] {
            list = player->PlayList->Control->Handle;
            ASSERT_TRUE(IsWindow(list));
            testdriver::Record(testdriver::ApiFamily::Messages);
        },
    });
    EXPECT_EQ(MainControl, nullptr);
    EXPECT_FALSE(IsWindow(mainWindow));
    EXPECT_FALSE(IsWindow(list));
    std::vector<std::uintptr_t> quitCodes;
    for (const auto& call : testdriver::RecordedCalls()) {
        if (call.Function == "PostQuitMessage") {
            quitCodes.insert(quitCodes.end(), call.Values.begin(), call.Values.end());
        }
    }
    ASSERT_FALSE(quitCodes.empty());
    EXPECT_EQ(quitCodes, std::vector<std::uintptr_t>(quitCodes.size(), 0));
}

} // namespace
