#include "elements/TZuWin.h"

#include "toolkit/ControlTools.h"
#include "toolkit/Navigation.h"
#include "toolkit/TControl.h"
#include "toolkit/TGraphicTool.h"
#include "toolkit/TList.h"
#include "toolkit/TNyHint.h"
#include "toolkit/TNyToolTipManager.h"
#include "toolkit/WindowProc.h"

namespace {

constexpr DWORD FlatButtonStyle = 0x8000; // BS_FLAT
constexpr std::uint8_t FontHeightOverSize = 6;

// Trampolines from the control's bound events to the element's (possibly overridden) routines.
void KeyDownRoutine(void* element, TObj* sender, std::uint32_t& key, std::uint32_t shift) {
    static_cast<TZuWin*>(element)->DoKeyDown(sender, key, shift);
}

void KeyUpRoutine(void* element, TObj* sender, std::uint32_t& key, std::uint32_t shift) {
    static_cast<TZuWin*>(element)->DoKeyUp(sender, key, shift);
}

void MouseDownRoutine(void* element, TObj* sender, MouseEventData& mouse) {
    static_cast<TZuWin*>(element)->DoMouseDown(sender, mouse);
}

void MouseMoveRoutine(void* element, TObj* sender, MouseEventData& mouse) {
    static_cast<TZuWin*>(element)->DoMouseMove(sender, mouse);
}

void MouseUpRoutine(void* element, TObj* sender, MouseEventData& mouse) {
    static_cast<TZuWin*>(element)->DoMouseUp(sender, mouse);
}

void DblClickRoutine(void* element, TObj* sender, MouseEventData& mouse) {
    static_cast<TZuWin*>(element)->DoDblClick(sender, mouse);
}

bool MessageRoutine(void* element, TObj* sender, WindowMessage& message, LRESULT& result) {
    return static_cast<TZuWin*>(element)->DoMessage(sender, message, result);
}

void ControlDestroyed(void* element, TObj*) {
    static_cast<TZuWin*>(element)->Control = nullptr;
}

// Only the exact single-button states count; a button held with a modifier key gives -1.
std::int32_t HeldButton(std::uint32_t shift) {
    switch (shift) {
    case MK_LBUTTON:
        return 0;
    case MK_RBUTTON:
        return 1;
    case MK_MBUTTON:
        return 2;
    default:
        return -1;
    }
}

std::int32_t ButtonNumber(const MouseEventData& mouse) {
    return static_cast<std::int32_t>(mouse.Button) - 1;
}

void ApplyFontRec(TControl* control, const TFontRec& font) {
    TGraphicTool* tool = ControlFont(control);
    SetToolColor(tool, font.FontColor);
    SetFontStyle(tool, font.FontStyle);
    SetFontName(tool, font.FontName);
    SetToolField(tool, FontHeightOffset, font.FontSize + std::uint32_t{FontHeightOverSize});
    SetFontCharset(tool, font.FontCharset);
}

} // namespace

TZuWin::TZuWin(TControl* parentControl) : ParentControl(parentControl) {}

TZuWin::~TZuWin() {
    if (HintObject != nullptr) {
        // The tool can only be found through a control that still exists.
        if (Control != nullptr && ToolTipManager != nullptr) {
            RemoveHint(HintObject);
        }
        Free(HintObject);
    }
    if (Control != nullptr) {
        // The control must not report back to an element that is going away.
        Control->DestroyNotify = TCallback{};
        Free(Control);
    }
}

void TZuWin::BindControlEvents() {
    TControl* c = Control;
    PreviousMessageEvent = c->MessageEvent;
    c->SetMouseDownEvent({&MouseDownRoutine, this});
    c->SetMouseMoveEvent({&MouseMoveRoutine, this});
    c->SetMouseUpEvent({&MouseUpRoutine, this});
    c->SetMouseDblClickEvent({&DblClickRoutine, this});
    c->MessageEvent = {&MessageRoutine, this};
    c->SetKeyDownEvent({&KeyDownRoutine, this});
    c->SetKeyUpEvent({&KeyUpRoutine, this});
}

