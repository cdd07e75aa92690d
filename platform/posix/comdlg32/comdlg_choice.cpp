#include "platform/posix/comdlg32/comdlg_choice.h"

#include "platform/posix/comdlg32/comdlg_folder.h"

namespace posix::comdlg {
namespace {

bool IsBlank(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos;
}

// "a.mp3" "b c.mp3" gives the names between the quotes; an unclosed quote runs to the end.
std::vector<std::string> QuotedNames(std::string_view text) {
    std::vector<std::string> names;
    while (true) {
        const std::size_t open = text.find('"');
        if (open == std::string_view::npos) {
            return names;
        }
        text.remove_prefix(open + 1);
        const std::size_t close = text.find('"');
        const std::string_view name = text.substr(0, close);
        if (!name.empty()) {
            names.emplace_back(name);
        }
        if (close == std::string_view::npos) {
            return names;
        }
        text.remove_prefix(close + 1);
    }
}

bool StartsWithQuote(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first != std::string_view::npos && text[first] == '"';
}

bool HasExtension(const std::string& path) {
    return NameOf(path).find('.') != std::string::npos;
}

std::string WithDefaultExtension(const std::string& path, const char* defaultExtension) {
    if (defaultExtension == nullptr || HasExtension(path) || IsFile(path)) {
        return path;
    }
    std::string_view extension(defaultExtension);
    while (!extension.empty() && extension.front() == '.') {
        extension.remove_prefix(1);
    }
    return extension.empty() ? path : path + "." + std::string(extension);
}

TypedChoice Invalid() {
    TypedChoice choice;
    choice.What = TypedChoice::Kind::Invalid;
    return choice;
}

TypedChoice OneName(const std::string& name, const std::string& folder,
                    const char* defaultExtension) {
    const std::string path = JoinPath(folder, name);
    TypedChoice choice;
    if (IsFolder(path)) {
        choice.What = TypedChoice::Kind::OpenFolder;
        choice.Folder = path;
        return choice;
    }
    if (name.back() == '/') {
        return Invalid();
    }
    const std::string file = WithDefaultExtension(path, defaultExtension);
    choice.What = TypedChoice::Kind::Select;
    choice.Chosen = {ParentOf(file), {NameOf(file)}};
    return choice;
}

} // namespace

TypedChoice InterpretTyped(std::string_view text, const std::string& folder, bool multiple,
                           const char* defaultExtension) {
    if (IsBlank(text)) {
        return {};
    }
    if (!StartsWithQuote(text)) {
        return OneName(std::string(text), folder, defaultExtension);
    }
    const std::vector<std::string> names = QuotedNames(text);
    if (names.empty()) {
        return {};
    }
    if (names.size() == 1) {
        return OneName(names.front(), folder, defaultExtension);
    }
    if (!multiple) {
        return Invalid();
    }
    TypedChoice choice;
    choice.What = TypedChoice::Kind::Select;
    for (const std::string& name : names) {
        const std::string file = WithDefaultExtension(JoinPath(folder, name), defaultExtension);
        if (choice.Chosen.Names.empty()) {
            choice.Chosen.Folder = ParentOf(file);
        } else if (ParentOf(file) != choice.Chosen.Folder) {
            return Invalid();
        }
        choice.Chosen.Names.push_back(NameOf(file));
    }
    return choice;
}

Refusal CheckSelection(const Selection& selection, DWORD flags, bool openDialog) {
    const bool fileMustExist = openDialog && (flags & OFN_FILEMUSTEXIST) != 0;
    if ((fileMustExist || (flags & OFN_PATHMUSTEXIST) != 0) && !IsFolder(selection.Folder)) {
        return {Refusal::Kind::MissingFolder, selection.Folder};
    }
    if (fileMustExist) {
        for (const std::string& name : selection.Names) {
            const std::string path = JoinPath(selection.Folder, name);
            if (!IsFile(path)) {
                return {Refusal::Kind::MissingFile, path};
            }
        }
    }
    return {};
}

bool MustConfirmOverwrite(const Selection& selection, DWORD flags, bool openDialog) {
    return !openDialog && (flags & OFN_OVERWRITEPROMPT) != 0 && selection.Names.size() == 1 &&
           IsFile(JoinPath(selection.Folder, selection.Names.front()));
}

} // namespace posix::comdlg
