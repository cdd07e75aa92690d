// The file dialogs running for real on the headless display, driven by injected input: folder
// navigation, filters, typed names, the flag checks with their message boxes, multiple
// selection, the owner and timers while the dialog waits.

#include "tests/platform/comdlg32/FileDialogFixture.h"
#include "tests/support/ReadBack.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace filedialog;
using posix::comdlg::FileListId;
using posix::comdlg::FileNameId;
using posix::comdlg::FilterListId;
using posix::comdlg::FolderTextId;

constexpr char mediaFilter[] = "MP3\0*.mp3\0WAVE\0*.wav\0";

class FileDialogTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        WNDCLASSA wndClass{};
        wndClass.lpfnWndProc = &DefWindowProcA;
        wndClass.hInstance = GetModuleHandleA(nullptr);
        wndClass.lpszClassName = "FileDialogTestOwner";
        ASSERT_NE(RegisterClassA(&wndClass), 0);
        ASSERT_FALSE(tree.Root().empty());
        tree.Folder("music/sub");
        tree.File("music/a.mp3");
        tree.File("music/b.wav");
        tree.File("music/.hidden.mp3");
        tree.File("notes.txt");
        tree.File("top.mp3");
    }
    void TearDown() override { testdriver::Reset(); }

    static HWND MakeOwner() {
        const HWND owner = CreateWindowExA(0, "FileDialogTestOwner", "Owner",
                                           WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 600, 500,
                                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(owner, nullptr);
        return owner;
    }

    // A media open dialog starting in the tree's root.
    void Prepare(Request& request, DWORD flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST) const {
        request.ofn.lpstrFilter = mediaFilter;
        request.ofn.lpstrInitialDir = tree.Root().c_str();
        request.ofn.Flags = flags | OFN_EXPLORER | OFN_HIDEREADONLY;
    }

    // Each step runs while the dialog waits, with the dialog found afresh.
    static void Steps(std::vector<std::function<void(HWND)>> steps) {
        for (auto& step : steps) {
            testdriver::AddIdleStep([step] {
                const HWND dialog = FindDialog();
                ASSERT_NE(dialog, nullptr);
                step(dialog);
            });
        }
    }

    static std::vector<std::string> FileItems(HWND dialog) {
        return readback::ListItems(Control(dialog, FileListId));
    }

    TempTree tree;
};

using Items = std::vector<std::string>;

