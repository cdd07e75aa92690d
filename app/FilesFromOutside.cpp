#include "app/FilesFromOutside.h"

#include "app/FileKind.h"
#include "app/TClassMainForm_8B54EB0.h"
#include "core/TZu_Event.h"
#include "elements/TZuListBox.h"
#include "elements/TZuMainForm.h"
#include "platform/win32.h"
#include "toolkit/TControl.h"
#include "toolkit/TStrList.h"
#include "toolkit/WindowProc.h"

namespace {

// The window property through which the drop handler finds its player.
constexpr char PlayerProperty[] = "Kestrin.Player";

constexpr UINT DropFileCount = 0xFFFFFFFF;

// Each item through the list's Add input, the last first: the list inserts at the top, so it
// then reads in the order given.
void AddToTop(TClassMainForm_8B54EB0& player, const std::vector<std::string>& items) {
    const TZu_Event add = MakeEvent<&TZuWinList::Add>(static_cast<TZuWinList*>(player.PlayList), 0);
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
        FireString(add, *item);
    }
}

void OpenPlaylist(TClassMainForm_8B54EB0& player, const std::string& path) {
    FireString(MakeEvent<&TZuWinList::Load>(static_cast<TZuWinList*>(player.PlayList), 0), path);
}

std::vector<std::string> PlaylistEntries(const std::string& path) {
    std::vector<std::string> entries;
    TStrList* lines = CreateStrList();
    if (lines->LoadLines(path.c_str())) {
        for (std::int32_t i = 0; i < lines->Count(); ++i) {
            if (std::string entry = lines->Item(i); !entry.empty()) {
                entries.push_back(std::move(entry));
            }
        }
    }
    Free(lines);
    return entries;
}

std::vector<std::string> DroppedPaths(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, DropFileCount, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::string path(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
        path.resize(DragQueryFileA(drop, i, path.data(), static_cast<UINT>(path.size())));
        if (!path.empty()) {
            paths.push_back(std::move(path));
        }
    }
    return paths;
}

bool HandleDroppedFiles(TControl* control, WindowMessage& message, LRESULT& result) {
    if (message.Msg != WM_DROPFILES) {
        return false;
    }
    const auto drop = reinterpret_cast<HDROP>(message.WParam);
    const std::vector<std::string> paths = DroppedPaths(drop);
    DragFinish(drop);
    auto* player =
        static_cast<TClassMainForm_8B54EB0*>(GetPropA(control->GetHandle(), PlayerProperty));
    if (player != nullptr) {
        AddDroppedFiles(*player, paths);
    }
    result = 0;
    return true;
}

} // namespace

bool PlayRow(TClassMainForm_8B54EB0& player, std::int32_t row) {
    TControl* list = player.PlayList->Control;
    if (list == nullptr || row < 0 || row >= list->ItemCount()) {
        return false;
    }
    list->SetCurrentIndex(row);
    player.PlayList->SelectionChanged();
    return true;
}

std::vector<std::string> OpenArguments(TClassMainForm_8B54EB0& player,
                                       const std::vector<std::string>& arguments) {
    std::vector<std::string> playable;
    std::vector<std::string> rejected;
    for (const std::string& argument : arguments) {
        switch (KindOfFile(argument)) {
        case FileKind::Playable:
            playable.push_back(argument);
            break;
        case FileKind::Playlist:
            OpenPlaylist(player, argument);
            break;
        case FileKind::Unusable:
            rejected.push_back(argument);
            break;
        }
    }
    AddToTop(player, playable);
    if (!playable.empty()) {
        PlayRow(player, 0);
    }
    return rejected;
}

void AddDroppedFiles(TClassMainForm_8B54EB0& player, const std::vector<std::string>& paths) {
    std::vector<std::string> items;
    for (const std::string& path : paths) {
        switch (KindOfFile(path)) {
        case FileKind::Playable:
            items.push_back(path);
            break;
        case FileKind::Playlist:
            for (std::string& entry : PlaylistEntries(path)) {
                items.push_back(std::move(entry));
            }
            break;
        case FileKind::Unusable:
            break;
        }
    }
    AddToTop(player, items);
}

void AcceptDroppedFiles(TClassMainForm_8B54EB0& player) {
    TControl* form = player.MainForm->Control;
    if (form == nullptr || form->GetHandle() == nullptr) {
        return;
    }
    SetPropA(form->GetHandle(), PlayerProperty, &player);
    AttachHandler(form, &HandleDroppedFiles);
    DragAcceptFiles(form->GetHandle(), TRUE);
}
