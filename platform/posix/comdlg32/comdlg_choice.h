#pragma once

// What a name typed in a file dialog (or given by a script) asks for, and whether the dialog's
// flags let it through.

#include "platform/win32.h"

#include <string>
#include <string_view>
#include <vector>

namespace posix::comdlg {

// Files chosen in one folder.
struct Selection {
    std::string Folder;
    std::vector<std::string> Names;
};

struct TypedChoice {
    enum class Kind {
        Nothing,    // blank text
        OpenFolder, // the text names a folder: show it
        Select,     // the text names files
        Invalid,    // a list of names in different folders, or a folder path that is none
    };
    Kind What = Kind::Nothing;
    std::string Folder; // the folder to show (OpenFolder)
    Selection Chosen;   // Select
};

// Interprets the text relative to the folder shown. A name may be relative ("sub/a.mp3") or
// absolute; quoted names ("a.mp3" "b.mp3") give a list when several files may be chosen. A
// name without an extension that names no file gets the default extension, when there is one.
TypedChoice InterpretTyped(std::string_view text, const std::string& folder, bool multiple,
                           const char* defaultExtension);

struct Refusal {
    enum class Kind { None, MissingFolder, MissingFile };
    Kind Why = Kind::None;
    std::string Path; // what is missing
};

// OFN_PATHMUSTEXIST (and OFN_FILEMUSTEXIST, which implies it) asks for an existing folder;
// OFN_FILEMUSTEXIST in an open dialog asks for existing files.
Refusal CheckSelection(const Selection& selection, DWORD flags, bool openDialog);

// The one file of a save dialog exists and OFN_OVERWRITEPROMPT asks before replacing it.
bool MustConfirmOverwrite(const Selection& selection, DWORD flags, bool openDialog);

} // namespace posix::comdlg
