// Kernel file functions: dispositions and their errors, reading, access, the end of a file, large
// sizes, attributes, moving and deleting, and the last error of each thread.

#include "tests/platform/kernel32/KernelFileTest.h"
#include "tests/support/TestSession.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

void WaitForStep(const std::atomic<int>& step, int wanted) {
    while (step.load() != wanted) {
        std::this_thread::yield();
    }
}

TEST_F(KernelFileTest, DispositionsCreateOpenAndTruncateAsWin32Does) {
    struct Case {
        DWORD Disposition;
        bool Exists;
        bool Opens;
        DWORD Error;
        const char* ContentAfter; // null: the file must not exist afterwards
    };
    const Case cases[] = {
        {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old data"},
        {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
        {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
        {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {OPEN_EXISTING, true, true, ERROR_SUCCESS, "old data"},
        {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old data"},
        {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
        {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
        {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {0, true, false, ERROR_INVALID_PARAMETER, "old data"},
        {6, false, false, ERROR_INVALID_PARAMETER, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "disposition " << c.Disposition << " exists " << c.Exists);
        std::string path = PathOf("file");
        fs::remove(path);
        if (c.Exists) {
            Put(path, "old data");
        }
        SetLastError(12345);
        HANDLE file = Open(path, GENERIC_READ | GENERIC_WRITE, c.Disposition);
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.Opens);
        EXPECT_EQ(GetLastError(), c.Error);
        if (file != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(file));
        }
        if (c.ContentAfter == nullptr) {
            EXPECT_FALSE(fs::exists(path));
        } else {
            EXPECT_EQ(Get(path), c.ContentAfter);
        }
    }
}

TEST_F(KernelFileTest, OpenFailuresReportTheWin32Error) {
    fs::create_directory(PathOf("sub"));
    Put(PathOf("file"), "x");
    struct Case {
        const char* Name;
        std::string Path;
        DWORD Access;
        DWORD Disposition;
        DWORD Error;
    };
    const Case cases[] = {
        {"missing directory", PathOf("nowhere/file"), GENERIC_READ, OPEN_EXISTING,
         ERROR_PATH_NOT_FOUND},
        {"create in missing directory", PathOf("nowhere/file"), GENERIC_WRITE, CREATE_NEW,
         ERROR_PATH_NOT_FOUND},
        {"empty path", "", GENERIC_READ, OPEN_EXISTING, ERROR_PATH_NOT_FOUND},
        {"directory for reading", PathOf("sub"), GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
        {"directory for writing", PathOf("sub"), GENERIC_WRITE, OPEN_ALWAYS, ERROR_ACCESS_DENIED},
        {"directory for queries", PathOf("sub"), 0, OPEN_EXISTING, ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Open(c.Path, c.Access, c.Disposition), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.Error);
    }
    // TRUNCATE_EXISTING needs write access, as Windows documents; Wine opens the file all the
    // same.
    const HANDLE truncating = Open(PathOf("file"), GENERIC_READ, TRUNCATE_EXISTING);
    if (testsession::RunningOnWine()) {
        EXPECT_NE(truncating, INVALID_HANDLE_VALUE);
        CloseHandle(truncating);
    } else {
        EXPECT_EQ(truncating, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    // Undocumented: no name at all; ours calls it a bad argument, Wine a missing path.
    EXPECT_EQ(CreateFileA(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(),
              testsession::WindowsOrWine<DWORD>(ERROR_INVALID_PARAMETER, ERROR_PATH_NOT_FOUND));
}

TEST_F(KernelFileTest, ReadIsShortAtTheEndOfTheFileAndThenEmpty) {
    Put(PathOf("five"), "12345");
    HANDLE file = Open(PathOf("five"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    char buffer[10] = {};
    DWORD got = 99;
    EXPECT_TRUE(ReadFile(file, buffer, 3, &got, nullptr));
    EXPECT_EQ(got, 3u);
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(got, 2u);
    EXPECT_EQ(std::string(buffer, 2), "45");
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &got, nullptr));
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(CloseHandle(file));
}

TEST_F(KernelFileTest, HandlesAllowOnlyTheAccessTheyWereOpenedWith) {
    Put(PathOf("file"), "abc");
    char buffer[4];
    DWORD count = 99;
    HANDLE reader = Open(PathOf("file"), GENERIC_READ, OPEN_EXISTING);
    HANDLE query = Open(PathOf("file"), 0, OPEN_EXISTING);
    EXPECT_FALSE(WriteFile(reader, "x", 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(SetEndOfFile(reader));
    EXPECT_FALSE(ReadFile(query, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(GetFileSize(query, nullptr), 3u);
    EXPECT_TRUE(CloseHandle(reader));
    EXPECT_TRUE(CloseHandle(query));
    EXPECT_EQ(Get(PathOf("file")), "abc");
}

TEST_F(KernelFileTest, SetEndOfFileCutsTheFileAtTheCurrentPosition) {
    Put(PathOf("file"), "a long old content");
    HANDLE file = Open(PathOf("file"), GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "new", 3, &written, nullptr));
    EXPECT_EQ(written, 3u);
    EXPECT_TRUE(SetEndOfFile(file));
    EXPECT_TRUE(FlushFileBuffers(file));
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_EQ(Get(PathOf("file")), "new");
}

TEST_F(KernelFileTest, GetFileSizeReportsTheHighWordOfLargeFiles) {
    Put(PathOf("large"), "");
    fs::resize_file(PathOf("large"), (std::uintmax_t{5} << 30) + 7); // 5 GiB and 7 bytes
    HANDLE file = Open(PathOf("large"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(file, &high), (1u << 30) + 7);
    EXPECT_EQ(high, 1u);
    EXPECT_TRUE(CloseHandle(file));
}

// A file Windows has written carries FILE_ATTRIBUTE_ARCHIVE (Wine sets it on every file); a
// POSIX file system has no such bit, so our layer answers FILE_ATTRIBUTE_NORMAL.
TEST_F(KernelFileTest, AttributesTellFilesDirectoriesAndReadOnly) {
    Put(PathOf("plain"), "x");
    Put(PathOf("locked"), "x");
    fs::permissions(PathOf("locked"),
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    fs::create_directory(PathOf("dir"));
    const DWORD file =
        testsession::RunningOnOwnLayer() ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_ARCHIVE;
    struct Case {
        std::string Path;
        DWORD Attributes;
        DWORD Error;
    };
    const Case cases[] = {
        {PathOf("plain"), file, 0},
        {PathOf("locked"), FILE_ATTRIBUTE_READONLY | (file & FILE_ATTRIBUTE_ARCHIVE), 0},
        {PathOf("dir"), FILE_ATTRIBUTE_DIRECTORY, 0},
        {PathOf("missing"), INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
        {PathOf("missing/file"), INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
        {PathOf("plain/file"), INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Path);
        SetLastError(0);
        EXPECT_EQ(GetFileAttributesA(c.Path.c_str()), c.Attributes);
        EXPECT_EQ(GetLastError(), c.Error);
    }
}

TEST_F(KernelFileTest, MoveReplacesOnlyWhenAskedAndDeleteRemovesFilesOnly) {
    Put(PathOf("from"), "new");
    Put(PathOf("to"), "old");
    EXPECT_FALSE(MoveFileExA(PathOf("from").c_str(), PathOf("to").c_str(), 0));
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(Get(PathOf("from")), "new");
    EXPECT_EQ(Get(PathOf("to")), "old");

    EXPECT_TRUE(MoveFileExA(PathOf("from").c_str(), PathOf("to").c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    EXPECT_FALSE(fs::exists(PathOf("from")));
    EXPECT_EQ(Get(PathOf("to")), "new");

    EXPECT_FALSE(MoveFileExA(PathOf("from").c_str(), PathOf("other").c_str(), 0));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(MoveFileExA(PathOf("to").c_str(), PathOf("nowhere/to").c_str(), 0));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

    fs::create_directory(PathOf("dir"));
    EXPECT_FALSE(DeleteFileA(PathOf("dir").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(DeleteFileA(PathOf("to").c_str()));
    EXPECT_FALSE(DeleteFileA(PathOf("to").c_str()));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

// The threads take turns through an atomic step, so that no call between the setting and the
// reading of an error (starting or joining a thread sets errors of its own on Windows) hides
// what is checked.
TEST(KernelErrorTest, LastErrorIsKeptPerThread) {
    std::atomic<int> step{0};
    DWORD seenByOtherThread = 1;
    std::thread other([&] {
        WaitForStep(step, 1);
        seenByOtherThread = GetLastError();
        SetLastError(ERROR_DISK_FULL);
        step = 2;
    });
    SetLastError(ERROR_ACCESS_DENIED);
    step = 1;
    WaitForStep(step, 2);
    const DWORD mine = GetLastError();
    other.join();
    EXPECT_EQ(seenByOtherThread, ERROR_SUCCESS);
    EXPECT_EQ(mine, ERROR_ACCESS_DENIED);
}

} // namespace
