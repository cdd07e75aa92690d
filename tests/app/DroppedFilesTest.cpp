// A drop made by hand as Windows hands one over (a global memory block holding a DROPFILES
// record and the names) and posted to the running player's window: the same test on our layer
// and on the system's own shell functions.

#include "app/FilesFromOutside.h"
#include "elements/TZuListBox.h"
#include "elements/TZuMainForm.h"
#include "tests/app/RunningPlayer.h"
#include "tests/support/ReadBack.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/TestSession.h"
#include "toolkit/TControl.h"

#ifdef _WIN32
#include <shlobj.h>
#endif

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

// Narrow names, each ended by a NUL, and one more NUL after the last.
HGLOBAL HandMadeDrop(const Names& names) {
    std::string list;
    for (const std::string& name : names) {
        list += name;
        list.push_back('\0');
    }
    list.push_back('\0');
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    auto* bytes = static_cast<char*>(GlobalLock(memory));
    if (bytes == nullptr) {
        return nullptr;
    }
    DROPFILES record{};
    record.pFiles = sizeof(DROPFILES);
    record.pt = POINT{100, 50};
    std::memcpy(bytes, &record, sizeof record);
    std::memcpy(bytes + sizeof record, list.data(), list.size());
    GlobalUnlock(memory);
    return memory;
}

class DroppedFilesTest : public RunningPlayer {
protected:
    std::string Playlist(const std::string& name, const std::string& text) {
        const std::string path = (scratch / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    HWND Form() const { return player->MainForm->Control->Handle; }
    Names Items() const { return readback::ListItems(player->PlayList->Control->Handle); }

    ScratchDir scratch;
};

TEST_F(DroppedFilesTest, TheWindowAcceptsFilesAndADropAddsThePlaylistsEntriesInDropOrder) {
    AcceptDroppedFiles(*player);
    EXPECT_NE(readback::ExStyle(Form()) & WS_EX_ACCEPTFILES, 0u);
    const std::string first = Playlist("first.qpl", "one.mp3\r\ntwo.wav\r\n");
    const std::string second = Playlist("second.QPL", "three.flac\r\n");
    const std::string neither = Playlist("notes.txt", "not a playlist\r\n");

    const HGLOBAL drop = HandMadeDrop({first, neither, second});
    ASSERT_NE(drop, nullptr);
    ASSERT_TRUE(PostMessageA(Form(), WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0));
    testsession::PumpUntilIdle();
    EXPECT_EQ(Items(), (Names{"one.mp3", "two.wav", "three.flac"}));
    if (testsession::RunningOnOwnLayer()) {
        // The handler released the drop with DragFinish.
        EXPECT_EQ(GlobalSize(drop), 0u);
    }

    const HGLOBAL again = HandMadeDrop({second});
    ASSERT_TRUE(PostMessageA(Form(), WM_DROPFILES, reinterpret_cast<WPARAM>(again), 0));
    testsession::PumpUntilIdle();
    EXPECT_EQ(Items(), (Names{"three.flac", "one.mp3", "two.wav", "three.flac"}));
}

} // namespace
