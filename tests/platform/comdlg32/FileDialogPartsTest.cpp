// The pieces the file dialogs are built from: filter lists, name patterns, folder listings,
// paths, typed text and the result text.

#include "platform/posix/comdlg32/comdlg_choice.h"
#include "platform/posix/comdlg32/comdlg_folder.h"
#include "platform/posix/comdlg32/comdlg_result.h"
#include "tests/platform/comdlg32/FileDialogFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace posix::comdlg;
using filedialog::TempTree;

TEST(FileDialogPartsTest, PatternsMatchAsWildcardsWithoutRegardToAsciiCase) {
    struct Case {
        const char* Name;
        const char* Patterns;
        bool Matches;
    };
    const Case cases[] = {
        {"a.mp3", "*.mp3", true},
        {"a.mp3", "*.MP3", true},
        {"A.MP3", "*.mp3", true},
        {"a.mp3x", "*.mp3", false},
        {"a.mp3.wav", "*.mp3", false},
        {"a.mp3.mp3", "*.mp3", true},
        {"a.wav", "*.mp3;*.wav", true},
        {"a.wav", "*.mp3; *.wav ", true},
        {"readme", "*.*", true},
        {"readme", "*", true},
        {"ab", "a?", true},
        {"a", "a?", false},
        {"aXbYc", "a*b*c", true},
        {"aXbY", "a*b*c", false},
        {"anything", "", true},                  // no patterns at all
        {"anything", ";", true},                 // only empty ones
        {"\xC3\xA9.mp3", "\xC3\x89.mp3", false}, // only ASCII letters fold
        {"\xC3\xA9.mp3", "*.mp3", true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*c", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MatchesPatterns(c.Name, c.Patterns), c.Matches)
            << c.Name << " against " << c.Patterns;
    }
}

TEST(FileDialogPartsTest, FilterListsGivePairsAndTheirLength) {
    struct Case {
        std::string Filter; // as passed, final NULs included
        std::vector<std::string> Pairs;
        std::size_t Length;
    };
    const Case cases[] = {
        {std::string("MP3\0*.mp3\0WAVE\0*.wav\0\0", 22), {"MP3", "*.mp3", "WAVE", "*.wav"}, 22},
        {std::string("\0\0", 2), {}, 1},
        {std::string("MP3\0*.mp3\0\0\0", 12), {"MP3", "*.mp3"}, 11},     // ends with an empty entry
        {std::string("MP3\0*.mp3\0WAVE\0\0", 16), {"MP3", "*.mp3"}, 16}, // a name alone ends it
    };
    for (const Case& c : cases) {
        std::vector<std::string> flat;
        for (const FilterPair& pair : ParseFilter(c.Filter.c_str())) {
            flat.push_back(pair.Name);
            flat.push_back(pair.Patterns);
        }
        EXPECT_EQ(flat, c.Pairs);
        EXPECT_EQ(FilterLength(c.Filter.c_str()), c.Length);
    }
    EXPECT_TRUE(ParseFilter(nullptr).empty());
    EXPECT_EQ(FilterLength(nullptr), 0u);
}

std::vector<std::string> Shown(const std::vector<FolderEntry>& entries) {
    std::vector<std::string> shown;
    for (const FolderEntry& entry : entries) {
        shown.push_back(entry.IsFolder ? "[" + entry.Name + "]" : entry.Name);
    }
    return shown;
}

TEST(FileDialogPartsTest, FoldersListTheirSubFoldersFirstThenMatchingFiles) {
    TempTree tree;
    ASSERT_FALSE(tree.Root().empty());
    for (const char* folder : {"Zeta", "alpha", ".hidden"}) {
        tree.Folder(folder);
    }
    for (const char* file : {"b.mp3", "A.mp3", "c.txt", ".secret.mp3", "\xE8.mp3"}) {
        tree.File(file);
    }
    EXPECT_EQ(
        Shown(ListFolder(tree.Root(), "*.mp3")),
        (std::vector<std::string>{"[..]", "[alpha]", "[Zeta]", "A.mp3", "b.mp3", "\xE8.mp3"}));
    EXPECT_EQ(Shown(ListFolder(tree.Root(), "")),
              (std::vector<std::string>{"[..]", "[alpha]", "[Zeta]", "A.mp3", "b.mp3", "c.txt",
                                        "\xE8.mp3"}));
    const std::vector<std::string> atRoot = Shown(ListFolder("/", ""));
    EXPECT_EQ(std::count(atRoot.begin(), atRoot.end(), "[..]"), 0); // the root has no parent
    EXPECT_EQ(Shown(ListFolder(tree.Path("gone"), "")), (std::vector<std::string>{"[..]"}));
}

TEST(FileDialogPartsTest, PathsAreJoinedAndResolved) {
    struct Case {
        const char* Folder;
        const char* Name;
        const char* Joined;
    };
    const Case cases[] = {
        {"/a/b", "c.mp3", "/a/b/c.mp3"},
        {"/a/b", "../c.mp3", "/a/c.mp3"},
        {"/a/b", "/x/y.mp3", "/x/y.mp3"},
        {"/a/b", "./c/", "/a/b/c"},
        {"/", "c.mp3", "/c.mp3"},
        {"/", "..", "/"},
        {"/a/b", "..", "/a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JoinPath(c.Folder, c.Name), c.Joined) << c.Folder << " + " << c.Name;
    }
    EXPECT_EQ(ParentOf("/a/b.mp3"), "/a");
    EXPECT_EQ(ParentOf("/b.mp3"), "/");
    EXPECT_EQ(NameOf("/a/b.mp3"), "b.mp3");
}

TEST(FileDialogPartsTest, TypedTextIsInterpretedInTheFolderShown) {
    TempTree tree;
    ASSERT_FALSE(tree.Root().empty());
    tree.Folder("sub");
    tree.Folder("other");
    using Kind = TypedChoice::Kind;
    struct Case {
        std::string Typed;
        bool Multiple;
        Kind What;
        std::string Folder;
        std::vector<std::string> Names;
    };
    const std::string root = tree.Root();
    const Case cases[] = {
        {"", false, Kind::Nothing, "", {}},
        {"   ", false, Kind::Nothing, "", {}},
        {"sub", false, Kind::OpenFolder, root + "/sub", {}},
        {"sub/", false, Kind::OpenFolder, root + "/sub", {}},
        {"gone/", false, Kind::Invalid, "", {}},
        {"a.mp3", false, Kind::Select, root, {"a.mp3"}},
        {"sub/a b.mp3", false, Kind::Select, root + "/sub", {"a b.mp3"}},
        {"\"a.mp3\"", false, Kind::Select, root, {"a.mp3"}},
        {"\"a.mp3\" \"b.mp3\"", false, Kind::Invalid, "", {}},
        {"\"a.mp3\" \"b.mp3\"", true, Kind::Select, root, {"a.mp3", "b.mp3"}},
        {"\"sub/a.mp3\" \"other/b.mp3\"", true, Kind::Invalid, "", {}},
        {"\"a.mp3\" \"b.mp3", true, Kind::Select, root, {"a.mp3", "b.mp3"}},
    };
    for (const Case& c : cases) {
        const TypedChoice choice = InterpretTyped(c.Typed, root, c.Multiple, nullptr);
        EXPECT_EQ(choice.What, c.What) << c.Typed;
        if (c.What == Kind::OpenFolder) {
            EXPECT_EQ(choice.Folder, c.Folder) << c.Typed;
        }
        if (c.What == Kind::Select) {
            EXPECT_EQ(choice.Chosen.Folder, c.Folder) << c.Typed;
            EXPECT_EQ(choice.Chosen.Names, c.Names) << c.Typed;
        }
    }
}

TEST(FileDialogPartsTest, ResultTextHasThePathOrTheFolderAndNames) {
    struct Case {
        Selection Chosen;
        bool ListFormat;
        std::string Text;
    };
    const Case cases[] = {
        {{"/m", {"a.mp3"}}, false, std::string("/m/a.mp3\0", 9)},
        {{"/m", {"a.mp3"}}, true, std::string("/m/a.mp3\0\0", 10)},
        {{"/", {"a.mp3"}}, false, std::string("/a.mp3\0", 7)},
        {{"/m", {"a.mp3", "b.mp3"}}, true, std::string("/m\0a.mp3\0b.mp3\0\0", 16)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResultText(c.Chosen, c.ListFormat), c.Text);
    }
}

TEST(FileDialogPartsTest, AFileTitleThatDoesNotFitIsLeftEmpty) {
    filedialog::Request request;
    char title[5] = "xxxx";
    request.ofn.lpstrFileTitle = title;
    request.ofn.nMaxFileTitle = sizeof title;
    ASSERT_TRUE(WriteSelection(request.ofn, {"/m", {"a.mp3"}}, false));
    EXPECT_STREQ(title, "");
    ASSERT_TRUE(WriteSelection(request.ofn, {"/m", {"a.mp"}}, false));
    EXPECT_STREQ(title, "a.mp");
}

TEST(FileDialogPartsTest, ABufferTooSmallForTwoBytesIsLeftAlone) {
    filedialog::Request request(1);
    request.buffer[0] = 'k';
    EXPECT_FALSE(WriteSelection(request.ofn, {"/m", {"a.mp3"}}, false));
    EXPECT_EQ(request.buffer[0], 'k');
}

} // namespace
