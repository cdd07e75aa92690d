#include "elements/TZuMainForm.h"

#include <iterator>
#include <string>

#include "core/TInitMan.h"
#include "toolkit/ControlTools.h"
#include "toolkit/Navigation.h"
#include "toolkit/PaintHandler.h"
#include "toolkit/TControl.h"
#include "toolkit/TGraphicTool.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

constexpr UINT MsgCreateWindow = 0x400; // WM_USER; only makes the window, nobody handles it
constexpr WPARAM CreateWindowParam = 0x21;
constexpr WPARAM MoveByCaption = 0xF012; // SC_MOVE | HTCAPTION
constexpr std::int32_t ConstructionFontHeight = -11;
constexpr const char* ConstructionFontFace = "MS Sans Serif";
constexpr DWORD ToolWindowAppExStyle = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;

// Styles removed and extended styles added by each border style.
struct BorderChange {
    DWORD Removed;
    DWORD Added;
};
constexpr DWORD NoMinMax = WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX;
constexpr BorderChange BorderChanges[] = {
    {WS_CAPTION | WS_THICKFRAME, 0},
    {WS_THICKFRAME, 0},
    {0, 0},
    {NoMinMax, WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE},
    {NoMinMax, WS_EX_TOOLWINDOW},
    {WS_MAXIMIZEBOX | WS_MINIMIZEBOX, WS_EX_TOOLWINDOW},
    {WS_CAPTION | WS_THICKFRAME, WS_EX_DLGMODALFRAME},
    {WS_CAPTION, 0},
};

TZuMainForm* FormOf(void* element) {
    return static_cast<TZuMainForm*>(element);
}

void StartUpRoutine(void* element) {
    FormOf(element)->StartUp();
}

void ShowRoutine(void* element, TObj*) {
    FormOf(element)->FirstShow();
}

void ResizeRoutine(void* element, TObj*) {
    FireNone(FormOf(element)->OnResize);
}

void PaintRoutine(void* element, TObj*, HDC dc) {
    FormOf(element)->Paint(dc);
}

TControl* FirstChild(TControl* control) {
    TList* children = control->Children;
    return children != nullptr ? static_cast<TControl*>(children->Get(0)) : nullptr;
}

// A top-level child's Visible field is refreshed from its window first.
bool ChildIsHidden(TControl* child) {
    if (!child->IsChildControl && child->Handle != nullptr) {
        child->Visible = IsWindowVisible(child->Handle) != FALSE;
    }
    return !child->Visible;
}

