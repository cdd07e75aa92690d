#pragma once

#include <cstdint>
#include <string>

#include "core/TZu_Event.h"
#include "elements/TZuWinList.h"

// The list box element. Its control is made by Init, so it is the last child added to its
// parent; a selection the user makes fires OnSelect, one made by the program does not.
class TZuListBox : public TZuWinList {
public:
    explicit TZuListBox(TControl* parentControl);

    // Makes the list box control, applies the window element properties and fills in
    // Strings.
    void Init() override;
    // Fires OnSelect with the current item's text (SelectOutput 1) or its index.
    void SelectionChanged();

    std::uint8_t SelectOutput = 0; // 1: OnSelect carries the item text, else the index
    std::string Strings;           // initial items, one per line
    bool Sort = false;             // sorted list box
    bool MultiSelect = false;      // several items may be selected
    TZu_Event OnSelect;            // output: the user changed the current item
};