TEST_F(FileDialogTest, NavigatesIntoAFolderAndAnswersTheFullPathOfTheFilePicked) {
    const HWND owner = MakeOwner();
    Request request;
    Prepare(request);
    request.ofn.hwndOwner = owner;
    Items rootItems, musicItems;
    std::string folderShown, title, typed;
    HWND dialogOwner = nullptr;
    bool ownerEnabled = true;
    Steps({
        [&](HWND dialog) {
            rootItems = FileItems(dialog);
            title = readback::WindowText(dialog);
            dialogOwner = GetWindow(dialog, GW_OWNER);
            ownerEnabled = IsWindowEnabled(owner) != FALSE;
            DoubleClickItem(Control(dialog, FileListId), "[music]");
        },
        [&](HWND dialog) {
            musicItems = FileItems(dialog);
            folderShown = readback::WindowText(Control(dialog, FolderTextId));
            ClickItem(Control(dialog, FileListId), "a.mp3");
        },
        [&](HWND dialog) {
            typed = readback::WindowText(Control(dialog, FileNameId));
            ClickButton(dialog, IDOK);
        },
    });
    ASSERT_TRUE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(request.File(), tree.Path("music/a.mp3"));
    EXPECT_EQ(request.ofn.nFileOffset, tree.Path("music/").size());
    EXPECT_EQ(request.ofn.nFileExtension, tree.Path("music/a.").size());
    EXPECT_EQ(request.ofn.nFilterIndex, 1u);
    EXPECT_EQ(rootItems, (Items{"[..]", "[music]", "top.mp3"}));
    EXPECT_EQ(musicItems, (Items{"[..]", "[sub]", "a.mp3"}));
    EXPECT_EQ(folderShown, tree.Path("music"));
    EXPECT_EQ(typed, "a.mp3");
    EXPECT_EQ(title, "Open");
    EXPECT_EQ(dialogOwner, owner);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(readback::ActiveWindow(), owner);
    EXPECT_EQ(FindDialog(), nullptr);
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(FileDialogTest, IsCentredOnItsOwner) {
    const HWND owner = MakeOwner();
    Request request;
    Prepare(request);
    request.ofn.hwndOwner = owner;
    RECT dialogRect{};
    Steps({[&](HWND dialog) {
        dialogRect = readback::WindowRect(dialog);
        testdriver::PressKey(VK_ESCAPE);
    }});
    EXPECT_FALSE(GetOpenFileNameA(&request.ofn));
    const RECT ownerRect = readback::WindowRect(owner);
    EXPECT_LE(std::abs((dialogRect.left + dialogRect.right) - (ownerRect.left + ownerRect.right)),
              1);
    EXPECT_LE(std::abs((dialogRect.top + dialogRect.bottom) - (ownerRect.top + ownerRect.bottom)),
              1);
}

TEST_F(FileDialogTest, OpensOnTheButtonFaceWithTheStartNameFocusedAndSelected) {
    Request request(262, "top.mp3");
    Prepare(request);
    std::int64_t background = -1;
    HWND focus = nullptr;
    HWND nameField = nullptr;
    DWORD selectionStart = 1, selectionEnd = 0;
    Steps({[&](HWND dialog) {
        background = testdriver::ClientPixel(dialog, 2, 2);
        focus = readback::Focus();
        nameField = Control(dialog, FileNameId);
        SendMessageA(nameField, EM_GETSEL, reinterpret_cast<WPARAM>(&selectionStart),
                     reinterpret_cast<LPARAM>(&selectionEnd));
        testdriver::PressKey(VK_ESCAPE);
    }});
    EXPECT_FALSE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(background, static_cast<std::int64_t>(GetSysColor(COLOR_BTNFACE)));
    ASSERT_NE(nameField, nullptr);
    EXPECT_EQ(focus, nameField);
    EXPECT_EQ(selectionStart, 0u);
    EXPECT_EQ(selectionEnd, 7u);
}

TEST_F(FileDialogTest, ChoosingAnotherFilterPairRelistsAndIsAnsweredInTheIndex) {
    Request request;
    Prepare(request);
    request.ofn.lpstrInitialDir = nullptr;
    request.ofn.lpstrFile[0] = '\0';
    tree.File("music/c.WAV");
    const std::string start = tree.Path("music/a.mp3");
    start.copy(request.buffer.data(), start.size());
    Items filters, mp3Items, wavItems;
    std::string prefilled;
    Steps({
        [&](HWND dialog) {
            prefilled = readback::WindowText(Control(dialog, FileNameId));
            filters = readback::ListItems(Control(dialog, FilterListId));
            mp3Items = FileItems(dialog);
            ClickItem(Control(dialog, FilterListId), "WAVE");
        },
        [&](HWND dialog) {
            wavItems = FileItems(dialog);
            DoubleClickItem(Control(dialog, FileListId), "c.WAV");
        },
    });
    ASSERT_TRUE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(request.File(), tree.Path("music/c.WAV"));
    EXPECT_EQ(request.ofn.nFilterIndex, 2u);
    EXPECT_EQ(prefilled, "a.mp3"); // a start name with a folder opens in that folder
    EXPECT_EQ(filters, (Items{"MP3", "WAVE"}));
    EXPECT_EQ(mp3Items, (Items{"[..]", "[sub]", "a.mp3"}));
    EXPECT_EQ(wavItems, (Items{"[..]", "[sub]", "b.wav", "c.WAV"}));
}

TEST_F(FileDialogTest, FilterIndexInPicksThePairShownFirst) {
    struct Case {
        DWORD IndexIn;
        Items Shown;
        DWORD IndexOut;
    };
    const Case cases[] = {
        {0, {"[..]", "[sub]", "a.mp3"}, 1},
        {1, {"[..]", "[sub]", "a.mp3"}, 1},
        {2, {"[..]", "[sub]", "b.wav"}, 2},
        {7, {"[..]", "[sub]", "a.mp3"}, 1},
    };
    for (const Case& c : cases) {
        testdriver::Reset();
        Request request;
        Prepare(request);
        request.ofn.lpstrInitialDir = nullptr;
        const std::string start = tree.Path("music/");
        start.copy(request.buffer.data(), start.size());
        request.ofn.nFilterIndex = c.IndexIn;
        Items shown;
        Steps({[&](HWND dialog) {
            shown = FileItems(dialog);
            DoubleClickItem(Control(dialog, FileListId), c.Shown.back());
        }});
        ASSERT_TRUE(GetOpenFileNameA(&request.ofn)) << c.IndexIn;
        EXPECT_EQ(shown, c.Shown) << c.IndexIn;
        EXPECT_EQ(request.ofn.nFilterIndex, c.IndexOut) << c.IndexIn;
    }
}

TEST_F(FileDialogTest, PatternsMatchWithoutRegardToCase) {
    tree.Folder("cases");
    for (const char* name : {"a.mp3", "B.MP3", "c.Wav", "d.txt", "e.mp3x"}) {
        tree.File(std::string("cases/") + name);
    }
    Request request;
    request.ofn.lpstrFilter = "Sound\0*.MP3;*.wav\0";
    const std::string folder = tree.Path("cases");
    request.ofn.lpstrInitialDir = folder.c_str();
    Items shown;
    HWND filterList = nullptr;
    HWND filterText = nullptr;
    Steps({[&](HWND dialog) {
        shown = FileItems(dialog);
        filterList = Control(dialog, FilterListId);
        filterText = Control(dialog, posix::comdlg::FilterTextId);
        testdriver::PressKey(VK_ESCAPE);
    }});
    EXPECT_FALSE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(shown, (Items{"[..]", "a.mp3", "B.MP3", "c.Wav"}));
    EXPECT_EQ(filterList, nullptr); // one pair needs no chooser
    EXPECT_NE(filterText, nullptr);
}

TEST_F(FileDialogTest, TypedNamesAreTakenRelativeToTheFolderShownOrAsAbsolute) {
    struct Case {
        std::string Typed;
        std::string Expected;
    };
    const Case cases[] = {
        {"music/a.mp3", tree.Path("music/a.mp3")},
        {"top.mp3", tree.Path("top.mp3")},
        {tree.Path("music/b.wav"), tree.Path("music/b.wav")},
        {"music/sub/../a.mp3", tree.Path("music/a.mp3")},
    };
    for (const Case& c : cases) {
        testdriver::Reset();
        Request request;
        Prepare(request);
        Steps({[&](HWND) {
            testdriver::TypeText(c.Typed);
            testdriver::PressKey(VK_RETURN);
        }});
        ASSERT_TRUE(GetOpenFileNameA(&request.ofn)) << c.Typed;
        EXPECT_EQ(request.File(), c.Expected) << c.Typed;
    }
}

TEST_F(FileDialogTest, ATypedFolderNameOpensThatFolder) {
    Request request;
    Prepare(request);
    Items shown;
    std::string afterOpening = "unset";
    Steps({
        [](HWND) {
            testdriver::TypeText("music");
            testdriver::PressKey(VK_RETURN);
        },
        [&](HWND dialog) {
            shown = FileItems(dialog);
            afterOpening = readback::WindowText(Control(dialog, FileNameId));
            testdriver::TypeText("..");
            testdriver::PressKey(VK_RETURN);
        },
        [](HWND) {
            testdriver::TypeText("top.mp3");
            testdriver::PressKey(VK_RETURN);
        },
    });
    ASSERT_TRUE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(shown, (Items{"[..]", "[sub]", "a.mp3"}));
    EXPECT_EQ(afterOpening, "");
    EXPECT_EQ(request.File(), tree.Path("top.mp3"));
}

TEST_F(FileDialogTest, EnterOnAFolderInTheListOpensItAndOnAFileAcceptsIt) {
    Request request;
    Prepare(request);
    Steps({
        [](HWND dialog) { ClickItem(Control(dialog, FileListId), "[music]"); },
        [](HWND) { testdriver::PressKey(VK_RETURN); },
        [](HWND dialog) { ClickItem(Control(dialog, FileListId), "a.mp3"); },
        [](HWND) { testdriver::PressKey(VK_RETURN); },
    });
    ASSERT_TRUE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(request.File(), tree.Path("music/a.mp3"));
}

TEST_F(FileDialogTest, AMissingFileIsRefusedWithAMessageAndTheDialogStays) {
    Request request;
    Prepare(request);
    testdriver::Record(testdriver::ApiFamily::Dialogs);
    bool openAfterRefusal = false;
    Steps({
        [](HWND) {
            testdriver::QueueMessageBoxAnswer(IDOK);
            testdriver::TypeText("missing.mp3");
            testdriver::PressKey(VK_RETURN);
        },
        [&](HWND dialog) {
            openAfterRefusal = IsWindowVisible(dialog) != FALSE;
            testdriver::PressKey(VK_ESCAPE);
        },
    });
    EXPECT_FALSE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_TRUE(openAfterRefusal);
    const std::vector<testdriver::ApiCall> calls = testdriver::RecordedCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].Function, "GetOpenFileNameA");
    EXPECT_EQ(calls[1].Function, "MessageBoxA");
    EXPECT_NE(calls[1].Text.find(tree.Path("missing.mp3")), std::string::npos);
}

