#include "elements/TZuLabel.h"

#include "toolkit/ControlTools.h"
#include "toolkit/TControl.h"
#include "toolkit/TGraphicTool.h"

namespace {

TZuLabel* LabelOf(void* element) {
    return static_cast<TZuLabel*>(element);
}

void ClickRoutine(void* element, TObj*) {
    FireNone(LabelOf(element)->OnClick);
}

void HoverOnRoutine(void* element, TObj*) {
    LabelOf(element)->HoverOn();
}

void HoverOffRoutine(void* element, TObj*) {
    LabelOf(element)->HoverOff();
}

void SetUnderline(TControl* control, bool on) {
    TGraphicTool* font = ControlFont(control);
    const std::uint8_t style = GetFontStyle(font);
    const std::uint8_t changed = on ? (style | FontStyleUnderline) : (style & ~FontStyleUnderline);
    SetFontStyle(font, changed);
}

} // namespace

TZuLabel::TZuLabel(TControl* parentControl) : TZuWin(parentControl) {
    Control = MakeLabelControl(parentControl, {});
    Control->ClickEvent = {&ClickRoutine, this};
    Control->SetMouseEnterEvent({&HoverOnRoutine, this});
    Control->SetMouseLeaveEvent({&HoverOffRoutine, this});
}

void TZuLabel::Init() {
    TZuWin::Init();
    if (Control != nullptr) {
        Control->AssignText(Caption);
    }
}

void TZuLabel::SetAutoSize(bool on) {
    if (Control != nullptr) {
        Control->SetAutoSize(on);
    }
}

void TZuLabel::SetAlignment(std::uint8_t alignment) {
    if (Control != nullptr) {
        Control->SetTextAlign(alignment);
    }
}

void TZuLabel::SetText(TData& value, std::uint16_t) {
    const std::string text = PullString(value, Text, {});
    if (Control != nullptr) {
        Control->AssignText(text);
    }
}

void TZuLabel::HoverOn() {
    if (Control == nullptr) {
        return;
    }
    if (HoverColor != 0) {
        SetToolColor(ControlFont(Control), HoverColor);
    }
    if (HoverCursor != nullptr) {
        Control->SetCursor(HoverCursor);
    }
    if (HoverUnderline) {
        SetUnderline(Control, true);
    }
}

void TZuLabel::HoverOff() {
    if (Control == nullptr) {
        return;
    }
    if (HoverColor != 0) {
        SetToolColor(ControlFont(Control), Font.FontColor);
    }
    if (HoverCursor != nullptr) {
        Control->SetCursor(nullptr);
    }
    if (HoverUnderline) {
        SetUnderline(Control, false);
    }
}
