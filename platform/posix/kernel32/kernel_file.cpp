// Win32 files over POSIX descriptors.
//
// Sections:
//   1. Handle table   HANDLE <-> open descriptor
//   2. Helpers        error translation for paths, open flags, SIGPIPE, final paths
//   3. Handles        CreateFileA ... GetFinalPathNameByHandleA
//   4. Paths          GetFileAttributesA, DeleteFileA, MoveFileExA, ReplaceFileA

#include "platform/win32.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <unordered_set>

#include "platform/posix/kernel32/kernel_error.h"

namespace {

// ---------------------------------------------------------------------------------------
// 1. Handle table
// ---------------------------------------------------------------------------------------

// What a file HANDLE points at.
struct FileObject {
    // The open descriptor.
    int Descriptor = -1;
    // GENERIC_READ / GENERIC_WRITE as requested when opening.
    DWORD Access = 0;
    // A FIFO, socket or character device: reads return what is there, writes may meet a
    // reader that has gone.
    bool IsStream = false;
    // The path the file was opened by, for systems without /proc.
    std::string Path;
};

// The live file objects. A handle is used only after it was found here, so a stale or
// foreign handle fails with ERROR_INVALID_HANDLE instead of touching freed memory.
std::mutex& TableLock() {
    static std::mutex lock;
    return lock;
}

std::unordered_set<FileObject*>& LiveFiles() {
    static std::unordered_set<FileObject*> files;
    return files;
}

HANDLE Register(std::unique_ptr<FileObject> object) {
    std::lock_guard<std::mutex> guard(TableLock());
    LiveFiles().insert(object.get());
    return object.release();
}

FileObject* Find(HANDLE handle) {
    std::lock_guard<std::mutex> guard(TableLock());
    auto found = LiveFiles().find(static_cast<FileObject*>(handle));
    if (found == LiveFiles().end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return *found;
}

std::unique_ptr<FileObject> Unregister(HANDLE handle) {
    std::lock_guard<std::mutex> guard(TableLock());
    if (LiveFiles().erase(static_cast<FileObject*>(handle)) == 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return std::unique_ptr<FileObject>(static_cast<FileObject*>(handle));
}

// ---------------------------------------------------------------------------------------
// 2. Helpers
// ---------------------------------------------------------------------------------------

bool IsDirectory(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string ParentOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return path.substr(0, slash == 0 ? 1 : slash);
}

// Win32 tells a missing file (in a directory that exists) from a missing directory on the
// way to it.
void SetLastErrorForPath(int error, const char* path) {
    if (error == ENOENT && (*path == '\0' || !IsDirectory(ParentOf(path)))) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return;
    }
    posix::SetLastErrorFromErrno(error);
}

void SetLastErrorForIo(int error, DWORD ioFault) {
    SetLastError(error == EIO ? ioFault : posix::Win32ErrorFromErrno(error));
}

bool HasAccess(const FileObject& object, DWORD access) {
    if ((object.Access & access) == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

// Query access opens a file for its size and path only: no right to read it is needed, and
// opening a device this way has no side effects.
#ifdef O_PATH
constexpr int QueryFlags = O_PATH;
#else
constexpr int QueryFlags = O_RDONLY;
#endif

int AccessFlags(DWORD access, DWORD disposition) {
    const bool read = (access & GENERIC_READ) != 0;
    const bool write = (access & GENERIC_WRITE) != 0;
    if (read && write) {
        return O_RDWR;
    }
    if (write) {
        return O_WRONLY;
    }
    // O_PATH creates nothing, so a query that may create the file opens it for reading.
    return read || disposition != OPEN_EXISTING ? O_RDONLY : QueryFlags;
}

// O_NONBLOCK keeps the open of a FIFO without a peer from blocking; it is cleared again
// afterwards so reads and writes behave as usual.
constexpr int CommonOpenFlags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;

std::optional<int> DispositionFlags(DWORD disposition, DWORD access) {
    switch (disposition) {
    case CREATE_NEW:
        return O_CREAT | O_EXCL;
    case CREATE_ALWAYS:
        return O_CREAT | O_TRUNC;
    case OPEN_EXISTING:
        return 0;
    case OPEN_ALWAYS:
        return O_CREAT;
    case TRUNCATE_EXISTING:
        if ((access & GENERIC_WRITE) == 0) {
            return std::nullopt;
        }
        return O_TRUNC;
    default:
        return std::nullopt;
    }
}

bool ClearNonBlocking(int descriptor) {
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags == -1) {
        return false;
    }
    // Query descriptors never take the flag (and refuse F_SETFL).
    return (flags & O_NONBLOCK) == 0 || fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != -1;
}

bool IsStreamMode(mode_t mode) {
    return !S_ISREG(mode) && !S_ISBLK(mode);
}

// Writing to a FIFO or socket whose reader has gone raises SIGPIPE, which would end the
// process. While this guard lives the signal is blocked, and one raised meanwhile is taken
// off the thread again, so the write just fails with EPIPE.
class SigpipeGuard {
public:
    SigpipeGuard() {
        sigemptyset(&pipeOnly);
        sigaddset(&pipeOnly, SIGPIPE);
        wasPending = IsPending();
        pthread_sigmask(SIG_BLOCK, &pipeOnly, &previousMask);
    }
    ~SigpipeGuard() {
        if (!wasPending && IsPending()) {
            int taken = 0;
            sigwait(&pipeOnly, &taken);
        }
        pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    }
    SigpipeGuard(const SigpipeGuard&) = delete;
    SigpipeGuard& operator=(const SigpipeGuard&) = delete;

private:
    static bool IsPending() {
        sigset_t pending;
        return sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    }

    sigset_t pipeOnly;
    sigset_t previousMask;
    bool wasPending = false;
};

std::optional<std::string> ReadLink(const std::string& link) {
    std::string target(256, '\0');
    while (target.size() <= (std::size_t{1} << 20)) {
        ssize_t length = readlink(link.c_str(), target.data(), target.size());
        if (length < 0) {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
    return std::nullopt;
}

std::optional<std::string> RealPath(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(path.c_str(), nullptr),
                                                         &std::free);
    if (!resolved) {
        return std::nullopt;
    }
    return std::string(resolved.get());
}

// The path of the open file with every symbolic link resolved: what /proc says about the
// descriptor, or else the resolved path it was opened by.
std::optional<std::string> FinalPathOf(const FileObject& object) {
    std::optional<std::string> path =
        ReadLink("/proc/self/fd/" + std::to_string(object.Descriptor));
    if (!path) {
        path = RealPath(object.Path);
    }
    if (!path || path->empty() || path->front() != '/') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    return path;
}

// Makes a rename in the directory of `path` durable. File systems that cannot sync a
// directory answer EINVAL; there is nothing more to do on those.
bool SyncDirectoryOf(const char* path) {
    int directory = open(ParentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (directory < 0) {
        posix::SetLastErrorFromErrno(errno);
        return false;
    }
    bool synced = fsync(directory) == 0 || errno == EINVAL;
    int error = errno;
    close(directory);
    if (!synced) {
        posix::SetLastErrorFromErrno(error);
    }
    return synced;
}

int RenameWithoutReplacing(const char* from, const char* to) {
#ifdef RENAME_NOREPLACE
    return renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
#else
    if (link(from, to) != 0) {
        return -1;
    }
    return unlink(from);
#endif
}

// Gives `path` the owner and group of `model`; false when the caller may not, in which case
// the current ones stay.
bool AdoptOwner(const char* path, const struct stat& model) {
    return chown(path, model.st_uid, model.st_gid) == 0;
}

} // namespace

// ---------------------------------------------------------------------------------------
// 3. Handles
// ---------------------------------------------------------------------------------------

HANDLE WINAPI CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD /*shareMode*/,
                          LPSECURITY_ATTRIBUTES /*securityAttributes*/, DWORD creationDisposition,
                          DWORD flagsAndAttributes, HANDLE /*templateFile*/) {
    std::optional<int> dispositionFlags = DispositionFlags(creationDisposition, desiredAccess);
    if (fileName == nullptr || !dispositionFlags) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    int accessFlags = AccessFlags(desiredAccess, creationDisposition);
    mode_t mode = (flagsAndAttributes & FILE_ATTRIBUTE_READONLY) != 0 ? 0444 : 0666;
    struct stat before;
    bool existed = stat(fileName, &before) == 0;

    int descriptor = open(fileName, accessFlags | *dispositionFlags | CommonOpenFlags, mode);
    if (descriptor < 0) {
        SetLastErrorForPath(errno, fileName);
        return INVALID_HANDLE_VALUE;
    }
    struct stat status;
    if (fstat(descriptor, &status) != 0 || !ClearNonBlocking(descriptor)) {
        posix::SetLastErrorFromErrno(errno);
        close(descriptor);
        return INVALID_HANDLE_VALUE;
    }
    if (S_ISDIR(status.st_mode)) {
        // Like Win32 without backup semantics, a directory cannot be opened as a file.
        close(descriptor);
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }

    auto object = std::make_unique<FileObject>();
    object->Descriptor = descriptor;
    object->Access = desiredAccess & (GENERIC_READ | GENERIC_WRITE);
    object->IsStream = IsStreamMode(status.st_mode);
    object->Path = fileName;
    HANDLE handle = Register(std::move(object));
    bool reportsExisting =
        creationDisposition == CREATE_ALWAYS || creationDisposition == OPEN_ALWAYS;
    SetLastError(existed && reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL WINAPI ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
                     LPOVERLAPPED /*overlapped*/) {
    if (bytesRead != nullptr) {
        *bytesRead = 0;
    }
    FileObject* object = Find(file);
    if (object == nullptr || !HasAccess(*object, GENERIC_READ)) {
        return FALSE;
    }
    if (buffer == nullptr && bytesToRead != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A file delivers the whole request unless the end comes first; a stream delivers what
    // it has.
    DWORD total = 0;
    while (total < bytesToRead) {
        ssize_t got =
            read(object->Descriptor, static_cast<char*>(buffer) + total, bytesToRead - total);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            SetLastErrorForIo(errno, ERROR_READ_FAULT);
            if (bytesRead != nullptr) {
                *bytesRead = total;
            }
            return FALSE;
        }
        total += static_cast<DWORD>(got);
        if (got == 0 || object->IsStream) {
            break;
        }
    }
    if (bytesRead != nullptr) {
        *bytesRead = total;
    }
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
                      LPOVERLAPPED /*overlapped*/) {
    if (bytesWritten != nullptr) {
        *bytesWritten = 0;
    }
    FileObject* object = Find(file);
    if (object == nullptr || !HasAccess(*object, GENERIC_WRITE)) {
        return FALSE;
    }
    if (buffer == nullptr && bytesToWrite != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::optional<SigpipeGuard> sigpipeGuard;
    if (object->IsStream) {
        sigpipeGuard.emplace();
    }
    DWORD total = 0;
    BOOL succeeded = TRUE;
    while (total < bytesToWrite) {
        ssize_t put = write(object->Descriptor, static_cast<const char*>(buffer) + total,
                            bytesToWrite - total);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            SetLastErrorForIo(put < 0 ? errno : EIO, ERROR_WRITE_FAULT);
            succeeded = FALSE;
            break;
        }
        total += static_cast<DWORD>(put);
    }
    if (bytesWritten != nullptr) {
        *bytesWritten = total;
    }
    return succeeded;
}

BOOL WINAPI SetEndOfFile(HANDLE file) {
    FileObject* object = Find(file);
    if (object == nullptr || !HasAccess(*object, GENERIC_WRITE)) {
        return FALSE;
    }
    off_t position = lseek(object->Descriptor, 0, SEEK_CUR);
    if (position < 0 || ftruncate(object->Descriptor, position) != 0) {
        posix::SetLastErrorFromErrno(errno);
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI GetFileSize(HANDLE file, LPDWORD fileSizeHigh) {
    FileObject* object = Find(file);
    if (object == nullptr) {
        return INVALID_FILE_SIZE;
    }
    struct stat status;
    if (fstat(object->Descriptor, &status) != 0) {
        posix::SetLastErrorFromErrno(errno);
        return INVALID_FILE_SIZE;
    }
    std::uint64_t size = status.st_size > 0 ? static_cast<std::uint64_t>(status.st_size) : 0;
    if (fileSizeHigh != nullptr) {
        *fileSizeHigh = static_cast<DWORD>(size >> 32);
    }
    DWORD low = static_cast<DWORD>(size & 0xFFFFFFFFu);
    // A true size whose low word looks like the failure value is told apart by the error.
    if (low == INVALID_FILE_SIZE) {
        SetLastError(ERROR_SUCCESS);
    }
    return low;
}

BOOL WINAPI FlushFileBuffers(HANDLE file) {
    FileObject* object = Find(file);
    if (object == nullptr || !HasAccess(*object, GENERIC_WRITE)) {
        return FALSE;
    }
    // Streams and devices keep nothing back in the layer; only storage can be synced.
    if (object->IsStream) {
        return TRUE;
    }
    if (fsync(object->Descriptor) != 0) {
        SetLastErrorForIo(errno, ERROR_WRITE_FAULT);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE object) {
    std::unique_ptr<FileObject> file = Unregister(object);
    if (!file) {
        return FALSE;
    }
    // The descriptor is released even when close reports an error (EINTR included), so it
    // is never closed twice.
    if (close(file->Descriptor) != 0 && errno != EINTR) {
        SetLastErrorForIo(errno, ERROR_WRITE_FAULT);
        return FALSE;
    }
    return TRUE;
}

DWORD WINAPI GetFinalPathNameByHandleA(HANDLE file, LPSTR filePath, DWORD filePathSize,
                                       DWORD flags) {
    if (flags != (FILE_NAME_NORMALIZED | VOLUME_NAME_DOS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    FileObject* object = Find(file);
    if (object == nullptr) {
        return 0;
    }
    std::optional<std::string> path = FinalPathOf(*object);
    if (!path) {
        return 0;
    }
    if (path->size() >= 0xFFFFFFFFu) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    DWORD length = static_cast<DWORD>(path->size());
    // Too small a buffer gets the size it needs, the terminating zero included.
    if (filePathSize <= length) {
        return length + 1;
    }
    if (filePath == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::memcpy(filePath, path->c_str(), length + 1);
    return length;
}

// ---------------------------------------------------------------------------------------
// 4. Paths
// ---------------------------------------------------------------------------------------

DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
    if (fileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat status;
    if (stat(fileName, &status) != 0) {
        SetLastErrorForPath(errno, fileName);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = 0;
    if (S_ISDIR(status.st_mode)) {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    } else if (!S_ISREG(status.st_mode)) {
        attributes |= FILE_ATTRIBUTE_DEVICE;
    }
    if ((status.st_mode & S_IWUSR) == 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

BOOL WINAPI DeleteFileA(LPCSTR fileName) {
    if (fileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (unlink(fileName) != 0) {
        SetLastErrorForPath(errno, fileName);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags) {
    constexpr DWORD knownFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (existingFileName == nullptr || newFileName == nullptr || (flags & ~knownFlags) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int moved = (flags & MOVEFILE_REPLACE_EXISTING) != 0
                    ? rename(existingFileName, newFileName)
                    : RenameWithoutReplacing(existingFileName, newFileName);
    if (moved != 0) {
        int error = errno;
        struct stat source;
        if (error == EEXIST) {
            SetLastError(ERROR_ALREADY_EXISTS);
        } else if (error == ENOENT && lstat(existingFileName, &source) == 0) {
            SetLastError(ERROR_PATH_NOT_FOUND);
        } else {
            SetLastErrorForPath(error, existingFileName);
        }
        return FALSE;
    }
    if ((flags & MOVEFILE_WRITE_THROUGH) != 0 && !SyncDirectoryOf(newFileName)) {
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI ReplaceFileA(LPCSTR replacedFileName, LPCSTR replacementFileName, LPCSTR backupFileName,
                         DWORD replaceFlags, LPVOID exclude, LPVOID reserved) {
    if (replacedFileName == nullptr || replacementFileName == nullptr ||
        backupFileName != nullptr || replaceFlags != 0 || exclude != nullptr ||
        reserved != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    struct stat replaced;
    if (stat(replacedFileName, &replaced) != 0) {
        SetLastErrorForPath(errno, replacedFileName);
        return FALSE;
    }
    struct stat replacement;
    if (stat(replacementFileName, &replacement) != 0) {
        SetLastErrorForPath(errno, replacementFileName);
        return FALSE;
    }
    // Only a regular file the caller may write is replaced: never a directory or a device,
    // and, as on Win32, not a read-only file.
    bool writable = (replaced.st_mode & S_IWUSR) != 0 &&
                    faccessat(AT_FDCWD, replacedFileName, W_OK, AT_EACCESS) == 0;
    if (!S_ISREG(replaced.st_mode) || !S_ISREG(replacement.st_mode) || !writable) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    // The owner first, where allowed: changing it clears set-id bits that the mode restores.
    AdoptOwner(replacementFileName, replaced);
    if (chmod(replacementFileName, replaced.st_mode & 07777) != 0) {
        posix::SetLastErrorFromErrno(errno);
        return FALSE;
    }
    if (rename(replacementFileName, replacedFileName) != 0) {
        SetLastError(ERROR_UNABLE_TO_MOVE_REPLACEMENT);
        return FALSE;
    }
    return TRUE;
}