TEST_F(FileDialogTest, AMissingFolderIsRefusedWhenThePathMustExist) {
    struct Case {
        bool OpenDialog;
        DWORD Flags;
        bool Refused;
    };
    const Case cases[] = {
        {true, OFN_PATHMUSTEXIST, true},
        {true, OFN_FILEMUSTEXIST, true},
        {false, OFN_PATHMUSTEXIST, true},
        {false, 0, false},
        {true, 0, false},
    };
    for (const Case& c : cases) {
        testdriver::Reset();
        Request request;
        Prepare(request, c.Flags);
        testdriver::Record(testdriver::ApiFamily::Dialogs);
        testdriver::QueueMessageBoxAnswer(IDOK);
        Steps({[](HWND) {
                   testdriver::TypeText("nowhere/new.mp3");
                   testdriver::PressKey(VK_RETURN);
               },
               [](HWND) { testdriver::PressKey(VK_ESCAPE); }});
        const BOOL chosen =
            c.OpenDialog ? GetOpenFileNameA(&request.ofn) : GetSaveFileNameA(&request.ofn);
        EXPECT_EQ(chosen == FALSE, c.Refused) << c.OpenDialog << " " << c.Flags;
        EXPECT_EQ(testdriver::RecordedCalls().size(), c.Refused ? 2u : 1u)
            << c.OpenDialog << " " << c.Flags;
        if (!c.Refused) {
            EXPECT_EQ(request.File(), tree.Path("nowhere/new.mp3"));
        }
    }
}

