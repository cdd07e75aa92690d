#include "toolkit/TStrList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#endif

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Lines = std::vector<std::string>;

struct FreeObject {
    void operator()(TObj* object) const { Free(object); }
};
using StrListPtr = std::unique_ptr<TStrList, FreeObject>;

StrListPtr ListOf(const Lines& lines) {
    StrListPtr list(CreateStrList());
    for (const std::string& line : lines) {
        list->Add(line);
    }
    return list;
}

Lines LinesOf(const TStrList& list) {
    Lines lines;
    for (std::int32_t index = 0; index < list.Count(); ++index) {
        lines.push_back(list.Item(index));
    }
    return lines;
}

class TStrListFileTest : public testing::Test {
protected:
    void SetUp() override {
        std::random_device random;
        do {
            dir = fs::temp_directory_path() / ("strlist-" + std::to_string(random()));
        } while (!fs::create_directory(dir));
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }

    std::string PathOf(const std::string& name) const { return (dir / name).string(); }
    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::set<std::string> NamesInDir() const {
        std::set<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    fs::path dir;
};

struct FormatCase {
    const char* Name;
    std::string Text;
    Lines Expected;
};

const FormatCase formatCases[] = {
    {"CR LF", "one\r\ntwo\r\n", {"one", "two"}},
    {"CR alone", "one\rtwo\r", {"one", "two"}},
    {"LF alone is a byte of the line", "one\ntwo\n", {"one\ntwo\n"}},
    {"CR LF CR LF leaves one empty line", "a\r\n\r\n", {"a", ""}},
    {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
    {"LF after CR LF starts the next line", "a\r\n\nb", {"a", "\nb"}},
    {"zero byte ends the text", "a\r\nb\0c\r\nd"s, {"a", "b"}},
    {"code page bytes kept", "\xcf\xeb\xe5\xe9\r\n\x01\xff", {"\xcf\xeb\xe5\xe9", "\x01\xff"}},
    {"empty", "", {}},
};

TEST(TStrListTest, SetAllTextSplitsAtCrOrCrLf) {
    for (const FormatCase& c : formatCases) {
        SCOPED_TRACE(c.Name);
        StrListPtr list = ListOf({"stale"});
        list->SetAllText(c.Text);
        EXPECT_EQ(LinesOf(*list), c.Expected);
        EXPECT_EQ(list->Count(), static_cast<std::int32_t>(c.Expected.size()));
    }
}

TEST(TStrListTest, AppendingMovesTheBlockAndKeepsEarlierLinesReadable) {
    StrListPtr list(CreateStrList());
    list->SetAllText("a\r\nbb");
    const char* firstBlock = list->TextBlock();
    EXPECT_EQ(list->TextBlockSize(), 6);
    list->SetAllText("c\rd\r\n", true);
    EXPECT_NE(list->TextBlock(), firstBlock);
    EXPECT_EQ(list->TextBlockSize(), 12);
    EXPECT_EQ(LinesOf(*list), (Lines{"a", "bb", "c", "d"}));
}

TEST(TStrListTest, OwnLinesAndBlockLinesLiveSideBySide) {
    StrListPtr list(CreateStrList());
    list->Insert(0, "own");
    list->SetAllText("x\ry\rz", true);
    list->Insert(2, "mine");
    list->Add("last");
    EXPECT_EQ(LinesOf(*list), (Lines{"own", "x", "mine", "y", "z", "last"}));
    // Deleting releases only own allocations; a block line freed on its own would be caught
    // by the sanitizers as an invalid free.
    list->Delete(1);
    list->Delete(0);
    list->Delete(3);
    EXPECT_EQ(LinesOf(*list), (Lines{"mine", "y", "z"}));
    list->SetAllText("w", true);
    EXPECT_EQ(LinesOf(*list), (Lines{"mine", "y", "z", "w"}));
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->Lines(), nullptr);
    EXPECT_EQ(list->TextBlock(), nullptr);
    EXPECT_EQ(list->TextBlockSize(), 0);
}

TEST(TStrListTest, SlotArrayIsReservedOnceForAWholeText) {
    StrListPtr list(CreateStrList());
    list->SetAllText("1\r2\r3\r4\r5\r6\r7\r8\r9\r10\r");
    EXPECT_EQ(list->Count(), 10);
    EXPECT_EQ(list->Lines()->Capacity(), 10);
    list->SetAllText("11\r\n12\r\n13", true);
    EXPECT_EQ(list->Lines()->Capacity(), 13);
}

TEST(TStrListTest, InvalidIndicesAreIgnored) {
    StrListPtr list = ListOf({"a", "b"});
    EXPECT_EQ(list->Item(-1), "");
    EXPECT_EQ(list->Item(2), "");
    list->Insert(3, "x");
    list->Insert(-1, "x");
    list->Delete(2);
    list->Delete(-1);
    EXPECT_EQ(LinesOf(*list), (Lines{"a", "b"}));
    EXPECT_EQ(StrListPtr(CreateStrList())->Item(0), "");
    EXPECT_EQ(list->Add("ab\0cd"s), 2);
    EXPECT_EQ(list->Item(2), "ab");
}

TEST_F(TStrListFileTest, LoadReadsTheFileFormat) {
    for (const FormatCase& c : formatCases) {
        SCOPED_TRACE(c.Name);
        Put(PathOf("list.qpl"), c.Text);
        StrListPtr list = ListOf({"stale"});
        EXPECT_TRUE(list->LoadLines(PathOf("list.qpl").c_str()));
        EXPECT_EQ(LinesOf(*list), c.Expected);
    }
}

TEST_F(TStrListFileTest, LoadOfWhatCannotBeReadKeepsTheOldLines) {
    const std::string missing = PathOf("missing.qpl");
    const std::string directory = dir.string();
    StrListPtr list = ListOf({"kept"});
    for (const char* path :
         {missing.c_str(), directory.c_str(), "", static_cast<const char*>(nullptr)}) {
        EXPECT_FALSE(list->LoadLines(path));
    }
    EXPECT_EQ(LinesOf(*list), Lines{"kept"});
}

TEST_F(TStrListFileTest, SaveWritesExactlyTheTextAndLoadGivesTheSameLines) {
    const Lines lines = {"C:\\music\\one.mp3", "", "\xcf\xeb\xe5\xe9.wav", "x\ny"};
    const std::string path = PathOf("list.qpl");
    Put(path, std::string(1000, '#'));
    EXPECT_TRUE(ListOf(lines)->SaveLines(path.c_str()));
    EXPECT_EQ(Get(path), "C:\\music\\one.mp3\r\n\r\n\xcf\xeb\xe5\xe9.wav\r\nx\ny\r\n");
    StrListPtr loaded(CreateStrList());
    EXPECT_TRUE(loaded->LoadLines(path.c_str()));
    EXPECT_EQ(LinesOf(*loaded), lines);
    EXPECT_EQ(NamesInDir(), std::set<std::string>{"list.qpl"});
}

TEST_F(TStrListFileTest, LoadedFilesSaveBackByteForByte) {
    for (const std::string bytes : {"one\r\ntwo\r\n", "a\r\n\r\n", ""}) {
        SCOPED_TRACE(bytes);
        Put(PathOf("in.qpl"), bytes);
        StrListPtr list(CreateStrList());
        ASSERT_TRUE(list->LoadLines(PathOf("in.qpl").c_str()));
        Put(PathOf("out.qpl"), "older and longer content");
        EXPECT_TRUE(list->SaveLines(PathOf("out.qpl").c_str()));
        EXPECT_EQ(Get(PathOf("out.qpl")), bytes);
    }
}

TEST_F(TStrListFileTest, SaveCreatesAMissingFileAndFailsInAMissingDirectory) {
    EXPECT_TRUE(ListOf({"a"})->SaveLines(PathOf("new.qpl").c_str()));
    EXPECT_EQ(Get(PathOf("new.qpl")), "a\r\n");
    EXPECT_FALSE(ListOf({"a"})->SaveLines(PathOf("nowhere/new.qpl").c_str()));
    EXPECT_FALSE(ListOf({"a"})->SaveLines(dir.string().c_str()));
    EXPECT_EQ(NamesInDir(), std::set<std::string>{"new.qpl"});
}

TEST_F(TStrListFileTest, SaveNeverOverwritesAFileNamedLikeItsTemporary) {
    Put(PathOf("list.qpl"), "old\r\n");
    Put(PathOf("list.qpl.tmp0"), "somebody's file");
    EXPECT_TRUE(ListOf({"new"})->SaveLines(PathOf("list.qpl").c_str()));
    EXPECT_EQ(Get(PathOf("list.qpl")), "new\r\n");
    EXPECT_EQ(Get(PathOf("list.qpl.tmp0")), "somebody's file");
    EXPECT_EQ(NamesInDir(), (std::set<std::string>{"list.qpl", "list.qpl.tmp0"}));
}

#ifndef _WIN32

// Runs body in a child process; answers its exit code, or -1 when it did not exit.
int RunInChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(body());
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

mode_t PermissionsOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0);
    return status.st_mode & 07777;
}

