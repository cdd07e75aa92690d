#include "platform/posix/comdlg32/comdlg_dialog.h"

#include "platform/posix/user32/modal_window.h"

#include <algorithm>
#include <string_view>

namespace posix::comdlg {
namespace {

// Index: 1. state  2. layout and creation  3. the folder shown  4. accepting  5. keys and
// notifications  6. the modal loop

// ---------------------------------------------------------------------------------------
// 1. State
// ---------------------------------------------------------------------------------------

// One running dialog; it lives on the stack of RunFileDialog, the window points to it.
struct DialogState {
    explicit DialogState(const DialogSetup& setup) : Setup(setup) {}
    const DialogSetup& Setup;
    std::string Folder;
    std::vector<FolderEntry> Entries; // in the order of the file list's items
    std::size_t FilterIndex = 0;
    HWND FolderText = nullptr;
    HWND FileList = nullptr;
    HWND FileName = nullptr;
    HWND FilterList = nullptr;
    HWND OkButton = nullptr;
    HWND CancelButton = nullptr;
    bool Done = false;
    DialogOutcome Outcome;
};

DialogState* StateOf(HWND dialog) {
    return reinterpret_cast<DialogState*>(GetWindowLongPtrA(dialog, 0));
}

std::string TextOf(HWND window) {
    std::string text(static_cast<std::size_t>(std::max(GetWindowTextLengthA(window), 0)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        std::max(GetWindowTextA(window, text.data(), static_cast<int>(text.size())), 0)));
    return text;
}

void Finish(DialogState& state, bool accepted, Selection chosen = {}) {
    state.Done = true;
    state.Outcome.Accepted = accepted;
    state.Outcome.Chosen = std::move(chosen);
    state.Outcome.FilterIndex = state.FilterIndex;
}

// ---------------------------------------------------------------------------------------
// 2. Layout and creation
// ---------------------------------------------------------------------------------------

constexpr int margin = 10;
constexpr int clientWidth = 460;
constexpr int labelWidth = 80;
constexpr int labelHeight = 20;
constexpr int buttonWidth = 80;
constexpr int rowHeight = 24;
constexpr int gap = 8;
constexpr int listTop = margin + labelHeight + gap;
constexpr int listHeight = 200;
constexpr int nameTop = listTop + listHeight + gap;
constexpr int filterTop = nameTop + rowHeight + gap;
constexpr int fieldLeft = margin + labelWidth;
constexpr int buttonLeft = clientWidth - margin - buttonWidth;
constexpr int fieldWidth = buttonLeft - gap - fieldLeft;
constexpr int listEdge = 4;           // the sunken edge, both sides together
constexpr std::size_t filterRows = 3; // most filter pairs shown without scrolling

constexpr DWORD dialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD dialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

LRESULT CALLBACK DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DialogChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam);

// The procedure of the system class the control belongs to, under the dialog's own.
WNDPROC ClassProcOf(HWND control) {
    char name[32] = {};
    WNDCLASSA wndClass{};
    if (GetClassNameA(control, name, sizeof name) == 0 ||
        !GetClassInfoA(nullptr, name, &wndClass)) {
        return nullptr;
    }
    return wndClass.lpfnWndProc;
}

HWND AddControl(HWND dialog, DWORD exStyle, const char* className, const char* text, DWORD style,
                RECT place, int id) {
    const HWND control = CreateWindowExA(
        exStyle, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
        place.right - place.left, place.bottom - place.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    if (control != nullptr && (style & WS_TABSTOP) != 0) {
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogChildProc));
    }
    return control;
}

void AddLabel(HWND dialog, const char* text, int top) {
    AddControl(dialog, 0, "STATIC", text, SS_LEFT | SS_NOPREFIX,
               {margin, top + 4, margin + labelWidth, top + 4 + labelHeight}, -1);
}

// A list box as tall as its rows, up to filterRows of them.
int FilterListHeight(HWND list, std::size_t pairs) {
    const LRESULT itemHeight = SendMessageA(list, LB_GETITEMHEIGHT, 0, 0);
    const int rows = static_cast<int>(std::min(pairs, filterRows));
    return itemHeight > 0 ? rows * static_cast<int>(itemHeight) + listEdge : rowHeight;
}

