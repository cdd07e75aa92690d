#pragma once

#include <string>

// What the player can do with a file named from outside (the command line, a drop).
enum class FileKind {
    Playable, // the media engine opens it
    Playlist, // an existing file of the playlist type (.qpl, in any case)
    Unusable, // neither
};

// Asks the system's media engine (an MCI open and close of the file) whether it plays the file,
// so the answer is the engine's on each system.
FileKind KindOfFile(const std::string& path);
