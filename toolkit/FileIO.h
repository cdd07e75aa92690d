#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/win32.h"

// File helpers over the platform's file functions.
//
// A FileOpenMode word packs the arguments of CreateFileA:
//   bits 28-31  desired access, as the high bits of the access mask (8 read, 4 write)
//   bits 0-3    share mode (0 exclusive, 1 others may read)
//   bits 8-11   creation disposition
//   bits 16-28  attribute flags; 0 means FILE_ATTRIBUTE_NORMAL

// Write, exclusive, open or create.
inline constexpr DWORD FileModeWrite = 0x40000400;
// Write, exclusive, create a new file only.
inline constexpr DWORD FileModeWriteNew = 0x40000100;
// Read, shared for reading, existing files only.
inline constexpr DWORD FileModeRead = 0x80000301;

// An open handle, or INVALID_HANDLE_VALUE. A null path is taken as the empty one.
HANDLE OpenFileWithMode(const char* path, DWORD fileOpenMode);

// True for anything that exists and is not a directory.
bool IsExistingFile(const char* path);

// The whole content of the file; nothing when it cannot be opened, is larger than maxSize
// or cannot be read to the end.
std::optional<std::string> ReadWholeFile(const char* path, DWORD maxSize);

// Makes data the content of the file at path, all or nothing: it is written to a new file
// beside the target, flushed, and only then put in the target's place (keeping the target's
// permissions; a symbolic link stays a link and its target is replaced). A device is
// written in place instead. On failure the old file is untouched and no new file remains.
bool ReplaceFileContents(const char* path, std::string_view data);