// The filter row: a list box to choose among several pairs, the name of a single one, or
// nothing without pairs. Answers the row's height.
int AddFilterRow(HWND dialog, DialogState& state) {
    const std::vector<FilterPair>& filters = state.Setup.Filters;
    if (filters.empty()) {
        return rowHeight;
    }
    AddLabel(dialog, "File type:", filterTop);
    if (filters.size() == 1) {
        AddControl(dialog, 0, "STATIC", filters.front().Name.c_str(),
                   SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                   {fieldLeft, filterTop + 4, fieldLeft + fieldWidth, filterTop + 4 + labelHeight},
                   FilterTextId);
        return rowHeight;
    }
    state.FilterList = AddControl(
        dialog, WS_EX_CLIENTEDGE, "LISTBOX", "",
        WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
        {fieldLeft, filterTop, fieldLeft + fieldWidth, filterTop + rowHeight}, FilterListId);
    if (state.FilterList == nullptr) {
        return rowHeight;
    }
    for (const FilterPair& pair : filters) {
        SendMessageA(state.FilterList, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(pair.Name.c_str()));
    }
    SendMessageA(state.FilterList, LB_SETCURSEL, state.FilterIndex, 0);
    const int height = FilterListHeight(state.FilterList, filters.size());
    MoveWindow(state.FilterList, fieldLeft, filterTop, fieldWidth, height, TRUE);
    return std::max(height, rowHeight);
}

// Answers the height of the client area.
int AddControls(HWND dialog, DialogState& state) {
    const DialogSetup& setup = state.Setup;
    AddLabel(dialog, "Folder:", margin - 4);
    state.FolderText =
        AddControl(dialog, 0, "STATIC", "", SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                   {fieldLeft, margin, clientWidth - margin, margin + labelHeight}, FolderTextId);
    const DWORD selection = setup.Multiple ? LBS_EXTENDEDSEL : 0;
    state.FileList =
        AddControl(dialog, WS_EX_CLIENTEDGE, "LISTBOX", "",
                   WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | selection,
                   {margin, listTop, clientWidth - margin, listTop + listHeight}, FileListId);
    AddLabel(dialog, "File name:", nameTop);
    state.FileName = AddControl(
        dialog, WS_EX_CLIENTEDGE, "EDIT", setup.FileName.c_str(), WS_TABSTOP | ES_AUTOHSCROLL,
        {fieldLeft, nameTop, fieldLeft + fieldWidth, nameTop + rowHeight}, FileNameId);
    state.OkButton = AddControl(
        dialog, 0, "BUTTON", setup.OpenDialog ? "Open" : "Save", WS_TABSTOP | BS_DEFPUSHBUTTON,
        {buttonLeft, nameTop, buttonLeft + buttonWidth, nameTop + rowHeight}, IDOK);
    const int filterHeight = AddFilterRow(dialog, state);
    state.CancelButton = AddControl(
        dialog, 0, "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON,
        {buttonLeft, filterTop, buttonLeft + buttonWidth, filterTop + rowHeight}, IDCANCEL);
    return filterTop + filterHeight + margin;
}

// Centred on the owner, or on the screen when there is none.
POINT PlaceDialog(HWND owner, SIZE outer) {
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner != nullptr) {
        GetWindowRect(owner, &around);
    }
    return {around.left + (around.right - around.left - outer.cx) / 2,
            around.top + (around.bottom - around.top - outer.cy) / 2};
}

void ShowFolder(DialogState& state, const std::string& folder);

