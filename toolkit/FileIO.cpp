#include "toolkit/FileIO.h"

#include <algorithm>

namespace {

// The largest single write, well inside the 32-bit byte count of WriteFile.
constexpr std::size_t MaxTransfer = 0x40000000;

// The path as the file system knows it, with a drive letter on Windows.
constexpr DWORD FinalPathFlags = FILE_NAME_NORMALIZED | VOLUME_NAME_DOS;

// Suffixes tried for the new file written beside a target.
constexpr int TemporaryNameAttempts = 8;

bool ReadExactly(HANDLE file, char* buffer, DWORD size) {
    DWORD total = 0;
    while (total < size) {
        DWORD got = 0;
        // A failed call counts as nothing read.
        if (!ReadFile(file, buffer + total, size - total, &got, nullptr) || got == 0) {
            return false;
        }
        total += got;
    }
    return true;
}

bool WriteExactly(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min(data.size(), MaxTransfer));
        DWORD put = 0;
        // A failed call counts as nothing written.
        if (!WriteFile(file, data.data(), chunk, &put, nullptr) || put == 0) {
            return false;
        }
        data.remove_prefix(std::min<std::size_t>(put, data.size()));
    }
    return true;
}

std::optional<std::string> ReadOpenFile(HANDLE file, DWORD maxSize) {
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    if (size == INVALID_FILE_SIZE || high != 0 || size > maxSize) {
        return std::nullopt;
    }
    std::string content(size, '\0');
    if (!ReadExactly(file, content.data(), size)) {
        return std::nullopt;
    }
    return content;
}

// The path of an existing file with every symbolic link on the way resolved.
std::optional<std::string> FinalPathOf(const char* path) {
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::string finalPath(260, '\0');
    DWORD length = GetFinalPathNameByHandleA(file, finalPath.data(),
                                             static_cast<DWORD>(finalPath.size()), FinalPathFlags);
    if (length >= finalPath.size()) {
        finalPath.resize(length);
        length = GetFinalPathNameByHandleA(file, finalPath.data(), length, FinalPathFlags);
    }
    CloseHandle(file);
    if (length == 0 || length >= finalPath.size()) {
        return std::nullopt;
    }
    finalPath.resize(length);
    return finalPath;
}

bool WriteInPlace(const char* path, std::string_view data) {
    HANDLE file = OpenFileWithMode(path, FileModeWrite);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool written = WriteExactly(file, data);
    const bool closed = CloseHandle(file) != FALSE;
    return written && closed;
}

// Creates a new file named target plus a suffix that is not taken yet.
HANDLE CreateFileBeside(const std::string& target, std::string& name) {
    for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt) {
        name = target + ".tmp" + std::to_string(attempt);
        HANDLE file = OpenFileWithMode(name.c_str(), FileModeWriteNew);
        if (file != INVALID_HANDLE_VALUE) {
            return file;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    return INVALID_HANDLE_VALUE;
}

bool WriteBesideAndSwap(const std::string& target, bool targetExists, std::string_view data) {
    std::string temporary;
    HANDLE file = CreateFileBeside(target, temporary);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool written = WriteExactly(file, data) && FlushFileBuffers(file);
    const bool closed = CloseHandle(file) != FALSE;
    const bool swapped =
        written && closed &&
        (targetExists
             ? ReplaceFileA(target.c_str(), temporary.c_str(), nullptr, 0, nullptr, nullptr)
             : MoveFileExA(temporary.c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
    if (!swapped) {
        DeleteFileA(temporary.c_str());
    }
    return swapped;
}

} // namespace

HANDLE OpenFileWithMode(const char* path, DWORD fileOpenMode) {
    const DWORD access = fileOpenMode & 0xF0000000u;
    const DWORD share = fileOpenMode & 0xFu;
    const DWORD disposition = (fileOpenMode >> 8) & 0xFu;
    DWORD attributes = (fileOpenMode >> 16) & 0x1FFFu;
    if (attributes == 0) {
        attributes = FILE_ATTRIBUTE_NORMAL;
    }
    return CreateFileA(path != nullptr ? path : "", access, share, nullptr, disposition, attributes,
                       nullptr);
}

bool IsExistingFile(const char* path) {
    const DWORD attributes = GetFileAttributesA(path != nullptr ? path : "");
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::string> ReadWholeFile(const char* path, DWORD maxSize) {
    HANDLE file = OpenFileWithMode(path, FileModeRead);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::optional<std::string> content = ReadOpenFile(file, maxSize);
    CloseHandle(file);
    return content;
}

bool ReplaceFileContents(const char* path, std::string_view data) {
    const std::string target = path != nullptr ? path : "";
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // Anything but a plain "not there" (no access, a link loop...) is not ours to replace.
        return GetLastError() == ERROR_FILE_NOT_FOUND && WriteBesideAndSwap(target, false, data);
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return false;
    }
    // Renaming over a device would replace the device node itself.
    if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) {
        return WriteInPlace(target.c_str(), data);
    }
    const std::optional<std::string> finalPath = FinalPathOf(target.c_str());
    return finalPath && WriteBesideAndSwap(*finalPath, true, data);
}
