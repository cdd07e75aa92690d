#include "elements/TZuButton.h"

#include "toolkit/TControl.h"

namespace {

void ClickRoutine(void* element, TObj*) {
    static_cast<TZuButton*>(element)->Click();
}

} // namespace

TZuButton::TZuButton(TControl* parentControl) : TZuWin(parentControl) {
    Control = MakeButtonControl(parentControl, "Push");
    Control->ClickEvent = {&ClickRoutine, this};
    Flat = false;
}

void TZuButton::SetCaption(std::string_view caption) {
    if (Control != nullptr) {
        Control->AssignText(caption);
    }
}

void TZuButton::Click() {
    TData copy = Data;
    Dispatch(OnClick, copy);
}
