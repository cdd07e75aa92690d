#include "toolkit/TControl.h"

#include "toolkit/ControlHandlers.h"
#include "toolkit/ControlKinds.h"
#include "toolkit/ControlTools.h"
#include "toolkit/Navigation.h"
#include "toolkit/OwnText.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TGraphicTool.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

// Sections: process-wide state; object life; construction of the kinds; properties;
// event setters.

std::uint16_t NextControlId = 0x8000;
ControlProc AfterCreateHook = nullptr;
ControlProc InvalidateHook = nullptr;
ControlProc RealignHook = nullptr;

namespace {

constexpr UINT OwnDCClassStyle = 0x20;                // CS_OWNDC
constexpr DWORD OverlappedVisibleStyle = 0x16CF0000;  // visible, clipping, overlapped window
constexpr DWORD ControlParentExStyle = 0x10000;       // WS_EX_CONTROLPARENT
constexpr DWORD AppStyle = 0x90CA0000;                // popup, visible, caption, menu, minimize
constexpr DWORD AppExStyle = 0x40000;                 // WS_EX_APPWINDOW
constexpr DWORD ClientEdgeExStyle = 0x200;            // WS_EX_CLIENTEDGE
constexpr DWORD LayeredExStyle = 0x80000;             // WS_EX_LAYERED
constexpr DWORD ClipStyles = 0x06000000;              // WS_CLIPSIBLINGS | WS_CLIPCHILDREN
constexpr UINT SwpFrameChanged = 0x37;                // no move, size, z-order or activation
constexpr std::uint32_t WindowTextColor = 0x80000008; // system colour 8
constexpr std::uint32_t ButtonFaceColor = 0x8000000F; // system colour 15
constexpr std::uint32_t WindowColor = 0x80000005;     // system colour 5
constexpr std::int32_t DefaultBorder = 2;
constexpr std::int32_t NewControlSize = 64;
constexpr std::int32_t ChildControlHeight = 22;
constexpr std::int32_t ListBoxExtraWidth = 100;
constexpr std::int32_t ListBoxHeight = 200;

// Sums and differences of coordinates wrap instead of overflowing.
std::int32_t Plus(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

bool HasBits(DWORD value, DWORD bits) {
    return (value & bits) == bits;
}

DWORD WithBits(DWORD value, DWORD bits, bool on) {
    return on ? (value | bits) : (value & ~bits);
}

// The application window's system menu offers neither maximizing, moving nor sizing.
void TrimSystemMenu(TControl* control) {
    HMENU menu = GetSystemMenu(control->Handle, FALSE);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_MOVE, MF_BYCOMMAND);
    DeleteMenu(menu, SC_SIZE, MF_BYCOMMAND);
    EnableMenuItem(menu, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED);
}

void DeleteBrushHandle(TControl* control) {
    if (control->BrushHandle != nullptr) {
        DeleteObject(control->BrushHandle);
        control->BrushHandle = nullptr;
    }
}

// Gives the control a tool assigned from the parent's, linked to it so that equal settings
// share one platform object, and reacting to its changes; the reaction runs once at once.
TGraphicTool* InheritTool(TControl* control, TGraphicTool* parentTool,
                          void (*changed)(void*, TObj*)) {
    TGraphicTool* tool = AssignTool(nullptr, parentTool);
    if (tool != nullptr) {
        tool->ParentTool = parentTool;
        tool->ChangeNotify = {changed, control};
    }
    return tool;
}

void TakeOverParent(TControl* control, bool ctl3D) {
    TControl* parent = control->Parent;
    control->NavigationHook = parent->NavigationHook;
    control->ChildCtl3D = parent->ChildCtl3D;
    control->Ctl3D = parent->ChildCtl3D && ctl3D;
    control->Border = parent->Border;

    const std::int32_t left = Plus(parent->Border, parent->MarginLeft);
    const std::int32_t top = Plus(parent->Border, parent->MarginTop);
    control->BoundsRect = {left, top, Plus(left, NewControlSize), Plus(top, NewControlSize)};

    control->FontColor = parent->FontColor;
    control->Font = InheritTool(control, parent->Font, &ControlFontChanged);
    if (control->Font != nullptr) {
        control->Font->ChangeNotify.Call(control->Font);
    }
    control->Color = parent->Color;
    control->Brush = InheritTool(control, parent->Brush, &ControlBrushChanged);
    if (control->Brush != nullptr) {
        control->Brush->ChangeNotify.Call(control->Brush);
    }
}

} // namespace

