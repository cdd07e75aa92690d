// The file dialog functions answered from the test driver's queue, without showing anything:
// the answers, the checks a scripted path still passes, the errors of bad records, and what is
// recorded.

#include "tests/platform/comdlg32/FileDialogFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace filedialog;

class FileDialogApiTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        ASSERT_FALSE(tree.Root().empty());
        tree.Folder("music");
        tree.File("music/a.mp3");
        tree.File("music/song");
    }
    void TearDown() override { testdriver::Reset(); }

    void Prepare(Request& request, DWORD flags) const {
        request.ofn.lpstrInitialDir = tree.Root().c_str();
        request.ofn.Flags = flags;
    }

    TempTree tree;
};

TEST_F(FileDialogApiTest, QueuedAnswersComeBackInOrderWithoutAWindow) {
    testdriver::QueueFileDialogPath(tree.Path("music/a.mp3"));
    testdriver::QueueFileDialogCancel();
    testdriver::QueueFileDialogPath("music/a.mp3");
    Request first, second(262, "kept.mp3"), third;
    Prepare(first, OFN_FILEMUSTEXIST);
    Prepare(second, OFN_FILEMUSTEXIST);
    Prepare(third, OFN_FILEMUSTEXIST);
    EXPECT_TRUE(GetOpenFileNameA(&first.ofn));
    EXPECT_FALSE(GetOpenFileNameA(&second.ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_TRUE(GetOpenFileNameA(&third.ofn));
    EXPECT_EQ(first.File(), tree.Path("music/a.mp3"));
    EXPECT_EQ(second.File(), "kept.mp3");
    EXPECT_EQ(third.File(), tree.Path("music/a.mp3")); // relative to the initial folder
    EXPECT_EQ(FindDialog(), nullptr);
}

// A scripted path passes the checks a typed one would; one the dialog would refuse answers as
// a cancel.
TEST_F(FileDialogApiTest, QueuedPathsPassTheChecksOfTheFlags) {
    struct Case {
        bool OpenDialog;
        DWORD Flags;
        std::string Path;
        bool Chosen;
    };
    const Case cases[] = {
        {true, OFN_FILEMUSTEXIST, "music/missing.mp3", false},
        {true, OFN_PATHMUSTEXIST, "music/missing.mp3", true},
        {true, OFN_PATHMUSTEXIST, "nowhere/a.mp3", false},
        {true, 0, "nowhere/a.mp3", true},
        {true, OFN_FILEMUSTEXIST, "music", false}, // a folder is no file
        {false, OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, "music/new.qpl", true},
        {false, OFN_PATHMUSTEXIST, "nowhere/new.qpl", false},
        {false, OFN_OVERWRITEPROMPT, "music/a.mp3", true}, // the script confirms
    };
    for (const Case& c : cases) {
        Request request;
        Prepare(request, c.Flags);
        testdriver::QueueFileDialogPath(c.Path);
        const BOOL chosen =
            c.OpenDialog ? GetOpenFileNameA(&request.ofn) : GetSaveFileNameA(&request.ofn);
        EXPECT_EQ(chosen != FALSE, c.Chosen) << c.Path << " flags " << c.Flags;
        EXPECT_EQ(CommDlgExtendedError(), 0u) << c.Path;
        EXPECT_EQ(request.File(), c.Chosen ? tree.Path(c.Path) : "") << c.Path;
    }
}

TEST_F(FileDialogApiTest, AQueuedPathThatDoesNotFitAnswersTheSizeNeeded) {
    const std::string path = tree.Path("music/a.mp3");
    struct Case {
        std::size_t BufferSize;
        bool Fits;
    };
    for (const Case c : {Case{path.size(), false}, Case{path.size() + 1, true}}) {
        Request request(c.BufferSize);
        Prepare(request, OFN_FILEMUSTEXIST);
        testdriver::QueueFileDialogPath(path);
        EXPECT_EQ(GetOpenFileNameA(&request.ofn) != FALSE, c.Fits) << c.BufferSize;
        if (c.Fits) {
            EXPECT_EQ(CommDlgExtendedError(), 0u);
            EXPECT_EQ(request.File(), path);
        } else {
            EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
            EXPECT_EQ(static_cast<unsigned char>(request.buffer[0]) |
                          static_cast<unsigned char>(request.buffer[1]) << 8,
                      path.size() + 1);
        }
    }
}

TEST_F(FileDialogApiTest, TheDefaultExtensionCompletesANameWithoutOne) {
    struct Case {
        const char* Typed;
        const char* DefaultExtension;
        std::string Expected;
    };
    const Case cases[] = {
        {"music/new", "qpl", tree.Path("music/new.qpl")},
        {"music/new", ".qpl", tree.Path("music/new.qpl")},
        {"music/new", "", tree.Path("music/new")},
        {"music/new.txt", "qpl", tree.Path("music/new.txt")},
        {"music/song", "qpl", tree.Path("music/song")}, // an existing file keeps its name
    };
    for (const Case& c : cases) {
        Request request;
        Prepare(request, 0);
        request.ofn.lpstrDefExt = c.DefaultExtension;
        testdriver::QueueFileDialogPath(c.Typed);
        ASSERT_TRUE(GetSaveFileNameA(&request.ofn)) << c.Typed;
        EXPECT_EQ(request.File(), c.Expected) << c.Typed << " + " << c.DefaultExtension;
    }
}

TEST_F(FileDialogApiTest, TheNameAndExtensionOffsetsAndTheFileTitleAreFilledIn) {
    struct Case {
        std::string Path;
        WORD Extension; // counted from the end of the folder and its '/'
        const char* Title;
    };
    const Case cases[] = {
        {"music/a.mp3", 2, "a.mp3"},
        {"music/song", 4, "song"}, // no extension: the terminating NUL
        {"music/end.", 0, "end."}, // a name ending with the dot
        {"music/x.tar.gz", 6, "x.tar.gz"},
    };
    const std::size_t nameOffset = tree.Path("music/").size();
    for (const Case& c : cases) {
        Request request;
        Prepare(request, 0);
        char title[16] = "unchanged";
        request.ofn.lpstrFileTitle = title;
        request.ofn.nMaxFileTitle = sizeof title;
        testdriver::QueueFileDialogPath(c.Path);
        ASSERT_TRUE(GetSaveFileNameA(&request.ofn)) << c.Path;
        EXPECT_EQ(request.ofn.nFileOffset, nameOffset) << c.Path;
        EXPECT_EQ(request.ofn.nFileExtension, c.Extension == 0 ? 0 : nameOffset + c.Extension)
            << c.Path;
        EXPECT_STREQ(title, c.Title) << c.Path;
    }
}

TEST_F(FileDialogApiTest, BadRecordsFailWithTheirErrors) {
    testdriver::QueueFileDialogPath(tree.Path("music/a.mp3"));
    Request wrongSize;
    wrongSize.ofn.lStructSize = 76 + 1;
    EXPECT_FALSE(GetOpenFileNameA(&wrongSize.ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
    EXPECT_FALSE(GetSaveFileNameA(nullptr));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);

    Request noBuffer;
    noBuffer.ofn.lpstrFile = nullptr;
    EXPECT_FALSE(GetOpenFileNameA(&noBuffer.ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);

    Request badOwner;
    badOwner.ofn.hwndOwner = reinterpret_cast<HWND>(0x4321);
    EXPECT_FALSE(GetOpenFileNameA(&badOwner.ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_DIALOGFAILURE);

    // None of them took the queued answer; the older record size is accepted.
    Request older;
    older.ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    EXPECT_TRUE(GetOpenFileNameA(&older.ofn));
    EXPECT_EQ(older.File(), tree.Path("music/a.mp3"));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(FileDialogApiTest, RecordsTheTitleAndTheFilterListAsPassed) {
    testdriver::Record(testdriver::ApiFamily::Dialogs);
    testdriver::QueueFileDialogCancel();
    testdriver::QueueFileDialogCancel();
    Request open;
    open.ofn.lpstrFilter = "MP3\0*.mp3\0WAVE\0*.wav\0";
    open.ofn.lpstrTitle = "Pick";
    open.ofn.nFilterIndex = 2;
    open.ofn.Flags = OFN_FILEMUSTEXIST;
    EXPECT_FALSE(GetOpenFileNameA(&open.ofn));
    Request save;
    EXPECT_FALSE(GetSaveFileNameA(&save.ofn));
    const std::vector<testdriver::ApiCall> expected = {
        {testdriver::ApiFamily::Dialogs,
         "GetOpenFileNameA",
         {0, OFN_FILEMUSTEXIST, 2, 262},
         std::string("Pick\nMP3\0*.mp3\0WAVE\0*.wav\0\0", 27)},
        {testdriver::ApiFamily::Dialogs, "GetSaveFileNameA", {0, 0, 0, 262}, "Save As\n"},
    };
    EXPECT_EQ(testdriver::RecordedCalls(), expected);
}

TEST_F(FileDialogApiTest, SeveralQueuedNamesComeAsAList) {
    tree.File("music/b.mp3");
    Request request(1000);
    Prepare(request, OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT);
    testdriver::QueueFileDialogPath("\"music/a.mp3\" \"music/b.mp3\"");
    ASSERT_TRUE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(request.List(), tree.Path("music") + std::string("\0a.mp3\0b.mp3", 12));
}

} // namespace
