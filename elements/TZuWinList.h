#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "elements/TZuWin.h"

class TStrList;

// Base of the list-like window elements: adding, clearing, loading from and saving to a
// text file (one item per line), and reading the current item or all items. It works on its
// control through the kind-neutral list operations only.
class TZuWinList : public TZuWin {
public:
    explicit TZuWinList(TControl* parentControl);

    // Replaces the items with the lines of text.
    virtual void SetItemsText(std::string_view text);
    virtual void AppendItem(std::string_view item);
    // Input: removes every item, then fires OnChange.
    virtual void Clear(TData& value, std::uint16_t index);
    // Data point: every item followed by CR LF.
    virtual void ItemsText(TData& value, std::uint16_t index);

    // Input: adds the text pulled from ItemText (or the value received) at the end, or at the
    // top with InsertAtTop, then fires OnChange.
    void Add(TData& value, std::uint16_t index);
    // Input: replaces the items with the lines of the named file and fires OnChange. A name
    // that is no existing file, or a file that cannot be read, changes nothing and fires
    // nothing.
    void Load(TData& value, std::uint16_t index);
    // Input: writes every item to the named file, one per line.
    void Save(TData& value, std::uint16_t index);
    // Data point: the text of the current item, empty when there is none.
    void CurrentItem(TData& value, std::uint16_t index);

    TStrList* WorkList = nullptr; // exists only while Save or ItemsText runs
    std::string DefaultFileName;  // file of Load and Save while FileName is unbound
    bool InsertAtTop = false;     // Add inserts at index 0
    bool SelectAdded = false;     // Add makes the new item the current one
    TZu_Event FileName;           // data point: file of Load and Save
    TZu_Event ItemText;           // data point: text of Add
    TZu_Event OnChange;           // output: the items changed, no value

private:
    // The items, in order, in WorkList; the caller frees it.
    void FillWorkList();
    std::string PullFileName(TData& value);
};