TEST_F(FileDialogTest, SavingOverAnExistingFileAsksFirst) {
    tree.File("list.qpl");
    Request request;
    request.ofn.lpstrFilter = "PLAY LIST\0*.qpl\0";
    request.ofn.lpstrInitialDir = tree.Root().c_str();
    request.ofn.lpstrTitle = "Save the list";
    // As the player asks: the file must exist (not applied to saving) and overwriting asks.
    request.ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    testdriver::Record(testdriver::ApiFamily::Dialogs);
    testdriver::QueueMessageBoxAnswer(IDNO);
    testdriver::QueueMessageBoxAnswer(IDYES);
    bool openAfterNo = false;
    Steps({
        [](HWND dialog) { DoubleClickItem(Control(dialog, FileListId), "list.qpl"); },
        [&](HWND dialog) {
            openAfterNo = IsWindowVisible(dialog) != FALSE;
            ClickButton(dialog, IDOK);
        },
    });
    ASSERT_TRUE(GetSaveFileNameA(&request.ofn));
    EXPECT_TRUE(openAfterNo);
    EXPECT_EQ(request.File(), tree.Path("list.qpl"));
    const std::vector<testdriver::ApiCall> calls = testdriver::RecordedCalls();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].Function, "GetSaveFileNameA");
    EXPECT_EQ(calls[0].Text.substr(0, calls[0].Text.find('\n')), "Save the list");
    for (std::size_t i = 1; i < 3; ++i) {
        EXPECT_EQ(calls[i].Function, "MessageBoxA");
        EXPECT_EQ(calls[i].Values.at(1) & MB_TYPEMASK, MB_YESNO);
    }
}