HICON NoIcon() {
    return reinterpret_cast<HICON>(~std::uintptr_t{0});
}

// ---- Object life ----------------------------------------------------------------------------

TControl* CreateControl(TControl* parent) {
    TControl* control = TControl::Created(new TControl);
    try {
        control->Setup(parent);
    } catch (...) {
        Free(control);
        throw;
    }
    return control;
}

void TControl::InitFields() {
    TObj::InitFields();
    ClassStyle = OwnDCClassStyle;
    Style = OverlappedVisibleStyle;
    ExStyle = ControlParentExStyle;
    Enabled = true;
    Visible = true;
    AlphaBlend = 255;
    Children = CreateList();
    RegisteredProc = &ClassWindowProc;
    AttachedHandlers = CreateList();
    ChildCtl3D = true;
    Ctl3D = true;
    FontColor = WindowTextColor;
    Color = ButtonFaceColor;
    Border = DefaultBorder;
    Kind = DefaultKind;
}

void TControl::Setup(TControl* parent) {
    SetParent(parent);
    if (parent != nullptr) {
        Color = parent->Color;
    }
}

void TControl::SetParent(TControl* parent) {
    if (parent == Parent) {
        return;
    }
    if (Parent != nullptr) {
        Parent->Children->Remove(this);
        if (Parent->ChildrenChanged != nullptr) {
            Parent->ChildrenChanged(Parent);
        }
    }
    Parent = parent;
    if (parent != nullptr) {
        parent->Children->Add(this);
        if (parent->ChildrenChanged != nullptr) {
            parent->ChildrenChanged(parent);
        }
    }
}

TControl::~TControl() {
    // A Free reached through the window's last messages must not destroy the control again:
    // mark destruction as pending, as a Free under a hold does.
    if (HoldCount() == 0) {
        AddHold(this);
        Free(this);
    }

    TControl* form = OwningForm(this);
    if (form != nullptr && form->LastFocused == this) {
        form->LastFocused = nullptr;
    }
    if (Handle != nullptr) {
        ShowWindow(Handle, SW_HIDE);
    }

    TCallback notify = DestroyNotify;
    DestroyNotify = TCallback{};
    notify.Call(this);

    FreeChildren();
    ReleaseWindow();
    ReleaseFields();
}

// Last child first. A child that is held survives its Free for now; it leaves the list so
// that it never reaches back to this control.
void TControl::FreeChildren() {
    for (std::int32_t i = Children->Count() - 1; i >= 0; --i) {
        auto* child = static_cast<TControl*>(Children->Get(i));
        if (child == nullptr) {
            continue;
        }
        Free(child);
        if (Children->Get(i) == child) {
            Children->Delete(i);
            child->Parent = nullptr;
        }
    }
}

// The window is left alone when the window procedure already released it (FieldsReleased)
// or it is going away by itself (Destroying).
void TControl::ReleaseWindow() {
    const bool windowReleased = FieldsReleased;
    FieldsReleased = true;
    if (!windowReleased && Handle != nullptr && IsWindow(Handle)) {
        auto icon = reinterpret_cast<HICON>(SendMessageA(Handle, WM_SETICON, ICON_BIG, 0));
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
        if (!Destroying) {
            DestroyWindow(Handle);
        }
    }
    Handle = nullptr;
}

void TControl::ReleaseFields() {
    KindName.clear();
    Free(Font);
    Font = nullptr;
    Free(Brush);
    Brush = nullptr;
    Free(Canvas);
    Canvas = nullptr;
    DeleteBrushHandle(this);
    Caption.clear();
    if (Parent != nullptr) {
        Parent->Children->Remove(this);
        if (Parent->LastFocused == this) {
            Parent->LastFocused = nullptr;
        }
        Parent = nullptr;
    }
    Free(Children);
    Children = nullptr;
    Free(AttachedHandlers);
    AttachedHandlers = nullptr;
}

// ---- Construction of the kinds --------------------------------------------------------------

TControl* MakeWindowedControl(TControl* parent, const char* kindName, bool ctl3D) {
    TControl* control = CreateControl(parent);
    control->KindName = kindName != nullptr ? kindName : "";
    if (parent != nullptr) {
        TakeOverParent(control, ctl3D);
    }
    return control;
}

