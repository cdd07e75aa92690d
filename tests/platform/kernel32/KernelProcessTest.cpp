#include "platform/posix/kernel32/clock.h"
#include "platform/posix/kernel32/command_line.h"
#include "platform/posix/kernel32/program_resources.h"
#include "platform/posix/kernel32/resources.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "tests/platform/kernel32/WindowsArguments.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

using testing_support::SplitWindowsCommandLine;
using Arguments = std::vector<std::string>;

// ---------------------------------------------------------------------------------------
// Command line
// ---------------------------------------------------------------------------------------

const Arguments awkwardArgumentLists[] = {
    {"prog"},
    {"prog", "plain", "/ih"},
    {"/path with blanks/prog", "two words", ""},
    {"prog", "", "", ""},
    {"prog", "say \"hi\"", "\"", "\"\""},
    {"prog", "C:\\dir\\", "C:\\my dir\\", "a\\\\b"},
    {"prog", "\\\"", "\\\\\"x", "x\\\\\\\" y"},
    {"prog", "tab\there", "new\nline", "bell\a"},
    {"prog", "\xD0\xA1\xD0\xB4\xD0\xB5", "\xC4\xEE\xE1\xF0\xE8"},
};

TEST(CommandLineTest, EveryArgumentParsesBackAsItself) {
    for (const Arguments& arguments : awkwardArgumentLists) {
        const std::string line = posix::QuoteCommandLine(arguments);
        EXPECT_EQ(SplitWindowsCommandLine(line), arguments) << "command line: " << line;
    }
}

TEST(CommandLineTest, QuotesOnlyWhereNeededTheWindowsWay) {
    struct Case {
        Arguments Input;
        const char* Line;
    };
    const Case cases[] = {
        {{"prog", "a", "b"}, "prog a b"},        {{"my prog", "x"}, "\"my prog\" x"},
        {{"prog", "a b"}, "prog \"a b\""},       {{"prog", ""}, "prog \"\""},
        {{"prog", "a\"b"}, "prog \"a\\\"b\""},   {{"prog", "a\\b"}, "prog a\\b"},
        {{"prog", "a b\\"}, "prog \"a b\\\\\""}, {{"prog", "\\\"a"}, "prog \"\\\\\\\"a\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(posix::QuoteCommandLine(c.Input), c.Line);
    }
}

// A Windows program name cannot hold a quote; one in a POSIX program name is dropped so that
// the arguments after it still parse.
TEST(CommandLineTest, QuoteInProgramNameIsDropped) {
    const std::string line = posix::QuoteCommandLine({"odd\"name", "x y"});
    EXPECT_EQ(SplitWindowsCommandLine(line), (Arguments{"oddname", "x y"}));
}

std::string RunEcho(const Arguments& arguments) {
    int output[2];
    if (pipe(output) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, COMMAND_LINE_ECHO, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    std::string printed;
    char chunk[512];
    ssize_t got = 0;
    while (spawned == 0 && (got = read(output[0], chunk, sizeof chunk)) > 0) {
        printed.append(chunk, std::size_t(got));
    }
    close(output[0]);
    EXPECT_EQ(spawned, 0);
    int status = 0;
    if (spawned == 0) {
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    return printed;
}

// The layer reads the arguments from the process itself: the helper's main passes nothing on.
TEST(CommandLineTest, StartedProgramSeesItsOwnArgumentsRoundTrip) {
    for (Arguments arguments : awkwardArgumentLists) {
        arguments[0] = COMMAND_LINE_ECHO;
        const std::string line = RunEcho(arguments);
        EXPECT_EQ(SplitWindowsCommandLine(line), arguments) << "command line: " << line;
    }
}

TEST(CommandLineTest, StaysTheSameBuffer) {
    const char* first = GetCommandLineA();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(GetCommandLineA(), first);
    const std::string program = SplitWindowsCommandLine(first).front();
    EXPECT_NE(program.find("platform_tests"), std::string::npos) << program;
}

// ---------------------------------------------------------------------------------------
// Module file name
// ---------------------------------------------------------------------------------------

std::string FullModulePath() {
    std::vector<char> buffer(4096);
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), DWORD(buffer.size()));
    return {buffer.data(), length};
}

TEST(ModuleFileNameTest, NamesTheRunningProgram) {
    const std::string path = FullModulePath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.front(), '/');
    struct stat named {};
    struct stat running {};
    ASSERT_EQ(stat(path.c_str(), &named), 0) << path;
    ASSERT_EQ(stat("/proc/self/exe", &running), 0);
    EXPECT_EQ(named.st_ino, running.st_ino);
    EXPECT_EQ(named.st_dev, running.st_dev);

    char again[4096];
    EXPECT_EQ(GetModuleFileNameA(GetModuleHandleA(nullptr), again, sizeof again), path.size());
    EXPECT_EQ(std::string(again), path);
}