TEST_F(FileDialogTest, SavingANewFileAsksNothing) {
    Request request;
    request.ofn.lpstrInitialDir = tree.Root().c_str();
    request.ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
    testdriver::Record(testdriver::ApiFamily::Dialogs);
    std::string title;
    Steps({[&](HWND dialog) {
        title = readback::WindowText(dialog);
        testdriver::TypeText("new.qpl");
        testdriver::PressKey(VK_RETURN);
    }});
    ASSERT_TRUE(GetSaveFileNameA(&request.ofn));
    EXPECT_EQ(request.File(), tree.Path("new.qpl"));
    EXPECT_EQ(title, "Save As");
    EXPECT_EQ(testdriver::RecordedCalls().size(), 1u);
}

TEST_F(FileDialogTest, SeveralFilesComeAsTheFolderThenTheNames) {
    tree.File("music/c.mp3");
    Request request(1000);
    Prepare(request, OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT);
    const std::string folder = tree.Path("music");
    request.ofn.lpstrInitialDir = folder.c_str();
    std::string typed;
    Steps({
        [](HWND dialog) { ClickItem(Control(dialog, FileListId), "a.mp3"); },
        [&](HWND dialog) {
            testdriver::KeyDown(VK_CONTROL);
            ClickItem(Control(dialog, FileListId), "c.mp3");
            testdriver::KeyUp(VK_CONTROL);
        },
        [&](HWND dialog) {
            typed = readback::WindowText(Control(dialog, FileNameId));
            ClickButton(dialog, IDOK);
        },
    });
    ASSERT_TRUE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(typed, "\"a.mp3\" \"c.mp3\"");
    EXPECT_EQ(request.List(), folder + std::string("\0a.mp3\0c.mp3", 12));
    EXPECT_EQ(request.ofn.nFileOffset, folder.size() + 1);
    EXPECT_EQ(request.ofn.nFileExtension, 0u);
}

TEST_F(FileDialogTest, OneFileOfAMultipleSelectionComesAsItsFullPath) {
    Request request(1000);
    Prepare(request, OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT);
    Steps({[](HWND dialog) { DoubleClickItem(Control(dialog, FileListId), "top.mp3"); }});
    ASSERT_TRUE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(request.List(), tree.Path("top.mp3"));
    EXPECT_EQ(request.ofn.nFileOffset, tree.Root().size() + 1);
}

TEST_F(FileDialogTest, AResultThatDoesNotFitFailsWithTheSizeNeeded) {
    Request request(12, "top.mp3");
    Prepare(request);
    Steps({[](HWND) { testdriver::PressKey(VK_RETURN); }});
    EXPECT_FALSE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    const std::size_t needed = tree.Path("top.mp3").size() + 1;
    EXPECT_EQ(static_cast<unsigned char>(request.buffer[0]) |
                  static_cast<unsigned char>(request.buffer[1]) << 8,
              needed);
    EXPECT_EQ(FindDialog(), nullptr);
}