TControl* MakeChildControl(TControl* parent, const char* kindName, DWORD style,
                           const TKindDescriptor* kind, bool ctl3D) {
    TControl* control = MakeWindowedControl(parent, kindName, ctl3D);
    if (kind != nullptr) {
        control->Kind = *kind;
    }
    control->IsChildControl = true;
    control->Style = style | ClipStyles;
    control->Visible = HasBits(style, WS_VISIBLE);
    control->TabStop = HasBits(style, WS_TABSTOP);
    if (parent != nullptr) {
        // The form's own TabOrder counts the controls made on it.
        if (TControl* form = OwningForm(parent); form != nullptr) {
            control->TabOrder = ++form->TabOrder;
        }
        control->Cursor = parent->Cursor;
    }
    control->NavigationKeys = NavTab | NavLeftRight | NavUpDown | NavPage;
    if (control->Ctl3D) {
        control->Style &= ~WS_BORDER;
        control->ExStyle |= ClientEdgeExStyle;
    }
    if (HasBits(style, WS_TABSTOP)) {
        TControl* form = OwningForm(control);
        if (form != nullptr && form->LastFocused == nullptr) {
            form->LastFocused = control;
        }
    }
    control->ControlId = NextControlId++;
    AttachHandler(control, &StandardControlHandler);
    return control;
}

TControl* MakeAppControl(std::string_view caption) {
    AppControlExists = true;
    TControl* control = MakeWindowedControl(nullptr, "App", true);
    control->Style = AppStyle;
    control->ExStyle = AppExStyle;
    control->AfterCreate = &TrimSystemMenu;
    AttachHandler(control, &AppHandler);
    control->AssignText(caption);
    return control;
}

TControl* MakeFormControl(TControl* parent, std::string_view caption) {
    TControl* control = MakeWindowedControl(parent, "Form", true);
    control->ClassStyle |= CS_DBLCLKS;
    AttachHandler(control, &FormHandler);
    AttachHandler(control, &FormEraseHandler);
    control->AssignText(caption);
    control->IsForm = true;
    return control;
}

TControl* MakeListBoxControl(TControl* parent, std::uint32_t options) {
    TControl* control = MakeChildControl(
        parent, "LISTBOX", ListBoxBaseStyle | ListBoxOptionStyle(options), &ListBoxKind, true);
    RECT& bounds = control->BoundsRect;
    bounds.right = Plus(bounds.right, ListBoxExtraWidth);
    bounds.bottom = Plus(bounds.top, ListBoxHeight);
    control->SetColor(WindowColor);
    control->NavigationKeys = NavTab | NavLeftRight;
    return control;
}

TControl* MakeButtonControl(TControl* parent, std::string_view caption) {
    TControl* control = MakeChildControl(parent, "BUTTON", ButtonBaseStyle, &ButtonKind, false);
    control->Ctl3D = true;
    control->BoundsRect.bottom = Plus(control->BoundsRect.top, ChildControlHeight);
    // A push button centres its text by itself; the style is left as it is.
    control->TextAlign = TextAlignCenter;
    control->AssignText(caption);
    return control;
}

TControl* MakeLabelControl(TControl* parent, std::string_view caption) {
    TControl* control = MakeChildControl(parent, "STATIC", LabelBaseStyle, &StaticKind, false);
    control->RepaintOnResize = true;
    control->BoundsRect.bottom = Plus(control->BoundsRect.top, ChildControlHeight);
    control->AssignText(caption);
    return control;
}

// ---- Properties -----------------------------------------------------------------------------

void TControl::AssignText(std::string_view text) {
    // Window text ends at its first zero byte.
    Caption.assign(text.substr(0, text.find('\0')));
    if (Handle == nullptr) {
        return;
    }
    SetOwnWindowText(Handle, Caption);
    Invalidate();
    if (AutoSizeProc != nullptr) {
        AutoSizeProc(this);
    }
}

std::string TControl::WindowText() const {
    if (Handle == nullptr) {
        return Caption;
    }
    return OwnWindowText(Handle, Caption);
}

void TControl::SetStyle(DWORD style) {
    if (style == Style) {
        return;
    }
    Style = style;
    if (Handle != nullptr) {
        SetWindowLongA(Handle, GWL_STYLE, static_cast<LONG>(style));
        SetWindowPos(Handle, nullptr, 0, 0, 0, 0, SwpFrameChanged);
        Invalidate();
    }
}

void TControl::SetExStyle(DWORD exStyle) {
    if (exStyle == ExStyle) {
        return;
    }
    ExStyle = exStyle;
    if (Handle != nullptr) {
        SetWindowLongA(Handle, GWL_EXSTYLE, static_cast<LONG>(exStyle));
        SetWindowPos(Handle, nullptr, 0, 0, 0, 0, SwpFrameChanged);
        Invalidate();
    }
}

