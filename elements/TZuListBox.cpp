#include "elements/TZuListBox.h"

#include "toolkit/TControl.h"
#include "toolkit/WindowProc.h"

namespace {

// List box option bits of MakeListBoxControl.
constexpr std::uint32_t PlainListOptions = 0x12; // no extended selection, no integral height
constexpr std::uint32_t SortOption = 0x40;
constexpr std::uint32_t MultiSelectOption = 0x08;
constexpr WPARAM ScrollableWidth = 200;

void SelectionRoutine(void* element, TObj*) {
    static_cast<TZuListBox*>(element)->SelectionChanged();
}

} // namespace

TZuListBox::TZuListBox(TControl* parentControl) : TZuWinList(parentControl) {}

void TZuListBox::Init() {
    if (Control == nullptr) {
        std::uint32_t options = PlainListOptions;
        if (Sort) {
            options |= SortOption;
        }
        if (MultiSelect) {
            options |= MultiSelectOption;
        }
        Control = MakeListBoxControl(ParentControl, options);
        Control->SelChangeEvent = {&SelectionRoutine, this};
    }
    TZuWin::Init();
    SetItemsText(Strings);
    if (Control != nullptr) {
        SendToControl(Control, LB_SETHORIZONTALEXTENT, ScrollableWidth, 0);
    }
}

void TZuListBox::SelectionChanged() {
    if (Control == nullptr) {
        return;
    }
    const std::int32_t index = Control->CurrentIndex();
    if (SelectOutput == 1) {
        FireString(OnSelect, Control->ItemAt(index));
    } else {
        FireInteger(OnSelect, index);
    }
}