TEST_F(FileDialogTest, CancelLeavesTheBufferAndAnswersNoError) {
    struct Case {
        const char* Name;
        std::function<void(HWND)> Cancel;
    };
    const Case cases[] = {
        {"escape", [](HWND) { testdriver::PressKey(VK_ESCAPE); }},
        {"button", [](HWND dialog) { ClickButton(dialog, IDCANCEL); }},
        {"close", [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }},
        {"escape in the list",
         [](HWND dialog) {
             ClickItem(Control(dialog, FileListId), "top.mp3");
             testdriver::PressKey(VK_ESCAPE);
         }},
    };
    for (const Case& c : cases) {
        testdriver::Reset();
        Request request(262, "start.mp3");
        Prepare(request);
        Steps({c.Cancel});
        EXPECT_FALSE(GetOpenFileNameA(&request.ofn)) << c.Name;
        EXPECT_EQ(CommDlgExtendedError(), 0u) << c.Name;
        EXPECT_EQ(request.File(), "start.mp3") << c.Name;
        EXPECT_EQ(FindDialog(), nullptr) << c.Name;
    }
}

TEST_F(FileDialogTest, TabMovesTheFocusThroughTheControls) {
    Request request;
    Prepare(request);
    std::vector<int> ids;
    const auto note = [&ids](HWND) {
        ids.push_back(GetWindowLongA(readback::Focus(), GWL_ID));
        testdriver::PressKey(VK_TAB);
    };
    Steps({note, note, note, note, note, note, [](HWND) { testdriver::PressKey(VK_ESCAPE); }});
    EXPECT_FALSE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(ids,
              (std::vector<int>{FileNameId, FileListId, FilterListId, IDOK, IDCANCEL, FileNameId}));
}

int ticks = 0;
bool ownerEnabledAtTick = true;
HWND tickOwner = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    ++ticks;
    ownerEnabledAtTick = ownerEnabledAtTick && IsWindowEnabled(tickOwner);
    if (ticks == 5) {
        testdriver::PressKey(VK_ESCAPE);
    }
}

// Nothing but the timer happens while the dialog waits: its loop must keep dispatching
// WM_TIMER.
TEST_F(FileDialogTest, TimersKeepTickingWhileTheDialogWaits) {
    tickOwner = MakeOwner();
    ticks = 0;
    ownerEnabledAtTick = true;
    ASSERT_NE(SetTimer(tickOwner, 7, 100, &Tick), 0u);
    Request request;
    Prepare(request);
    request.ofn.hwndOwner = tickOwner;
    const std::uint64_t start = testdriver::Now();
    EXPECT_FALSE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(ticks, 5);
    EXPECT_EQ(testdriver::Now() - start, 500u);
    EXPECT_FALSE(ownerEnabledAtTick);
    EXPECT_TRUE(IsWindowEnabled(tickOwner));
    KillTimer(tickOwner, 7);
}

TEST_F(FileDialogTest, QuitEndsTheDialogAndReachesTheOuterLoop) {
    Request request;
    Prepare(request);
    testdriver::AddIdleStep([] { PostQuitMessage(4); });
    EXPECT_FALSE(GetOpenFileNameA(&request.ofn));
    EXPECT_EQ(FindDialog(), nullptr);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(FileDialogTest, DestroyingTheOwnerEndsTheDialog) {
    const HWND owner = MakeOwner();
    Request request;
    Prepare(request);
    request.ofn.hwndOwner = owner;
    // The owner's default processing of the close request destroys it, and the dialog with it.
    testdriver::AddIdleStep([owner] { PostMessageA(owner, WM_CLOSE, 0, 0); });
    EXPECT_FALSE(GetOpenFileNameA(&request.ofn));
    EXPECT_FALSE(IsWindow(owner));
    EXPECT_EQ(FindDialog(), nullptr);
    EXPECT_FALSE(testdriver::Stalled());
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

} // namespace