HWND MakeDialog(DialogState& state) {
    const DialogSetup& setup = state.Setup;
    if (!EnsureModalClass(DialogClassName, &DialogWindowProc)) {
        return nullptr;
    }
    const HWND dialog = CreateWindowExA(dialogExStyle, DialogClassName, setup.Title.c_str(),
                                        dialogStyle, 0, 0, clientWidth, clientWidth, setup.Owner,
                                        nullptr, GetModuleHandleA(nullptr), &state);
    if (dialog == nullptr) {
        return nullptr;
    }
    RECT outer{0, 0, clientWidth, AddControls(dialog, state)};
    if (state.FileList == nullptr || state.FileName == nullptr || state.OkButton == nullptr ||
        state.CancelButton == nullptr) {
        DestroyWindow(dialog);
        return nullptr;
    }
    AdjustWindowRectEx(&outer, dialogStyle, FALSE, dialogExStyle);
    const SIZE size{outer.right - outer.left, outer.bottom - outer.top};
    const POINT at = PlaceDialog(setup.Owner, size);
    MoveWindow(dialog, at.x, at.y, size.cx, size.cy, FALSE);
    ShowFolder(state, state.Folder);
    ShowWindow(dialog, SW_SHOWNORMAL);
    SetForegroundWindow(dialog);
    SetFocus(state.FileName);
    SendMessageA(state.FileName, EM_SETSEL, 0, -1);
    return dialog;
}

// ---------------------------------------------------------------------------------------
// 3. The folder shown
// ---------------------------------------------------------------------------------------

std::string_view CurrentPatterns(const DialogState& state) {
    const std::vector<FilterPair>& filters = state.Setup.Filters;
    return state.FilterIndex < filters.size()
               ? std::string_view(filters[state.FilterIndex].Patterns)
               : std::string_view();
}

// Folders show in brackets, files by their name.
std::string ItemText(const FolderEntry& entry) {
    return entry.IsFolder ? "[" + entry.Name + "]" : entry.Name;
}

void ShowFolder(DialogState& state, const std::string& folder) {
    state.Folder = folder;
    state.Entries = ListFolder(folder, CurrentPatterns(state));
    SetWindowTextA(state.FolderText, folder.c_str());
    SendMessageA(state.FileList, LB_RESETCONTENT, 0, 0);
    for (const FolderEntry& entry : state.Entries) {
        SendMessageA(state.FileList, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(ItemText(entry).c_str()));
    }
}

void OpenFolder(DialogState& state, const std::string& folder) {
    ShowFolder(state, folder);
    SetWindowTextA(state.FileName, "");
}

const FolderEntry* CurrentEntry(const DialogState& state) {
    const LRESULT current = state.Setup.Multiple
                                ? SendMessageA(state.FileList, LB_GETCARETINDEX, 0, 0)
                                : SendMessageA(state.FileList, LB_GETCURSEL, 0, 0);
    if (current < 0 || static_cast<std::size_t>(current) >= state.Entries.size()) {
        return nullptr;
    }
    return &state.Entries[static_cast<std::size_t>(current)];
}

std::vector<std::size_t> SelectedItems(const DialogState& state) {
    std::vector<std::size_t> items;
    if (!state.Setup.Multiple) {
        const LRESULT current = SendMessageA(state.FileList, LB_GETCURSEL, 0, 0);
        if (current >= 0) {
            items.push_back(static_cast<std::size_t>(current));
        }
        return items;
    }
    const LRESULT count = SendMessageA(state.FileList, LB_GETSELCOUNT, 0, 0);
    if (count <= 0) {
        return items;
    }
    std::vector<int> selected(static_cast<std::size_t>(count));
    const LRESULT got = SendMessageA(state.FileList, LB_GETSELITEMS, selected.size(),
                                     reinterpret_cast<LPARAM>(selected.data()));
    for (LRESULT i = 0; i < got; ++i) {
        items.push_back(static_cast<std::size_t>(selected[static_cast<std::size_t>(i)]));
    }
    return items;
}

// The file-name field follows the files selected in the list: one name as it is, several in
// quotes. Selected folders leave it alone.
void TakeSelectedFiles(DialogState& state) {
    std::vector<std::string> names;
    for (const std::size_t item : SelectedItems(state)) {
        if (item < state.Entries.size() && !state.Entries[item].IsFolder) {
            names.push_back(state.Entries[item].Name);
        }
    }
    if (names.empty()) {
        return;
    }
    std::string text = names.size() == 1 ? names.front() : std::string();
    if (names.size() > 1) {
        for (const std::string& name : names) {
            text += (text.empty() ? "\"" : " \"") + name + "\"";
        }
    }
    SetWindowTextA(state.FileName, text.c_str());
}