TEST(ModuleFileNameTest, SmallBuffersTruncateWithTerminatorAndReportIt) {
    const std::string path = FullModulePath();
    const DWORD length = DWORD(path.size());
    ASSERT_GT(length, 2u);
    struct Case {
        DWORD Size;
        DWORD Answer;
        std::string Content;
        DWORD Error; // the last error afterwards; 0xBEEF: left alone
    };
    const Case cases[] = {
        {length + 100, length, path, 0xBEEF},
        {length + 1, length, path, 0xBEEF},
        {length, length, path.substr(0, length - 1), ERROR_INSUFFICIENT_BUFFER},
        {2, 2, path.substr(0, 1), ERROR_INSUFFICIENT_BUFFER},
        {1, 1, "", ERROR_INSUFFICIENT_BUFFER},
        {0, 0, "untouched", ERROR_INSUFFICIENT_BUFFER},
    };
    for (const Case& c : cases) {
        std::vector<char> buffer(length + 200, 'x');
        std::strcpy(buffer.data(), "untouched");
        SetLastError(0xBEEF);
        EXPECT_EQ(GetModuleFileNameA(nullptr, buffer.data(), c.Size), c.Answer) << c.Size;
        EXPECT_EQ(std::string(buffer.data()), c.Content) << c.Size;
        EXPECT_EQ(GetLastError(), c.Error) << c.Size;
    }
}

TEST(ModuleFileNameTest, UnknownModuleAnswersZero) {
    char buffer[64] = "untouched";
    EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(0x1234), buffer, sizeof buffer), 0u);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_STREQ(buffer, "untouched");
}

// ---------------------------------------------------------------------------------------
// Modules and their entries
// ---------------------------------------------------------------------------------------

// Function pointers of different types convert through void (*)() without a warning.
template <typename To, typename From> To FunctionCast(From function) {
    return reinterpret_cast<To>(reinterpret_cast<void (*)()>(function));
}

TEST(ModuleTest, NamesMatchInAnyCaseWithOrWithoutExtension) {
    const HMODULE comctl = GetModuleHandleA("comctl32.dll");
    const HMODULE user = GetModuleHandleA("User32");
    ASSERT_NE(comctl, nullptr);
    ASSERT_NE(user, nullptr);
    EXPECT_NE(comctl, user);
    EXPECT_NE(comctl, GetModuleHandleA(nullptr));
    struct Case {
        const char* Name;
        HMODULE Expected;
    };
    const Case cases[] = {
        {"COMCTL32.DLL", comctl},
        {"ComCtl32", comctl},
        {"comctl32.Dll", comctl},
        {"user32.dll", user},
        {"USER32", user},
        {"kernel32.dll", nullptr},
        {"comctl32.dl", nullptr},
        {"comctl32.dll.dll", nullptr},
        {"", nullptr},
        {".dll", nullptr},
        {"user", nullptr},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(GetModuleHandleA(c.Name), c.Expected) << c.Name;
        EXPECT_EQ(LoadLibraryA(c.Name), c.Expected) << c.Name;
        if (c.Expected == nullptr) {
            EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND) << c.Name;
        }
    }
}