void DrawBitmap(HDC dc, HBITMAP bitmap) {
    BITMAP info{};
    if (GetObjectA(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) {
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    if (source == nullptr) {
        return;
    }
    HGDIOBJ previous = SelectObject(source, bitmap);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

} // namespace

TZuMainForm::TZuMainForm(TControl* parentControl) : TZuWin(parentControl) {
    if (MainControl == nullptr) {
        MainControl = MakeAppControl({});
        OwnsMainControl = true;
    }
    Control = MakeFormControl(parentControl != nullptr ? parentControl : MainControl, "Form");
    TGraphicTool* font = ControlFont(Control);
    SetFontName(font, ConstructionFontFace);
    SetToolField(font, FontHeightOffset, static_cast<std::uint32_t>(ConstructionFontHeight));
    Control->SetShowEvent({&ShowRoutine, this});
    Control->SetResizeEvent({&ResizeRoutine, this});
    WatchControlDestruction();
    Control->Border = 0;
    AddInitProc(InitManager, {&StartUpRoutine, this});
}

TZuMainForm::~TZuMainForm() {
    if (InitManager == nullptr) {
        return;
    }
    for (TInitProc& proc : InitManager->Procs) {
        if (proc.Object == this) {
            proc.Code = nullptr;
        }
    }
}

void TZuMainForm::ApplyFormFont() {
    TGraphicTool* font = ControlFont(Control);
    SetToolColor(font, Font.FontColor);
    SetFontName(font, Font.FontName);
    SetToolField(font, FontHeightOffset, Font.FontSize);
}

void TZuMainForm::Init() {
    if (Control == nullptr) {
        return;
    }
    TControl* c = Control;
    BindControlEvents();
    c->SetPosition(Left, Top);
    c->SetAlign(Align);
    c->SetColor(Color);
    ApplyFormFont();

    if (!Visible || StartHidden) {
        c->SetVisible(false);
    } else if (!OwnsMainControl) {
        // The main window is shown by the start of the message loop instead.
        c->MakeWindow();
        c->SetVisible(true);
        SetForegroundWindow(c->Handle);
        TakeFocus(c);
    }
    c->SetEnabled(Enabled);
    if (!OwnsMainControl && !HasIcon && MainControl != nullptr) {
        if (TControl* mainWindow = FirstChild(MainControl); mainWindow != nullptr) {
            c->SetIcon(mainWindow->GetIcon());
        }
    }
    SetPaintEvent(c, {&PaintRoutine, this});
    c->SetAlphaBlend(AlphaBlend);
    if (SizeIsClient) {
        c->SetClientWidth(Width);
        c->SetClientHeight(Height);
    } else {
        c->SetSize(Width, Height);
    }
    InitHook.Call();
}

void TZuMainForm::SetCaption(std::string_view caption) {
    if (Control != nullptr) {
        Control->AssignText(caption);
    }
    if (OwnsMainControl && MainControl != nullptr) {
        MainControl->AssignText(caption);
    }
}

void TZuMainForm::SetBorderStyle(std::uint8_t style) {
    if (Control == nullptr || style >= std::size(BorderChanges)) {
        return;
    }
    Control->GetHandle();
    const BorderChange& change = BorderChanges[style];
    Control->SetStyle(Control->Style & ~change.Removed);
    Control->SetExStyle(Control->ExStyle | change.Added);
}

void TZuMainForm::SetIcon(HICON icon) {
    if (Control != nullptr) {
        Control->SetIcon(icon);
    }
    if (OwnsMainControl && MainControl != nullptr) {
        MainControl->SetIcon(icon);
    }
    HasIcon = icon != nullptr;
}

void TZuMainForm::HideFromTaskbar(std::uint8_t value) {
    if (OwnsMainControl && MainControl != nullptr && value == 1) {
        MainControl->SetExStyle(ToolWindowAppExStyle);
    }
}

void TZuMainForm::SetAlphaBlend(std::uint8_t alpha) {
    if (Control != nullptr) {
        Control->SetAlphaBlend(alpha);
    }
}

void TZuMainForm::ApplyWindowState(std::uint8_t state) {
    if (Control != nullptr && (state == 1 || state == 2)) {
        Control->SetWindowState(state);
    }
}

void TZuMainForm::StartUp() {
    if (Control == nullptr) {
        return;
    }
    SendToControl(Control, MsgCreateWindow, CreateWindowParam, 0);
    FireNone(OnCreate);
    FirstShow();
    // A receiver of OnCreate or OnShow may have closed the window.
    if (Control == nullptr) {
        return;
    }
    TList* children = Control->Children;
    for (std::int32_t i = 0; children != nullptr && i < children->Count(); ++i) {
        auto* child = static_cast<TControl*>(children->Get(i));
        if (ChildIsHidden(child)) {
            child->SetVisible(false);
        }
    }
    if (!Visible) {
        Control->SetVisible(false);
    }
}

void TZuMainForm::FirstShow() {
    if (!FirstShowDone) {
        // Marked first: applying the state shows the window, which comes back here.
        FirstShowDone = true;
        ApplyWindowState(WindowState);
        ShowCloseHook.Call(0);
    }
    FireNone(OnShow);
}

void TZuMainForm::Paint(HDC dc) {
    if (BackgroundImage != nullptr) {
        DrawBitmap(dc, BackgroundImage);
    }
    if (Control != nullptr) {
        // The output carries the low 32 bits of the handle.
        const auto handle = reinterpret_cast<std::uintptr_t>(Control->Handle);
        FireInteger(OnPaint, static_cast<std::int32_t>(static_cast<std::uint32_t>(handle)));
    }
}

void TZuMainForm::DoMouseDown(TObj* sender, MouseEventData& mouse) {
    if (DragAnywhere && Control != nullptr) {
        ReleaseCapture();
        SendMessageA(Control->Handle, WM_SYSCOMMAND, MoveByCaption, 0);
    }
    TZuWin::DoMouseDown(sender, mouse);
}

bool TZuMainForm::DoMessage(TObj*, WindowMessage& message, LRESULT& result) {
    TControl* c = Control;
    if (c == nullptr) {
        return false;
    }
    const bool followedByApp = OwnsMainControl && MainControl != nullptr;
    switch (message.Msg) {
    case WM_MOVE:
        if (followedByApp) {
            const RECT bounds = c->GetBoundsRect();
            MainControl->SetPosition(bounds.left, bounds.top);
        }
        if (c->PaintEvent.IsSet()) {
            FireNone(OnMove);
        }
        return false;
    case WM_SIZE:
        if (followedByApp) {
            MainControl->SetWidth(c->GetWidth());
        }
        return false;
    case WM_ACTIVATE:
        // The low word is the activation state; the high word only says "minimized".
        FireNone(LOWORD(message.WParam) != WA_INACTIVE ? OnActivate : OnDeactivate);
        return false;
    case WM_CLOSE:
        if (RefuseClose()) {
            result = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool TZuMainForm::RefuseClose() {
    TData none;
    if (PullInteger(none, CanClose, 0) != 0) {
        return true;
    }
    const bool hideOnly = !OwnsMainControl && !StartHidden;
    if (hideOnly) {
        Control->SetVisible(false);
    }
    ShowCloseHook.Call(1);
    if (hideOnly) {
        return true;
    }
    if (OwnsMainControl) {
        FireNone(OnClose);
        DispatchOff();
        // The window and its control go with the application window.
        Control->ShowEvent = TCallback{};
        Control->ResizeEvent = TCallback{};
        Control->PaintEvent = TPaintEvent{};
        DetachControl();
    }
    return false;
}
