#pragma once

// What the file dialogs show of the file system: the filter pairs, name patterns, the entries
// of a folder and the paths built from what the user names.

#include <string>
#include <string_view>
#include <vector>

namespace posix::comdlg {

struct FilterPair {
    std::string Name;
    std::string Patterns; // ';'-separated, such as "*.mp3;*.wav"
};

// The pairs of a filter list: name NUL patterns NUL ..., ended by an empty name. A name
// without patterns ends the list. Null gives no pairs.
std::vector<FilterPair> ParseFilter(const char* filter);

// The bytes of the filter list that ParseFilter reads, the NUL that ends it included; 0 for
// null.
std::size_t FilterLength(const char* filter);

// Whether the name matches one of the ';'-separated patterns ('*' any run, '?' any one byte,
// ASCII letters without regard to case, "*.*" everything). No patterns at all match everything.
bool MatchesPatterns(std::string_view name, std::string_view patterns);

struct FolderEntry {
    std::string Name;
    bool IsFolder = false;
};

// ".." (except at the root), the sub-folders, then the files that match the patterns, each
// group sorted by name. Hidden names (starting with '.') are left out; an unreadable folder
// shows only "..".
std::vector<FolderEntry> ListFolder(const std::string& folder, std::string_view patterns);

// The name taken in the folder (or as it is when absolute), with "." and ".." resolved and
// without a trailing '/' (except the root itself).
std::string JoinPath(const std::string& folder, const std::string& name);
std::string ParentOf(const std::string& path);
std::string NameOf(const std::string& path);

bool IsFolder(const std::string& path);
// Exists and is not a folder.
bool IsFile(const std::string& path);
std::string CurrentFolder();

} // namespace posix::comdlg