TEST(ModuleTest, FreeLibraryKeepsTheModuleUsable) {
    const HMODULE comctl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    EXPECT_TRUE(FreeLibrary(comctl));
    EXPECT_EQ(GetModuleHandleA("comctl32.dll"), comctl);
    EXPECT_NE(GetProcAddress(comctl, "InitCommonControlsEx"), nullptr);
    EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(0x1234)));
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(ModuleTest, GetProcAddressAnswersTheLayersEntriesOnly) {
    const HMODULE comctl = GetModuleHandleA("comctl32.dll");
    const HMODULE user = GetModuleHandleA("user32.dll");
    struct Case {
        HMODULE Module;
        LPCSTR Name;
        FARPROC Expected;
        DWORD Error; // when Expected is null
    };
    const Case cases[] = {
        {comctl, "InitCommonControlsEx", FunctionCast<FARPROC>(&InitCommonControlsEx), 0},
        {comctl, "_TrackMouseEvent", FunctionCast<FARPROC>(&_TrackMouseEvent), 0},
        {user, "SetLayeredWindowAttributes", FunctionCast<FARPROC>(&SetLayeredWindowAttributes), 0},
        {comctl, "SetLayeredWindowAttributes", nullptr, ERROR_PROC_NOT_FOUND},
        {user, "InitCommonControlsEx", nullptr, ERROR_PROC_NOT_FOUND},
        {comctl, "initcommoncontrolsex", nullptr, ERROR_PROC_NOT_FOUND},
        {comctl, "", nullptr, ERROR_PROC_NOT_FOUND},
        {comctl, MAKEINTRESOURCEA(1), nullptr, ERROR_PROC_NOT_FOUND},
        {nullptr, "InitCommonControlsEx", nullptr, ERROR_PROC_NOT_FOUND},
        {reinterpret_cast<HMODULE>(0x1234), "InitCommonControlsEx", nullptr, ERROR_MOD_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(GetProcAddress(c.Module, c.Name), c.Expected);
        if (c.Expected == nullptr) {
            EXPECT_EQ(GetLastError(), c.Error);
        }
    }
}

TEST(ModuleTest, EntryFoundByNameCanBeCalled) {
    using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    const auto init = FunctionCast<InitFunction>(
        GetProcAddress(LoadLibraryA("comctl32.dll"), "InitCommonControlsEx"));
    ASSERT_NE(init, nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    EXPECT_TRUE(init(&controls));
}

// ---------------------------------------------------------------------------------------
// Resources
// ---------------------------------------------------------------------------------------

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override { posix::RegisterProgramResources(); }

    static std::vector<BYTE> Contents(HRSRC resource) {
        const HGLOBAL loaded = LoadResource(nullptr, resource);
        const auto* data = static_cast<const BYTE*>(LockResource(loaded));
        if (data == nullptr) {
            return {};
        }
        return {data, data + SizeofResource(nullptr, resource)};
    }
    static DWORD Le(const std::vector<BYTE>& bytes, std::size_t at, std::size_t width) {
        DWORD value = 0;
        for (std::size_t i = 0; i < width; ++i) {
            value |= DWORD(bytes.at(at + i)) << (8 * i);
        }
        return value;
    }
};

TEST_F(ResourceTest, IconGroupListsImagesThatExistWithTheirSizes) {
    const HRSRC group = FindResourceA(GetModuleHandleA(nullptr), "ICON0", RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const std::vector<BYTE> directory = Contents(group);
    ASSERT_GE(directory.size(), 6u);
    EXPECT_EQ(Le(directory, 0, 2), 0u);
    EXPECT_EQ(Le(directory, 2, 2), 1u); // icons, not cursors
    const DWORD count = Le(directory, 4, 2);
    ASSERT_EQ(directory.size(), 6 + 14 * count);
    ASSERT_GE(count, 1u);
    for (DWORD i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 14 * i;
        const DWORD width = Le(directory, entry, 1);
        const DWORD bytes = Le(directory, entry + 8, 4);
        const WORD id = WORD(Le(directory, entry + 12, 2));
        const HRSRC image = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_ICON);
        ASSERT_NE(image, nullptr) << "image " << id;
        EXPECT_EQ(SizeofResource(nullptr, image), bytes) << "image " << id;
        const std::vector<BYTE> header = Contents(image);
        EXPECT_EQ(Le(header, 4, 4), width) << "image " << id;
        EXPECT_EQ(Le(header, 8, 4), 2 * width) << "image " << id;
    }
}

TEST_F(ResourceTest, NamesAndTypesMatchAsNumbersOrWithoutCase) {
    const HRSRC group = FindResourceA(nullptr, "ICON0", RT_GROUP_ICON);
    const HRSRC image = FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_ICON);
    ASSERT_NE(group, nullptr);
    ASSERT_NE(image, nullptr);
    EXPECT_NE(group, image);
    EXPECT_EQ(FindResourceA(nullptr, "icon0", RT_GROUP_ICON), group);
    EXPECT_EQ(FindResourceA(nullptr, "Icon0", "#14"), group);
    EXPECT_EQ(FindResourceA(nullptr, "#1", RT_ICON), image);
    EXPECT_EQ(FindResourceA(nullptr, "#01", "#3"), image);
}