// An existing window is restyled too, so that the edge changes on screen and not only in the
// fields.
void TControl::SetCtl3D(bool on) {
    ChildCtl3D = on;
    if (Ctl3D == on) {
        return;
    }
    Ctl3D = on;
    if (Handle != nullptr) {
        Style = static_cast<DWORD>(GetWindowLongA(Handle, GWL_STYLE));
        ExStyle = static_cast<DWORD>(GetWindowLongA(Handle, GWL_EXSTYLE));
        ClassStyle = static_cast<UINT>(GetClassLongA(Handle, GCL_STYLE));
    }
    SetExStyle(WithBits(ExStyle, ClientEdgeExStyle, on));
    SetStyle(WithBits(Style, WS_BORDER, !on));
}

void TControl::SetVisible(bool visible) {
    VisibleSet = true;
    ApplyVisibility(visible);
}

void TControl::ApplyVisibility(bool visible) {
    Style = WithBits(Style, WS_VISIBLE, visible);
    Visible = visible;
    if (!visible) {
        CreatedHidden = false;
    }
    if (Handle == nullptr) {
        return;
    }
    ShowWindow(Handle, visible ? SW_SHOW : SW_HIDE);
    if (RealignHook != nullptr) {
        if (Parent != nullptr) {
            RealignHook(Parent);
        }
        if (visible) {
            RealignHook(this);
        }
    }
}

bool TControl::GetEnabled() const {
    if (Handle != nullptr) {
        return IsWindowEnabled(Handle) != FALSE;
    }
    return !HasBits(Style, WS_DISABLED);
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == GetEnabled()) {
        return;
    }
    Enabled = enabled;
    Style = WithBits(Style, WS_DISABLED, !enabled);
    if (Handle != nullptr) {
        EnableWindow(Handle, enabled ? TRUE : FALSE);
    }
}

void TControl::SetColor(std::uint32_t color) {
    if (Handle != nullptr && Kind.SetBkColorMsg != 0) {
        SendMessageA(Handle, Kind.SetBkColorMsg, 0, static_cast<LPARAM>(ResolveColor(color)));
    }
    if (color == Color) {
        return;
    }
    Color = color;
    DeleteBrushHandle(this);
    if (Brush != nullptr) {
        SetToolColor(Brush, color);
    }
    Invalidate();
}

void TControl::ApplyFont() {
    if (Font == nullptr) {
        return;
    }
    if (Handle != nullptr) {
        FontColor = Font->Color();
        SendMessageA(Handle, WM_SETFONT, reinterpret_cast<WPARAM>(GetToolHandle(Font)), 1);
    }
    Free(Canvas);
    Canvas = nullptr;
    if (AutoSizeProc != nullptr) {
        AutoSizeProc(this);
    }
}

void TControl::SetCursor(HCURSOR cursor) {
    if (cursor == Cursor) {
        return;
    }
    Cursor = cursor;
    if (Handle == nullptr || cursor == nullptr) {
        return;
    }
    POINT point{};
    RECT client{};
    if (GetCursorPos(&point) && ScreenToClient(Handle, &point) && GetClientRect(Handle, &client) &&
        point.x >= client.left && point.x < client.right && point.y >= client.top &&
        point.y < client.bottom) {
        ::SetCursor(cursor);
    }
}

void TControl::SetIcon(HICON icon) {
    if (icon == Icon) {
        return;
    }
    Icon = icon;
    HICON shown = icon == NoIcon() ? nullptr : icon;
    auto previous = reinterpret_cast<HICON>(
        SendToControl(this, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(shown)));
    if (previous != nullptr && previous != shown) {
        DestroyIcon(previous);
    }
}

// A window without an icon of its own shows a copy of the application's, so that each window
// can destroy the icon it holds.
HICON TControl::GetIcon() {
    if (Icon == NoIcon()) {
        return nullptr;
    }
    if (Icon != nullptr) {
        return Icon;
    }
    if (MainControl == nullptr || MainControl == this) {
        Icon = LoadIconA(GetModuleHandleA(nullptr), "MAINICON");
    } else if (HICON shared = MainControl->GetIcon(); shared != nullptr) {
        Icon = static_cast<HICON>(CopyImage(shared, IMAGE_ICON, 0, 0, 0));
    }
    return Icon;
}