bool IsCharacterDevice(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && S_ISCHR(status.st_mode);
}

TEST_F(TStrListFileTest, SaveIntoAReadOnlyDirectoryFailsAndKeepsTheOldFile) {
    const std::string path = PathOf("list.qpl");
    Put(path, "old\r\n");
    // The file itself stays writable: only the directory refuses new entries.
    chmod(path.c_str(), 0666);
    chmod(dir.c_str(), 0555);
    // Permission checks do not apply to root, so the save then runs as an ordinary user.
    const bool asRoot = geteuid() == 0;
    const int saved = RunInChild([&] {
        if (asRoot && (setgid(65534) != 0 || setuid(65534) != 0)) {
            return 2;
        }
        return ListOf({"new"})->SaveLines(path.c_str()) ? 1 : 0;
    });
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(Get(path), "old\r\n");
    EXPECT_EQ(NamesInDir(), std::set<std::string>{"list.qpl"});
}

TEST_F(TStrListFileTest, SaveThatFailsHalfwayKeepsTheOldFile) {
    const std::string path = PathOf("list.qpl");
    Put(path, "old\r\n");
    const int saved = RunInChild([&] {
        // A file size limit makes the device look full after 1 KiB.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 2;
        }
        return ListOf(Lines(100, std::string(40, 'x')))->SaveLines(path.c_str()) ? 1 : 0;
    });
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(Get(path), "old\r\n");
    EXPECT_EQ(NamesInDir(), std::set<std::string>{"list.qpl"});
}

