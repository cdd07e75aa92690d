// Files from outside on both systems: a drop made by hand as Windows hands one over (a global
// memory block holding a DROPFILES record and the names) posted to the running player's window,
// and arguments of which the system's media engine decides which it plays.

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

#include <cstdint>
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

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

// Half a second of 8-bit mono silence at 8000 Hz.
std::string SilentWave() {
    constexpr std::uint32_t frames = 4000;
    std::string wave = "RIFF";
    PutLittleEndian(wave, 36 + frames, 4);
    wave += "WAVEfmt ";
    PutLittleEndian(wave, 16, 4);
    PutLittleEndian(wave, 1, 2); // PCM
    PutLittleEndian(wave, 1, 2); // mono
    PutLittleEndian(wave, 8000, 4);
    PutLittleEndian(wave, 8000, 4); // bytes per second
    PutLittleEndian(wave, 1, 2);    // block size
    PutLittleEndian(wave, 8, 2);    // bits per sample
    wave += "data";
    PutLittleEndian(wave, frames, 4);
    return wave + std::string(frames, '\x80');
}

class FilesFromOutsideWin32Test : public RunningPlayer {
protected:
    std::string File(const std::string& name, const std::string& text) {
        const std::string path = (scratch / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    HWND Form() const { return player->MainForm->Control->Handle; }
    Names Items() const { return readback::ListItems(player->PlayList->Control->Handle); }

    ScratchDir scratch;
};

TEST_F(FilesFromOutsideWin32Test, TheWindowAcceptsFilesAndADropAddsThePlaylistsEntriesInDropOrder) {
    AcceptDroppedFiles(*player);
    EXPECT_NE(readback::ExStyle(Form()) & WS_EX_ACCEPTFILES, 0u);
    const std::string first = File("first.qpl", "one.mp3\r\ntwo.wav\r\n");
    const std::string second = File("second.QPL", "three.flac\r\n");
    const std::string neither = File("notes.txt", "not a playlist\r\n");

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

TEST_F(FilesFromOutsideWin32Test, ArgumentsTheEngineOpensAreListedAndTheRestAnswered) {
    const std::string wave = File("silence.wav", SilentWave());
    const std::string list = File("list.qpl", "one.mp3\r\n");
    const std::string notAudio = File("notes.wav", "not a wave file\r\n");
    const std::string missing = (scratch / "missing.wav").string();
    EXPECT_EQ(OpenArguments(*player, {list, notAudio, wave, missing}), (Names{notAudio, missing}));
    EXPECT_EQ(Items(), (Names{wave, "one.mp3"}));
    EXPECT_EQ(readback::CurrentItem(player->PlayList->Control->Handle), 0);
}

} // namespace
