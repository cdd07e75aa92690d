#include "elements/TZuListBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "tests/elements/LinkProbe.h"
#include "tests/elements/TZuListBoxTest.h"
#include "toolkit/TControl.h"
#include "toolkit/TList.h"

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

constexpr UINT GetHorizontalExtent = 0x193; // LB_GETHORIZONTALEXTENT

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

#ifndef _WIN32
// A path that exists as a file-system entry but cannot be opened for reading by anyone, root
// included: a bound local socket. The descriptor stays open for the life of the object.
class SocketFile {
public:
    explicit SocketFile(const fs::path& path) {
        descriptor = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string text = path.string();
        text.copy(address.sun_path, sizeof address.sun_path - 1);
        bound = descriptor >= 0 &&
                bind(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~SocketFile() {
        if (descriptor >= 0) {
            close(descriptor);
        }
    }
    SocketFile(const SocketFile&) = delete;
    SocketFile& operator=(const SocketFile&) = delete;

    bool Bound() const { return bound; }

private:
    int descriptor = -1;
    bool bound = false;
};

// Entries of a POSIX file system that cannot be read: a socket, and a file without read
// permission (which stops users other than root only).
void AddUnreadableSpecialFiles(const ScratchDir& scratch, std::vector<fs::path>& unreadable,
                               std::vector<std::unique_ptr<SocketFile>>& sockets) {
    const fs::path socketPath = scratch / "socket.qpl";
    sockets.push_back(std::make_unique<SocketFile>(socketPath));
    ASSERT_TRUE(sockets.back()->Bound());
    ASSERT_TRUE(fs::exists(socketPath));
    unreadable.push_back(socketPath);
    if (geteuid() != 0) {
        const fs::path locked = scratch / "locked.qpl";
        WriteFile(locked, "secret\r\n");
        fs::permissions(locked, fs::perms::none);
        unreadable.push_back(locked);
    }
}
#endif

// ---- Init ----------------------------------------------------------------------------------

TEST_F(TZuListBoxTest, InitMakesANotifyingListBoxAsTheParentsLastChild) {
    TZuListBox& list = MakeList();
    list.Strings = "one\r\ntwo\rthree";
    EXPECT_EQ(list.Control, nullptr);
    list.Init();
    ShowWindows();
    const HWND window = list.Control->Handle;

    EXPECT_EQ(ItemsOf(list), (Items{"one", "two", "three"}));
    EXPECT_TRUE(changes.Values.empty());

    EXPECT_EQ(form->Children->Get(form->Children->Count() - 1), list.Control);
    EXPECT_EQ(readback::ClassName(window), "obj_LISTBOX");
    // The window drops WS_VSCROLL while nothing needs scrolling, so the asked-for style is
    // read from the control.
    const DWORD style = list.Control->Style;
    const DWORD expected = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | WS_VSCROLL |
                           WS_TABSTOP | WS_CHILD | WS_VISIBLE;
    EXPECT_EQ(style & expected, expected);
    EXPECT_EQ(style & (LBS_SORT | LBS_EXTENDEDSEL | LBS_MULTIPLESEL), 0u);
    const DWORD shown = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS;
    EXPECT_EQ(readback::Style(window) & shown, shown);
    EXPECT_NE(readback::ExStyle(window) & WS_EX_CLIENTEDGE, 0u);
    EXPECT_EQ(SendMessageA(window, GetHorizontalExtent, 0, 0), 200);
    const RECT bounds = list.Control->GetBoundsRect();
    EXPECT_EQ(bounds.left, 75);
    EXPECT_EQ(bounds.right - bounds.left, 250);
    EXPECT_EQ(bounds.bottom - bounds.top, 100);
}

// ---- Add and Clear -------------------------------------------------------------------------

TEST_F(TZuListBoxTest, AddPutsNewItemsAtTheTopOrTheEndAndKeepsDuplicates) {
    const struct {
        bool InsertAtTop;
        Items Expected;
    } cases[] = {
        {true, {"C", "A", "B", "A"}},
        {false, {"A", "B", "A", "C"}},
    };
    for (const auto& c : cases) {
        TZuListBox& list = MakeList();
        list.InsertAtTop = c.InsertAtTop;
        list.Init();
        ShowWindows();
        for (const char* item : {"A", "B", "A", "C"}) {
            Add(list, item);
        }
        EXPECT_EQ(ItemsOf(list), c.Expected) << c.InsertAtTop;
        list.Control->SetVisible(false);
    }
}

TEST_F(TZuListBoxTest, AddFiresOnChangeButNotOnSelectAndChoosesNoCurrentItem) {
    TZuListBox& list = MakeInitialisedList();

    Add(list, "first.mp3");

    EXPECT_EQ(changes.Values.size(), 1u);
    EXPECT_EQ(changes.Values[0].Tag, TagNone);
    EXPECT_TRUE(selections.Values.empty());
    EXPECT_EQ(readback::CurrentItem(list.Control->Handle), -1);
    const TData current = Read(MakeEvent<&TZuWinList::CurrentItem>(&list, 0));
    EXPECT_EQ(current.Tag, TagString);
    EXPECT_EQ(current.StrValue, "");
}

TEST_F(TZuListBoxTest, SelectAddedMakesTheNewItemCurrentWithoutOnSelect) {
    const struct {
        bool InsertAtTop;
        int Current;
    } cases[] = {{true, 0}, {false, 2}};
    for (const auto& c : cases) {
        TZuListBox& list = MakeList();
        list.InsertAtTop = c.InsertAtTop;
        list.SelectAdded = true;
        list.Init();
        ShowWindows();
        for (const char* item : {"a", "b", "new"}) {
            Add(list, item);
        }
        EXPECT_EQ(readback::CurrentItem(list.Control->Handle), c.Current);
        const TData current = Read(MakeEvent<&TZuWinList::CurrentItem>(&list, 0));
        EXPECT_EQ(current.StrValue, "new");
        list.Control->SetVisible(false);
    }
    EXPECT_TRUE(selections.Values.empty());
}

TEST_F(TZuListBoxTest, ClearEmptiesTheListAndFiresOnChange) {
    TZuListBox& list = MakeInitialisedList();
    Add(list, "a");
    Add(list, "b");
    changes.Values.clear();

    Send(MakeEvent<&TZuWinList::Clear>(&list, 0), TData{});

    EXPECT_TRUE(ItemsOf(list).empty());
    EXPECT_EQ(changes.Values.size(), 1u);
}

// ---- Load and Save -------------------------------------------------------------------------

TEST_F(TZuListBoxTest, LoadReplacesTheItemsWithTheFilesLinesInFileOrder) {
    const struct {
        std::string Content;
        Items Expected;
    } cases[] = {
        {"c:\\music\\one.mp3\r\nc:\\music\\two.mp3\r\nc:\\music\\three.wav\r\n",
         {"c:\\music\\one.mp3", "c:\\music\\two.mp3", "c:\\music\\three.wav"}},
        {"one\rtwo\r\nthree", {"one", "two", "three"}},
        {"", {}},
    };
    for (const auto& c : cases) {
        TZuListBox& list = MakeInitialisedList();
        Add(list, "kept?");
        changes.Values.clear();
        const fs::path path = scratch / "list.qpl";
        WriteFile(path, c.Content);

        Load(list, path);

        EXPECT_EQ(ItemsOf(list), c.Expected);
        EXPECT_EQ(changes.Values.size(), 1u);
        list.Control->SetVisible(false);
    }
}

TEST_F(TZuListBoxTest, LoadOfWhatCannotBeReadChangesNothingAndFiresNothing) {
    TZuListBox& list = MakeInitialisedList();
    Add(list, "keep me");
    Add(list, "and me");
    changes.Values.clear();

    const fs::path missing = scratch / "missing.qpl";
    const fs::path directory = scratch / "folder.qpl";
    fs::create_directory(directory);
    std::vector<fs::path> unreadable = {missing, directory};
#ifndef _WIN32
    std::vector<std::unique_ptr<SocketFile>> sockets;
    AddUnreadableSpecialFiles(scratch, unreadable, sockets);
#endif

    for (const fs::path& path : unreadable) {
        Load(list, path);
        EXPECT_EQ(ItemsOf(list), (Items{"and me", "keep me"})) << path;
    }
    EXPECT_TRUE(changes.Values.empty());
}

TEST_F(TZuListBoxTest, SaveWritesEveryItemFollowedByCrLf) {
    const struct {
        Items Added;
        std::string Content;
    } cases[] = {
        {{}, ""},
        {{"b", "a"}, "a\r\nb\r\n"},
        {{"c:\\x y\\song.mp3"}, "c:\\x y\\song.mp3\r\n"},
    };
    for (const auto& c : cases) {
        TZuListBox& list = MakeInitialisedList();
        for (const std::string& item : c.Added) {
            Add(list, item);
        }
        const fs::path path = scratch / "saved.qpl";
        fs::remove(path);
        changes.Values.clear();

        Save(list, path);

        ASSERT_TRUE(fs::exists(path));
        EXPECT_EQ(ReadFile(path), c.Content);
        EXPECT_TRUE(changes.Values.empty());
        EXPECT_EQ(list.WorkList, nullptr);
        list.Control->SetVisible(false);
    }
}

// ---- Data points ---------------------------------------------------------------------------

TEST_F(TZuListBoxTest, ItemsTextIsEveryItemFollowedByCrLf) {
    TZuListBox& list = MakeInitialisedList();
    const TZu_Event itemsText = MakeEvent<&TZuWinList::ItemsText>(&list, 0);

    const TData empty = Read(itemsText);
    EXPECT_EQ(empty.Tag, TagString);
    EXPECT_EQ(empty.StrValue, "");

    Add(list, "b");
    Add(list, "a");
    const TData two = Read(itemsText);
    EXPECT_EQ(two.Tag, TagString);
    EXPECT_EQ(two.StrValue, "a\r\nb\r\n");
    EXPECT_EQ(list.WorkList, nullptr);
}

// ---- Without a control ---------------------------------------------------------------------

} // namespace
