// Kernel file functions on what only a POSIX file system has: permission bits, FIFOs, devices
// and symbolic links, and handles the layer never gave out (POSIX only).

#include "tests/platform/kernel32/KernelFileTest.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

mode_t PermissionsOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0);
    return status.st_mode & 07777;
}

TEST_F(KernelFileTest, AttributesTellLockedDirectoriesDevicesAndLinks) {
    Put(PathOf("plain"), "x");
    fs::create_directory(PathOf("lockeddir"));
    chmod(PathOf("lockeddir").c_str(), 0555);
    ASSERT_EQ(mkfifo(PathOf("fifo").c_str(), 0600), 0);
    fs::create_symlink(PathOf("plain"), PathOf("link"));
    struct Case {
        std::string Path;
        DWORD Attributes;
    };
    const Case cases[] = {
        {PathOf("lockeddir"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY},
        {PathOf("fifo"), FILE_ATTRIBUTE_DEVICE},
        {"/dev/null", FILE_ATTRIBUTE_DEVICE},
        {PathOf("link"), FILE_ATTRIBUTE_NORMAL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Path);
        SetLastError(0);
        EXPECT_EQ(GetFileAttributesA(c.Path.c_str()), c.Attributes);
        EXPECT_EQ(GetLastError(), 0u);
    }
}

TEST_F(KernelFileTest, StaleAndForeignHandlesAreRejected) {
    Put(PathOf("file"), "x");
    HANDLE file = Open(PathOf("file"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(file));
    int notAHandle = 0;
    char buffer[1];
    DWORD count = 0;
    for (HANDLE handle : {file, INVALID_HANDLE_VALUE, HANDLE{}, HANDLE{&notAHandle}}) {
        EXPECT_FALSE(CloseHandle(handle));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
        EXPECT_FALSE(ReadFile(handle, buffer, 1, &count, nullptr));
        EXPECT_EQ(GetFileSize(handle, nullptr), INVALID_FILE_SIZE);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    }
}

TEST_F(KernelFileTest, ReplaceFileKeepsThePermissionBitsOfTheReplacedFile) {
    Put(PathOf("target"), "old");
    Put(PathOf("replacement"), "new");
    chmod(PathOf("target").c_str(), 0640);
    chmod(PathOf("replacement").c_str(), 0600);
    EXPECT_TRUE(ReplaceFileA(PathOf("target").c_str(), PathOf("replacement").c_str(), nullptr, 0,
                             nullptr, nullptr));
    EXPECT_EQ(Get(PathOf("target")), "new");
    EXPECT_EQ(PermissionsOf(PathOf("target")), 0640u);
    EXPECT_FALSE(fs::exists(PathOf("replacement")));
}

TEST_F(KernelFileTest, ReplaceFileRefusesWhatItMustNotReplace) {
    Put(PathOf("target"), "old");
    Put(PathOf("locked"), "old");
    chmod(PathOf("locked").c_str(), 0444);
    ASSERT_EQ(mkfifo(PathOf("fifo").c_str(), 0600), 0);
    fs::create_directory(PathOf("dir"));
    struct Case {
        std::string Replaced;
        const char* Backup;
        DWORD Error;
    };
    const Case cases[] = {
        {PathOf("missing"), nullptr, ERROR_FILE_NOT_FOUND},
        {PathOf("locked"), nullptr, ERROR_ACCESS_DENIED},
        {PathOf("fifo"), nullptr, ERROR_ACCESS_DENIED},
        {PathOf("dir"), nullptr, ERROR_ACCESS_DENIED},
        {PathOf("target"), "backup", ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Replaced);
        Put(PathOf("replacement"), "new");
        EXPECT_FALSE(ReplaceFileA(c.Replaced.c_str(), PathOf("replacement").c_str(), c.Backup, 0,
                                  nullptr, nullptr));
        EXPECT_EQ(GetLastError(), c.Error);
        EXPECT_EQ(Get(PathOf("replacement")), "new");
    }
    EXPECT_EQ(Get(PathOf("target")), "old");
    EXPECT_EQ(Get(PathOf("locked")), "old");
    EXPECT_EQ(fs::status(PathOf("fifo")).type(), fs::file_type::fifo);
}

TEST_F(KernelFileTest, FinalPathResolvesSymbolicLinksAndAnswersTheNeededSize) {
    fs::create_directory(PathOf("real"));
    Put(PathOf("real/list"), "x");
    fs::create_directory_symlink(PathOf("real"), PathOf("alias"));
    fs::create_symlink(PathOf("alias/list"), PathOf("link"));
    const std::string expected = fs::canonical(PathOf("real/list")).string();

    HANDLE file = Open(PathOf("link"), 0, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const DWORD length = static_cast<DWORD>(expected.size());
    EXPECT_EQ(GetFinalPathNameByHandleA(file, nullptr, 0, 0), length + 1);
    std::string buffer(length + 1, '#');
    EXPECT_EQ(GetFinalPathNameByHandleA(file, buffer.data(), length, 0), length + 1);
    EXPECT_EQ(GetFinalPathNameByHandleA(file, buffer.data(), length + 1, 0), length);
    EXPECT_EQ(buffer, expected + '\0');
    EXPECT_TRUE(CloseHandle(file));
}

TEST_F(KernelFileTest, WritesThatCannotCompleteFailWithoutBlockingOrKilling) {
    HANDLE full = Open("/dev/full", GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(full, INVALID_HANDLE_VALUE);
    DWORD written = 99;
    EXPECT_FALSE(WriteFile(full, "data", 4, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(written, 0u);
    EXPECT_TRUE(CloseHandle(full));

    // A FIFO without a reader: opening must not block, writing must not raise SIGPIPE.
    const std::string fifo = PathOf("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(Open(fifo, GENERIC_WRITE, OPEN_EXISTING), INVALID_HANDLE_VALUE);
    int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    HANDLE writer = Open(fifo, GENERIC_WRITE, OPEN_EXISTING);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    close(reader);
    EXPECT_FALSE(WriteFile(writer, "data", 4, &written, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_BROKEN_PIPE);
    EXPECT_TRUE(CloseHandle(writer));
}

} // namespace