TEST_F(TStrListFileTest, SaveToADeviceWritesInPlaceAndReportsTheResult) {
    fs::create_symlink("/dev/full", dir / "full.qpl");
    StrListPtr list = ListOf({"a"});
    EXPECT_FALSE(list->SaveLines("/dev/full"));
    EXPECT_FALSE(list->SaveLines(PathOf("full.qpl").c_str()));
    EXPECT_TRUE(list->SaveLines("/dev/null"));
    EXPECT_TRUE(IsCharacterDevice("/dev/full"));
    EXPECT_TRUE(IsCharacterDevice("/dev/null"));
    EXPECT_EQ(fs::read_symlink(dir / "full.qpl"), "/dev/full");
    EXPECT_EQ(NamesInDir(), std::set<std::string>{"full.qpl"});
}

TEST_F(TStrListFileTest, SaveThroughASymbolicLinkReplacesTheTargetAndKeepsItsMode) {
    Put(PathOf("real.qpl"), "old, longer content\r\n");
    chmod(PathOf("real.qpl").c_str(), 0640);
    fs::create_symlink("real.qpl", dir / "link.qpl");
    EXPECT_TRUE(ListOf({"new"})->SaveLines(PathOf("link.qpl").c_str()));
    EXPECT_TRUE(fs::is_symlink(dir / "link.qpl"));
    EXPECT_EQ(fs::read_symlink(dir / "link.qpl"), "real.qpl");
    EXPECT_EQ(Get(PathOf("real.qpl")), "new\r\n");
    EXPECT_EQ(PermissionsOf(PathOf("real.qpl")), 0640u);
    EXPECT_EQ(NamesInDir(), (std::set<std::string>{"link.qpl", "real.qpl"}));
}

#endif

} // namespace
