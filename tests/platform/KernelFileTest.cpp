#include "platform/win32.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace {

namespace fs = std::filesystem;

class KernelFileTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kernel-file-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string PathOf(const std::string& name) const { return (fs::path(dir) / name).string(); }

    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Get(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static mode_t PermissionsOf(const std::string& path) {
        struct stat status {};
        EXPECT_EQ(stat(path.c_str(), &status), 0);
        return status.st_mode & 07777;
    }
    static HANDLE Open(const std::string& path, DWORD access, DWORD disposition) {
        return CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    std::string dir;
};

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
        {"truncate without write access", PathOf("sub"), GENERIC_READ, TRUNCATE_EXISTING,
         ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(Open(c.Path, c.Access, c.Disposition), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.Error);
    }
    EXPECT_EQ(CreateFileA(nullptr, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
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
    const off_t size = (off_t{5} << 30) + 7; // sparse: 5 GiB and 7 bytes
    ASSERT_EQ(truncate(PathOf("large").c_str(), size), 0);
    HANDLE file = Open(PathOf("large"), GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 0;
    EXPECT_EQ(GetFileSize(file, &high), (1u << 30) + 7);
    EXPECT_EQ(high, 1u);
    EXPECT_TRUE(CloseHandle(file));
}

TEST_F(KernelFileTest, AttributesTellFilesDirectoriesDevicesAndReadOnly) {
    Put(PathOf("plain"), "x");
    Put(PathOf("locked"), "x");
    chmod(PathOf("locked").c_str(), 0444);
    fs::create_directory(PathOf("dir"));
    fs::create_directory(PathOf("lockeddir"));
    chmod(PathOf("lockeddir").c_str(), 0555);
    ASSERT_EQ(mkfifo(PathOf("fifo").c_str(), 0600), 0);
    fs::create_symlink(PathOf("plain"), PathOf("link"));
    struct Case {
        std::string Path;
        DWORD Attributes;
        DWORD Error;
    };
    const Case cases[] = {
        {PathOf("plain"), FILE_ATTRIBUTE_NORMAL, 0},
        {PathOf("locked"), FILE_ATTRIBUTE_READONLY, 0},
        {PathOf("dir"), FILE_ATTRIBUTE_DIRECTORY, 0},
        {PathOf("lockeddir"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY, 0},
        {PathOf("fifo"), FILE_ATTRIBUTE_DEVICE, 0},
        {"/dev/null", FILE_ATTRIBUTE_DEVICE, 0},
        {PathOf("link"), FILE_ATTRIBUTE_NORMAL, 0},
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

TEST(KernelErrorTest, LastErrorIsKeptPerThread) {
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD seenByOtherThread = 1;
    std::thread other([&] {
        seenByOtherThread = GetLastError();
        SetLastError(ERROR_DISK_FULL);
    });
    other.join();
    EXPECT_EQ(seenByOtherThread, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

} // namespace