// ---------------------------------------------------------------------------------------
// 4. Accepting
// ---------------------------------------------------------------------------------------

void Tell(HWND dialog, const DialogState& state, const std::string& text) {
    MessageBoxA(dialog, text.c_str(), state.Setup.Title.c_str(), MB_OK | MB_ICONWARNING);
}

bool Refused(HWND dialog, const DialogState& state, const Selection& selection) {
    const Refusal refusal = CheckSelection(selection, state.Setup.Flags, state.Setup.OpenDialog);
    switch (refusal.Why) {
    case Refusal::Kind::MissingFolder:
        Tell(dialog, state, "The folder\n" + refusal.Path + "\ndoes not exist.");
        return true;
    case Refusal::Kind::MissingFile:
        Tell(dialog, state, "The file\n" + refusal.Path + "\ndoes not exist.");
        return true;
    default:
        return false;
    }
}

bool OverwriteDeclined(HWND dialog, const DialogState& state, const Selection& selection) {
    if (!MustConfirmOverwrite(selection, state.Setup.Flags, state.Setup.OpenDialog)) {
        return false;
    }
    const std::string text =
        JoinPath(selection.Folder, selection.Names.front()) + "\nexists already. Replace it?";
    return MessageBoxA(dialog, text.c_str(), state.Setup.Title.c_str(),
                       MB_YESNO | MB_ICONWARNING) != IDYES;
}

// OK, Enter or a double click on a file: open the folder the field names, or accept the files
// it names once they pass the checks.
void Accept(HWND dialog, DialogState& state) {
    const std::string typed = TextOf(state.FileName);
    const TypedChoice choice =
        InterpretTyped(typed, state.Folder, state.Setup.Multiple, state.Setup.DefaultExtension);
    switch (choice.What) {
    case TypedChoice::Kind::OpenFolder:
        OpenFolder(state, choice.Folder);
        return;
    case TypedChoice::Kind::Invalid:
        Tell(dialog, state, typed + "\nis not a valid file name here.");
        return;
    case TypedChoice::Kind::Select:
        if (!Refused(dialog, state, choice.Chosen) &&
            !OverwriteDeclined(dialog, state, choice.Chosen)) {
            Finish(state, true, choice.Chosen);
        }
        return;
    default:
        return;
    }
}

// A folder entry opens; a file entry is accepted.
void Activate(HWND dialog, DialogState& state, const FolderEntry& entry) {
    if (entry.IsFolder) {
        OpenFolder(state, JoinPath(state.Folder, entry.Name));
        return;
    }
    TakeSelectedFiles(state);
    Accept(dialog, state);
}

// ---------------------------------------------------------------------------------------
// 5. Keys and notifications
// ---------------------------------------------------------------------------------------

void OnEnter(HWND dialog, DialogState& state, HWND from) {
    if (from == state.CancelButton) {
        Finish(state, false);
        return;
    }
    if (from == state.FileList) {
        if (const FolderEntry* entry = CurrentEntry(state); entry != nullptr && entry->IsFolder) {
            const FolderEntry chosen = *entry;
            Activate(dialog, state, chosen);
            return;
        }
    }
    Accept(dialog, state);
}

void MoveFocus(const DialogState& state, HWND from, bool backwards) {
    std::vector<HWND> order{state.FileName, state.FileList};
    if (state.FilterList != nullptr) {
        order.push_back(state.FilterList);
    }
    order.push_back(state.OkButton);
    order.push_back(state.CancelButton);
    const auto at = std::find(order.begin(), order.end(), from);
    const std::size_t index = at == order.end() ? 0 : std::size_t(at - order.begin());
    const std::size_t count = order.size();
    SetFocus(order[backwards ? (index + count - 1) % count : (index + 1) % count]);
}

// Enter, Escape and Tab belong to the dialog whichever of its controls has the focus. Answers
// whether the key was used.
bool HandleKey(HWND dialog, DialogState& state, HWND from, WPARAM key) {
    switch (key) {
    case VK_RETURN:
        OnEnter(dialog, state, from);
        return true;
    case VK_ESCAPE:
        Finish(state, false);
        return true;
    case VK_TAB:
        MoveFocus(state, from, GetKeyState(VK_SHIFT) < 0);
        return true;
    default:
        return false;
    }
}

