#pragma once

// The window of the file dialogs: a folder line, a list of the folder's entries, a file-name
// field, a filter chooser and the OK and Cancel buttons, run modally in a loop of its own.

#include "platform/posix/comdlg32/comdlg_choice.h"
#include "platform/posix/comdlg32/comdlg_folder.h"
#include "platform/win32.h"

#include <cstddef>
#include <string>
#include <vector>

namespace posix::comdlg {

inline constexpr char DialogClassName[] = "FileDialog32";

// Control ids; the buttons are IDOK and IDCANCEL.
inline constexpr int FolderTextId = 0x440;
inline constexpr int FileListId = 0x460;
inline constexpr int FilterListId = 0x470; // a list box when there are several filter pairs
inline constexpr int FilterTextId = 0x441; // the name of the only pair, when there is one
inline constexpr int FileNameId = 0x480;

struct DialogSetup {
    HWND Owner = nullptr;
    std::string Title;
    std::string Folder;   // shown first
    std::string FileName; // the start text of the file-name field
    std::vector<FilterPair> Filters;
    std::size_t FilterIndex = 0; // 0-based, below Filters.size() when there are any
    bool OpenDialog = true;
    bool Multiple = false; // several files may be chosen
    DWORD Flags = 0;
    const char* DefaultExtension = nullptr;
};

struct DialogOutcome {
    bool Failed = false; // the dialog could not be made
    bool Accepted = false;
    Selection Chosen;
    std::size_t FilterIndex = 0;
};

// Runs the dialog until a choice that passes the flag checks is accepted, or it is cancelled
// (Cancel, Escape, the close request, WM_QUIT, or the dialog destroyed by someone else). The
// owner is disabled meanwhile and enabled and activated again afterwards.
DialogOutcome RunFileDialog(const DialogSetup& setup);

} // namespace posix::comdlg