TEST_F(ResourceTest, MissingResourcesAnswerNullWithTheReason) {
    struct Case {
        HMODULE Module;
        LPCSTR Name;
        LPCSTR Type;
        DWORD Error;
    };
    const Case cases[] = {
        {nullptr, "", MAKEINTRESOURCEA(100), ERROR_RESOURCE_TYPE_NOT_FOUND},
        {nullptr, "MAINICON", RT_GROUP_ICON, ERROR_RESOURCE_NAME_NOT_FOUND},
        {nullptr, "ICON0", RT_ICON, ERROR_RESOURCE_NAME_NOT_FOUND},
        {nullptr, "#", RT_GROUP_ICON, ERROR_RESOURCE_NAME_NOT_FOUND},
        {nullptr, "#99999", RT_GROUP_ICON, ERROR_RESOURCE_NAME_NOT_FOUND},
        {GetModuleHandleA("user32"), "ICON0", RT_GROUP_ICON, ERROR_RESOURCE_DATA_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(FindResourceA(c.Module, c.Name, c.Type), nullptr);
        EXPECT_EQ(GetLastError(), c.Error);
    }
}

// The list box reads its initial items this way and must see "no text", not a failure.
TEST_F(ResourceTest, LoadingAMissingResourceYieldsNoData) {
    const HRSRC missing = FindResourceA(GetModuleHandleA(nullptr), "", MAKEINTRESOURCEA(100));
    EXPECT_EQ(LockResource(LoadResource(GetModuleHandleA(nullptr), missing)), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, missing), 0u);
    EXPECT_EQ(LoadResource(nullptr, reinterpret_cast<HRSRC>(0x1234)), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(ResourceTest, RegisteringAgainReplacesTheData) {
    static const BYTE first[] = {1, 2, 3};
    static const BYTE second[] = {9, 8};
    posix::RegisterResource("TESTDATA", MAKEINTRESOURCEA(7), first);
    const HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(7), "testdata");
    ASSERT_NE(resource, nullptr);
    EXPECT_EQ(Contents(resource), (std::vector<BYTE>{1, 2, 3}));
    posix::RegisterResource("TestData", "#7", second);
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(7), "TESTDATA"), resource);
    EXPECT_EQ(Contents(resource), (std::vector<BYTE>{9, 8}));
}

// ---------------------------------------------------------------------------------------
// Tick count
// ---------------------------------------------------------------------------------------

TEST(TickCountTest, FollowsTheLayersClockAndWrapsAfter32Bits) {
    testdriver::Reset();
    const DWORD start = GetTickCount();
    testdriver::AdvanceClock(1234);
    EXPECT_EQ(GetTickCount() - start, 1234u);

    posix::UseVirtualClock(0xFFFFFFFFull - 10);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF5u);
    posix::AdvanceVirtualClock(20);
    EXPECT_EQ(GetTickCount(), 9u);
    testdriver::Reset();
}

} // namespace
