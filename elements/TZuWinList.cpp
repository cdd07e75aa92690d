#include "elements/TZuWinList.h"

#include "toolkit/FileIO.h"
#include "toolkit/TControl.h"
#include "toolkit/TStrList.h"

TZuWinList::TZuWinList(TControl* parentControl) : TZuWin(parentControl) {}

void TZuWinList::SetItemsText(std::string_view text) {
    if (Control == nullptr) {
        return;
    }
    TStrList* lines = CreateStrList();
    lines->SetAllText(text);
    Control->ClearItems();
    for (std::int32_t i = 0; i < lines->Count(); ++i) {
        Control->AddItem(lines->Item(i));
    }
    Free(lines);
}

void TZuWinList::AppendItem(std::string_view item) {
    if (Control != nullptr) {
        Control->AddItem(item);
    }
}

void TZuWinList::Clear(TData&, std::uint16_t) {
    if (Control == nullptr) {
        return;
    }
    Control->ClearItems();
    FireNone(OnChange);
}

void TZuWinList::FillWorkList() {
    WorkList = CreateStrList();
    const std::int32_t count = Control->ItemCount();
    for (std::int32_t i = 0; i < count; ++i) {
        WorkList->Add(Control->ItemAt(i));
    }
}

void TZuWinList::ItemsText(TData& value, std::uint16_t) {
    std::string text;
    if (Control != nullptr) {
        FillWorkList();
        text = WorkList->AllText();
        Free(WorkList);
        WorkList = nullptr;
    }
    value.Tag = TagString;
    value.StrValue = std::move(text);
}

void TZuWinList::Add(TData& value, std::uint16_t) {
    const std::string item = PullString(value, ItemText, {});
    if (Control == nullptr) {
        return;
    }
    if (!InsertAtTop) {
        AppendItem(item);
        if (SelectAdded) {
            Control->SetCurrentIndex(Control->ItemCount() - 1);
        }
    } else {
        if (Control->InsertItem(0, item) == -1) {
            // A kind that cannot insert keeps its lines as one text.
            Control->AssignText(item + "\r\n" + Control->WindowText());
        }
        if (SelectAdded) {
            Control->SetCurrentIndex(0);
        }
    }
    FireNone(OnChange);
}

std::string TZuWinList::PullFileName(TData& value) {
    return PullString(value, FileName, DefaultFileName);
}

void TZuWinList::Load(TData& value, std::uint16_t) {
    const std::string name = PullFileName(value);
    if (Control == nullptr || !IsExistingFile(name.c_str())) {
        return;
    }
    // The file is read before anything changes, so a playlist that cannot be read leaves the
    // list as it was.
    TStrList* lines = CreateStrList();
    const bool read = lines->LoadLines(name.c_str());
    if (read) {
        Control->ClearItems();
        if (lines->Count() > 0) {
            SetItemsText(lines->AllText());
        }
    }
    Free(lines);
    if (read) {
        FireNone(OnChange);
    }
}

void TZuWinList::Save(TData& value, std::uint16_t) {
    const std::string name = PullFileName(value);
    if (Control == nullptr) {
        return;
    }
    FillWorkList();
    WorkList->SaveLines(name.c_str());
    Free(WorkList);
    WorkList = nullptr;
}

void TZuWinList::CurrentItem(TData& value, std::uint16_t) {
    std::string text;
    if (Control != nullptr) {
        const std::int32_t index = Control->CurrentIndex();
        if (index >= 0) {
            text = Control->ItemAt(index);
        }
    }
    value.Tag = TagString;
    value.StrValue = std::move(text);
}
