// Files named on the command line and files dropped on the window, taken into the running
// player through the list's and the player's own inputs.

#include "app/FilesFromOutside.h"
#include "elements/TZuListBox.h"
#include "elements/TZuMainForm.h"
#include "elements/TZuMediaPlayer.h"
#include "platform/posix/shell32/drop.h"
#include "platform/testing.h"
#include "tests/app/RunningPlayer.h"
#include "tests/support/ReadBack.h"
#include "tests/support/ScratchDir.h"
#include "toolkit/TControl.h"
#include "toolkit/TMediaPlayer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

std::string Media(const std::string& name) {
    return std::string(KESTRIN_MEDIA_DIR "/") + name;
}

// 3.2 s tones; text.mp3 is a text file however it is named.
const std::string Mp3 = Media("tone-44k-stereo.mp3");
const std::string Wave = Media("tone-22k-mono.wav");
const std::string NotAudio = Media("text.mp3");

class FilesFromOutsideTest : public RunningPlayer {
protected:
    // A playlist of two entries, CR LF lines as the player saves them.
    std::string Playlist(const std::string& name) {
        const std::string path = (scratch / name).string();
        std::ofstream(path, std::ios::binary) << "/music/x.mp3\r\n\r\n/music/y.wav\r\n";
        return path;
    }
    Names Items() const { return readback::ListItems(player->PlayList->Control->Handle); }
    int Current() const { return readback::CurrentItem(player->PlayList->Control->Handle); }
    TMediaPlayer& Engine() const { return *player->MediaPlayer->Player(); }
    bool Playing(const std::string& file) const {
        return Engine().FileName == file && !Engine().NotPlaying();
    }
    HWND Form() const { return player->MainForm->Control->Handle; }
    void Drop(const Names& paths) {
        RECT client{};
        GetClientRect(Form(), &client);
        POINT middle{client.right / 2, client.bottom / 2};
        ClientToScreen(Form(), &middle);
        ASSERT_TRUE(posix::PostDroppedFiles(Form(), middle, paths));
        testdriver::PumpUntilIdle();
    }

    ScratchDir scratch;
};

TEST_F(FilesFromOutsideTest, FilesAreListedInArgumentOrderAndTheFirstPlaysAsIfClicked) {
    EXPECT_EQ(OpenArguments(*player, {Mp3, Wave}), Names{});
    EXPECT_EQ(Items(), (Names{Mp3, Wave}));
    EXPECT_EQ(Current(), 0);
    EXPECT_TRUE(Playing(Mp3));
    // The selection went through the graph: the duration shows as after a click.
    EXPECT_EQ(Duration(), "0:3");
}

TEST_F(FilesFromOutsideTest, APlaylistIsOpenedAsOpenListDoesAndNothingPlays) {
    const std::string list = Playlist("LIST.QPL");
    EXPECT_EQ(OpenArguments(*player, {list}), Names{});
    EXPECT_EQ(Items(), (Names{"/music/x.mp3", "", "/music/y.wav"}));
    EXPECT_EQ(Engine().DeviceId, 0u);
    EXPECT_EQ(Duration(), "0:0");
}

TEST_F(FilesFromOutsideTest, FilesGoAboveAPlaylistNamedWithThemAndTheFirstFilePlays) {
    const std::string list = Playlist("list.qpl");
    EXPECT_EQ(OpenArguments(*player, {Wave, list}), Names{});
    EXPECT_EQ(Items(), (Names{Wave, "/music/x.mp3", "", "/music/y.wav"}));
    EXPECT_TRUE(Playing(Wave));
}

TEST_F(FilesFromOutsideTest, ArgumentsThatAreNeitherAreAnsweredInOrderAndTheRestIsOpened) {
    const std::string missing = (scratch / "missing.mp3").string();
    const std::string missingList = (scratch / "missing.qpl").string();
    const std::string directory = (scratch / "folder.mp3").string();
    std::filesystem::create_directory(directory);
    EXPECT_EQ(OpenArguments(*player, {missing, NotAudio, Wave, directory, missingList}),
              (Names{missing, NotAudio, directory, missingList}));
    EXPECT_EQ(Items(), Names{Wave});
    EXPECT_TRUE(Playing(Wave));
}

TEST_F(FilesFromOutsideTest, NoUsableArgumentChangesNothing) {
    EXPECT_EQ(OpenArguments(*player, {NotAudio}), Names{NotAudio});
    EXPECT_EQ(OpenArguments(*player, {}), Names{});
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(Engine().DeviceId, 0u);
}

TEST_F(FilesFromOutsideTest, DroppedFilesGoOnTopInDropOrderAPlaylistByItsEntriesAndNothingPlays) {
    AcceptDroppedFiles(*player);
    EXPECT_NE(GetWindowLongA(Form(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    const std::string list = Playlist("list.qpl");

    Drop({Mp3, NotAudio, list, Wave});
    EXPECT_EQ(Items(), (Names{Mp3, "/music/x.mp3", "/music/y.wav", Wave}));
    Drop({Wave});
    EXPECT_EQ(Items(), (Names{Wave, Mp3, "/music/x.mp3", "/music/y.wav", Wave}));
    EXPECT_EQ(Engine().DeviceId, 0u);
    EXPECT_EQ(Current(), -1);
}

TEST_F(FilesFromOutsideTest, ADropWhilePlayingLeavesTheTrackPlaying) {
    AcceptDroppedFiles(*player);
    OpenArguments(*player, {Wave});
    Drop({Mp3});
    EXPECT_EQ(Items(), (Names{Mp3, Wave}));
    EXPECT_TRUE(Playing(Wave));
}

} // namespace
