#include "toolkit/TControl.h"

#include <string>

#include "toolkit/OwnText.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

// Making a control's window: its class (derived from the system class of the control's kind),
// the creation parameters from the fields, and what follows the creation.

namespace {

constexpr UINT ClassStyleMask = 0xFFFFBF1F; // without own, class and parent DCs, global class
constexpr WPARAM ClearHideFocus = 0x10002;  // UIS_CLEAR of UISF_HIDEFOCUS
constexpr std::uint8_t PositionSetBits = 3;

std::int32_t Minus(LONG a, LONG b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

int SizeOrDefault(std::int32_t size) {
    return size == 0 ? CW_USEDEFAULT : size;
}

} // namespace

HWND TControl::GetHandle() {
    if (Handle == nullptr) {
        if (!VisibleSet) {
            // Made hidden until the next MakeWindow pass, which shows it.
            ApplyVisibility(false);
            MakeWindow();
            CreatedHidden = true;
        } else {
            MakeWindow();
        }
    }
    return Handle;
}

bool TControl::MakeWindow() {
    if (Parent != nullptr && Parent->GetHandle() == nullptr) {
        return false;
    }
    if (Handle != nullptr) {
        MakeChildWindows();
        ShowIfCreatedHidden();
        return true;
    }
    return MakeOwnWindow();
}

void TControl::ShowIfCreatedHidden() {
    if (CreatedHidden) {
        ApplyVisibility(true);
        CreatedHidden = false;
    }
}

bool TControl::MakeOwnWindow() {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND parentWindow = Parent != nullptr ? Parent->GetHandle() : nullptr;
    const DWORD style = Enabled ? Style : (Style | WS_DISABLED);
    int x = BoundsRect.left;
    int y = BoundsRect.top;
    const int width = SizeOrDefault(Minus(BoundsRect.right, BoundsRect.left));
    const int height = SizeOrDefault(Minus(BoundsRect.bottom, BoundsRect.top));
    if (!IsChildControl && (PositionSet & PositionSetBits) == 0) {
        x = CW_USEDEFAULT;
        y = CW_USEDEFAULT;
    }
    const std::string className = KindNameIsClass ? KindName : "obj_" + KindName;

    WNDCLASSA record{};
    record.style = ClassStyle;
    record.lpfnWndProc = PrevWindowProc;
    record.hInstance = instance;
    record.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    if (!KindName.empty()) {
        // Takes over the system class of that name; "Form" and "App" have none.
        GetClassInfoA(instance, KindName.c_str(), &record);
        record.hInstance = instance;
        record.style &= ClassStyleMask;
    }
    if (PrevWindowProc == nullptr) {
        PrevWindowProc = record.lpfnWndProc;
    }
    if (parentWindow == nullptr && (Style & WS_CHILD) != 0) {
        return false;
    }
    WNDCLASSA registered{};
    if (!GetClassInfoA(instance, className.c_str(), &registered)) {
        record.lpszClassName = className.c_str();
        record.lpfnWndProc = RegisteredProc;
        if (RegisterClassA(&record) == 0) {
            return false;
        }
    }

    CreatingControl = this;
    HWND window = CreateWindowExA(
        ExStyle, className.c_str(), Caption.c_str(), style, x, y, width, height, parentWindow,
        reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(ControlId)), instance, nullptr);
    if (window == nullptr) {
        // No window took the binding; it must not go to the next window made.
        CreatingControl = nullptr;
        return false;
    }
    Handle = window;
    StoreOwnCaption(Handle, Caption);
    SendMessageA(Handle, WM_UPDATEUISTATE, ClearHideFocus, 0);
    if (GetPropA(Handle, SelfProperty) == nullptr) {
        CreatingControl = nullptr;
        SetPropA(Handle, SelfProperty, this);
    }
    if (!IsChildControl) {
        SendMessageA(Handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(GetIcon()));
    }
    if (AfterCreate != nullptr) {
        AfterCreate(this);
    }
    if (AfterCreateHook != nullptr) {
        AfterCreateHook(this);
    }
    ApplyFont();
    ApplyFont();
    MakeChildWindows();
    return true;
}

void TControl::MakeChildWindows() {
    for (std::int32_t i = 0; i < Children->Count(); ++i) {
        static_cast<TControl*>(Children->Get(i))->MakeWindow();
    }
}

void TControl::Invalidate() {
    if (AppTerminated || Handle == nullptr) {
        return;
    }
    InvalidateRect(Handle, nullptr, TRUE);
    if (InvalidateHook != nullptr) {
        InvalidateHook(this);
    }
}