namespace {

// Every tab stop below control: enabled, (to be) shown and styled as a tab stop. Only enabled
// controls are searched.
void ShiftTabOrders(TControl* control, std::int32_t from) {
    for (std::int32_t i = 0; i < control->Children->Count(); ++i) {
        auto* child = static_cast<TControl*>(control->Children->Get(i));
        if (!child->Enabled) {
            continue;
        }
        if (child->TabStop && child->Visible && HasBits(child->Style, WS_TABSTOP) &&
            child->TabOrder >= from) {
            ++child->TabOrder;
        }
        ShiftTabOrders(child, from);
    }
}

} // namespace

void TControl::SetTabOrder(std::int32_t order) {
    if (order == TabOrder) {
        return;
    }
    if (TControl* form = OwningForm(this); form != nullptr) {
        ShiftTabOrders(form, order);
    }
    TabOrder = order;
}

void TControl::SetTextAlign(std::uint8_t align) {
    if (align == TextAlign || align > TextAlignCenter) {
        return;
    }
    const DWORD bits[] = {Kind.AlignLeftBits, Kind.AlignRightBits, Kind.AlignCenterBits};
    DWORD others = 0;
    for (std::uint8_t a = 0; a <= TextAlignCenter; ++a) {
        if (a != align) {
            others |= bits[a];
        }
    }
    SetStyle(((Style & ~others) | bits[align]) & ~DWORD{Kind.AlignClearMask});
    TextAlign = align;
}

void TControl::SetAutoSize(bool on) {
    AutoSizeProc = on ? &AutoSize : nullptr;
    if (on) {
        AutoSize(this);
    }
}

// Transparent painting is not used by the player; only the flag is kept.
void TControl::SetTransparent(bool on) {
    Transparent = on;
}

void TControl::SetAlphaBlend(std::uint8_t alpha) {
    if (alpha == AlphaBlend) {
        return;
    }
    AlphaBlend = alpha;
    using LayeredProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    HMODULE user32 = GetModuleHandleA("User32");
    FARPROC entry =
        user32 != nullptr ? GetProcAddress(user32, "SetLayeredWindowAttributes") : nullptr;
    if (entry == nullptr) {
        return;
    }
    auto setLayered = reinterpret_cast<LayeredProc>(reinterpret_cast<void (*)()>(entry));
    HWND window = GetHandle();
    if (window == nullptr) {
        return;
    }
    const auto exStyle = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    ExStyle = WithBits(exStyle, LayeredExStyle, alpha != 255);
    SetWindowLongA(window, GWL_EXSTYLE, static_cast<LONG>(ExStyle));
    if (alpha != 255) {
        setLayered(window, 0, alpha, LWA_ALPHA);
    }
}

void TControl::SetWindowState(std::uint8_t state) {
    static constexpr int showCommands[] = {SW_SHOWNOACTIVATE, SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED};
    if (state == WindowState || state > 2) {
        return;
    }
    ShowWindow(GetHandle(), showCommands[state]);
}

// ---- Event setters --------------------------------------------------------------------------

void TControl::SetMouseDownEvent(TMouseEvent event) {
    MouseDownEvent = event;
    AttachHandler(this, &MouseEventHandler);
}

void TControl::SetMouseUpEvent(TMouseEvent event) {
    MouseUpEvent = event;
    AttachHandler(this, &MouseEventHandler);
}

void TControl::SetMouseMoveEvent(TMouseEvent event) {
    MouseMoveEvent = event;
    AttachHandler(this, &MouseEventHandler);
}

void TControl::SetMouseDblClickEvent(TMouseEvent event) {
    MouseDblClickEvent = event;
    AttachHandler(this, &MouseEventHandler);
}

void TControl::SetKeyDownEvent(TKeyEvent event) {
    KeyDownEvent = event;
    KeyHook = &KeyEventHandler;
}

void TControl::SetKeyUpEvent(TKeyEvent event) {
    KeyUpEvent = event;
    KeyHook = &KeyEventHandler;
}

void TControl::SetMouseEnterEvent(TCallback event) {
    MouseEnterEvent = event;
    StartHoverTracking();
}

void TControl::SetMouseLeaveEvent(TCallback event) {
    MouseLeaveEvent = event;
    StartHoverTracking();
}

void TControl::StartHoverTracking() {
    InitCommonControls();
    AttachHandler(this, &HoverHandler);
    Invalidate();
}

void TControl::SetShowEvent(TCallback event) {
    ShowEvent = event;
    AttachHandler(this, &ShowHideHandler);
}

void TControl::SetResizeEvent(TCallback event) {
    ResizeEvent = event;
    AttachHandler(this, &ResizeHandler);
}