void TZuWin::WatchControlDestruction() {
    Control->DestroyNotify = {&ControlDestroyed, this};
}

void TZuWin::DetachControl() {
    TControl* c = Control;
    if (c == nullptr) {
        return;
    }
    c->MessageEvent = PreviousMessageEvent;
    c->MouseDownEvent = TMouseEvent{};
    c->MouseMoveEvent = TMouseEvent{};
    c->MouseUpEvent = TMouseEvent{};
    c->MouseDblClickEvent = TMouseEvent{};
    c->KeyDownEvent = TKeyEvent{};
    c->KeyUpEvent = TKeyEvent{};
    c->DestroyNotify = TCallback{};
    Control = nullptr;
}

void TZuWin::Init() {
    if (Control == nullptr) {
        return;
    }
    TControl* c = Control;
    BindControlEvents();
    WatchControlDestruction();

    c->SetPosition(Left, Top);
    c->SetSize(Width, Height);
    c->SetAlign(Align);
    c->SetColor(Color);
    c->SetCtl3D(!Flat);
    c->SetTransparent(Transparent);
    c->SetEnabled(Enabled);
    c->SetVisible(Visible);
    c->SetCursor(Cursor);
    if (FlatStyle) {
        c->SetStyle(c->Style | FlatButtonStyle);
    }

    if (ParentFont) {
        if (c->Parent != nullptr) {
            AssignTool(ControlFont(c), ControlFont(c->Parent));
        }
    } else {
        ApplyFontRec(c, Font);
    }

    if (TabOrder > 0) {
        c->SetStyle(c->Style | WS_TABSTOP);
        c->NavigationKeys = NavTab; // only Tab moves the focus away
        c->SetTabOrder(TabOrder);
    }
    c->SendToBack();

    if (!Hint.empty()) {
        RequireToolTipManager();
        if (HintObject == nullptr) {
            HintObject = NewHint(c);
        }
        SetHintText(HintObject, Hint);
    }
}

void TZuWin::DoKeyDown(TObj*, std::uint32_t& key, std::uint32_t) {
    FireInteger(OnKeyDown, static_cast<std::int32_t>(key));
}

void TZuWin::DoKeyUp(TObj*, std::uint32_t& key, std::uint32_t) {
    FireInteger(OnKeyUp, static_cast<std::int32_t>(key));
}

void TZuWin::DoMouseDown(TObj*, MouseEventData& mouse) {
    LastMouse = mouse;
    FireInteger(OnMouseDown, ButtonNumber(mouse));
    // A receiver may have destroyed the control.
    if (MouseCapture && Control != nullptr) {
        ReleaseCapture();
        SetCapture(Control->Handle);
    }
}

void TZuWin::DoMouseMove(TObj*, MouseEventData& mouse) {
    const std::int32_t held = HeldButton(LastMouse.Shift);
    LastMouse = mouse;
    FireInteger(OnMouseMove, held);
}

void TZuWin::DoMouseUp(TObj*, MouseEventData& mouse) {
    LastMouse = mouse;
    FireInteger(OnMouseUp, ButtonNumber(mouse));
    if (MouseCapture) {
        ReleaseCapture();
    }
}

void TZuWin::DoDblClick(TObj*, MouseEventData&) {
    FireNone(OnDblClick);
}

bool TZuWin::DoMessage(TObj* sender, WindowMessage& message, LRESULT& result) {
    if (message.Msg == WM_SETFOCUS) {
        FireNone(OnEnter);
    } else if (message.Msg == WM_KILLFOCUS) {
        FireNone(OnExit);
    }
    if (PreviousMessageEvent.IsSet()) {
        return PreviousMessageEvent.Call(sender, message, result);
    }
    return false;
}

HWND OwnerWindow() {
    if (MainControl == nullptr) {
        return nullptr;
    }
    if (MainControl->LastFocused != nullptr) {
        return MainControl->LastFocused->Handle;
    }
    TList* children = MainControl->Children;
    auto* first = children != nullptr ? static_cast<TControl*>(children->Get(0)) : nullptr;
    return first != nullptr ? first->Handle : nullptr;
}