bool IsDialogChar(WPARAM code) {
    return code == '\r' || code == '\t' || code == 0x1B;
}

LRESULT CALLBACK DialogChildProc(HWND child, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC classProc = ClassProcOf(child);
    const HWND dialog = GetParent(child);
    DialogState* state = StateOf(dialog);
    if (state != nullptr && !state->Done) {
        if (message == WM_KEYDOWN && HandleKey(dialog, *state, child, wParam)) {
            return 0;
        }
        if (message == WM_CHAR && IsDialogChar(wParam)) {
            return 0;
        }
    }
    return classProc != nullptr ? CallWindowProcA(classProc, child, message, wParam, lParam)
                                : DefWindowProcA(child, message, wParam, lParam);
}

void OnFileListNotification(HWND dialog, DialogState& state, int code) {
    if (code == LBN_SELCHANGE) {
        TakeSelectedFiles(state);
    } else if (code == LBN_DBLCLK) {
        if (const FolderEntry* entry = CurrentEntry(state)) {
            const FolderEntry chosen = *entry;
            Activate(dialog, state, chosen);
        }
    }
}

void OnFilterChosen(DialogState& state) {
    const LRESULT current = SendMessageA(state.FilterList, LB_GETCURSEL, 0, 0);
    if (current >= 0 && static_cast<std::size_t>(current) < state.Setup.Filters.size()) {
        state.FilterIndex = static_cast<std::size_t>(current);
        ShowFolder(state, state.Folder);
    }
}

void OnCommand(HWND dialog, DialogState& state, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDOK && code == BN_CLICKED) {
        Accept(dialog, state);
    } else if (id == IDCANCEL && code == BN_CLICKED) {
        Finish(state, false);
    } else if (id == FileListId) {
        OnFileListNotification(dialog, state, code);
    } else if (id == FilterListId && code == LBN_SELCHANGE) {
        OnFilterChosen(state);
    }
}

LRESULT CALLBACK DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(dialog, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    DialogState* state = StateOf(dialog);
    if (state == nullptr || state->Done) {
        return DefWindowProcA(dialog, message, wParam, lParam);
    }
    switch (message) {
    case WM_COMMAND:
        OnCommand(dialog, *state, wParam);
        return 0;
    case WM_CLOSE:
        Finish(*state, false);
        return 0;
    case WM_SETFOCUS:
        // The dialog itself never keeps the focus: it goes on to the file-name field.
        if (state->FileName != nullptr) {
            SetFocus(state->FileName);
        }
        return 0;
    case WM_KEYDOWN:
        if (HandleKey(dialog, *state, dialog, wParam)) {
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(dialog, message, wParam, lParam);
}

} // namespace

DialogOutcome RunFileDialog(const DialogSetup& setup) {
    DialogState state{setup};
    state.Folder = setup.Folder;
    state.FilterIndex = setup.FilterIndex;
    const HWND previousFocus = GetFocus();
    const HWND owner = setup.Owner;
    const bool ownerWasEnabled = owner != nullptr && !EnableWindow(owner, FALSE);
    const HWND dialog = MakeDialog(state);
    if (dialog != nullptr) {
        // A WM_QUIT or the dialog destroyed by someone else cancels it.
        if (!RunModalLoop(dialog, [&state] { return state.Done; })) {
            Finish(state, false);
        }
    } else {
        state.Outcome.Failed = true;
    }
    // The owner is enabled again before the dialog goes, so that it can take the activation
    // back.
    if (ownerWasEnabled && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
    }
    if (IsWindow(dialog)) {
        SetWindowLongPtrA(dialog, 0, 0);
        DestroyWindow(dialog);
    }
    if (owner != nullptr && IsWindow(owner)) {
        SetActiveWindow(owner);
    }
    if (previousFocus != nullptr && IsWindow(previousFocus)) {
        SetFocus(previousFocus);
    }
    return state.Outcome;
}

} // namespace posix::comdlg
