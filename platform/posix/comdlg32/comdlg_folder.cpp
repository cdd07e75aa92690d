#include "platform/posix/comdlg32/comdlg_folder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace posix::comdlg {
namespace {

namespace fs = std::filesystem;

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameByte(char a, char b) {
    return LowerAscii(a) == LowerAscii(b);
}

// Wildcard match without recursion: on a mismatch the last '*' takes one more byte.
bool MatchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*") {
        return true;
    }
    std::size_t n = 0;
    std::size_t p = 0;
    std::size_t starAt = std::string_view::npos;
    std::size_t nameAtStar = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            nameAtStar = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || SameByte(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++nameAtStar;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

bool ByName(const FolderEntry& a, const FolderEntry& b) {
    const auto lowerLess = [](char x, char y) {
        return static_cast<unsigned char>(LowerAscii(x)) <
               static_cast<unsigned char>(LowerAscii(y));
    };
    if (std::lexicographical_compare(a.Name.begin(), a.Name.end(), b.Name.begin(), b.Name.end(),
                                     lowerLess)) {
        return true;
    }
    if (std::lexicographical_compare(b.Name.begin(), b.Name.end(), a.Name.begin(), a.Name.end(),
                                     lowerLess)) {
        return false;
    }
    return a.Name < b.Name;
}

} // namespace

namespace {

// Walks the list, handing every complete pair to the visitor; answers where the list ends.
template <class Visitor> const char* WalkFilter(const char* filter, Visitor&& visit) {
    const char* at = filter;
    while (*at != '\0') {
        const std::string_view name(at);
        at += name.size() + 1;
        if (*at == '\0') {
            break;
        }
        const std::string_view patterns(at);
        at += patterns.size() + 1;
        visit(name, patterns);
    }
    return at;
}

} // namespace

std::vector<FilterPair> ParseFilter(const char* filter) {
    std::vector<FilterPair> pairs;
    if (filter != nullptr) {
        WalkFilter(filter, [&pairs](std::string_view name, std::string_view patterns) {
            pairs.push_back({std::string(name), std::string(patterns)});
        });
    }
    return pairs;
}

std::size_t FilterLength(const char* filter) {
    if (filter == nullptr) {
        return 0;
    }
    const char* end = WalkFilter(filter, [](std::string_view, std::string_view) {});
    return static_cast<std::size_t>(end - filter) + 1;
}

bool MatchesPatterns(std::string_view name, std::string_view patterns) {
    bool anyPattern = false;
    while (true) {
        const std::size_t end = patterns.find(';');
        const std::string_view pattern = Trimmed(patterns.substr(0, end));
        if (!pattern.empty()) {
            anyPattern = true;
            if (MatchesPattern(name, pattern)) {
                return true;
            }
        }
        if (end == std::string_view::npos) {
            return !anyPattern;
        }
        patterns.remove_prefix(end + 1);
    }
}

std::vector<FolderEntry> ListFolder(const std::string& folder, std::string_view patterns) {
    std::vector<FolderEntry> folders;
    std::vector<FolderEntry> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
         !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.') {
            continue;
        }
        std::error_code kindError;
        if (it->is_directory(kindError)) {
            folders.push_back({std::move(name), true});
        } else if (it->is_regular_file(kindError) && MatchesPatterns(name, patterns)) {
            files.push_back({std::move(name), false});
        }
    }
    std::sort(folders.begin(), folders.end(), ByName);
    std::sort(files.begin(), files.end(), ByName);
    std::vector<FolderEntry> entries;
    if (JoinPath(folder, "..") != JoinPath(folder, ".")) {
        entries.push_back({"..", true});
    }
    entries.insert(entries.end(), folders.begin(), folders.end());
    entries.insert(entries.end(), files.begin(), files.end());
    return entries;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    const fs::path named(name);
    std::string joined =
        (named.is_absolute() ? named : fs::path(folder) / named).lexically_normal().string();
    while (joined.size() > 1 && joined.back() == '/') {
        joined.pop_back();
    }
    return joined;
}

std::string ParentOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return CurrentFolder();
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool IsFile(const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return !error && fs::exists(status) && !fs::is_directory(status);
}

std::string CurrentFolder() {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    return error ? std::string("/") : current.string();
}

} // namespace posix::comdlg
