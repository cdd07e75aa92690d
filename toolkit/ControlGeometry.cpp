#include "toolkit/TControl.h"

#include <string>

#include "toolkit/ControlTools.h"
#include "toolkit/TCanvas.h"
#include "toolkit/TGraphicTool.h"
#include "toolkit/TList.h"

// Bounds, client area, alignment of children and auto-size. Coordinates wrap instead of
// overflowing.

namespace {

constexpr UINT NoZOrderNoActivate = 0x14;   // SWP_NOZORDER | SWP_NOACTIVATE
constexpr UINT BottomWithoutMoving = 0x213; // no owner z-order, activation, move, size
constexpr std::uint8_t LeftSet = 1;
constexpr std::uint8_t TopSet = 2;

std::int32_t Plus(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::int32_t Minus(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

std::int32_t Width(const RECT& rect) {
    return Minus(rect.right, rect.left);
}

std::int32_t Height(const RECT& rect) {
    return Minus(rect.bottom, rect.top);
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The rectangle an aligned child takes in the free area, and the free area it leaves.
RECT AlignedRect(std::uint8_t align, RECT& free, std::int32_t border, std::int32_t width,
                 std::int32_t height) {
    RECT rect{Plus(free.left, border), Plus(free.top, border), Minus(free.right, border),
              Minus(free.bottom, border)};
    switch (align) {
    case AlignLeft:
        rect.right = Plus(rect.left, width);
        free.left = Plus(free.left, Plus(border, width));
        break;
    case AlignTop:
        rect.bottom = Plus(rect.top, height);
        free.top = Plus(free.top, Plus(border, height));
        break;
    case AlignRight:
        rect.left = Minus(rect.right, width);
        free.right = Minus(free.right, Plus(border, width));
        break;
    case AlignBottom:
        rect.top = Minus(rect.bottom, height);
        free.bottom = Minus(free.bottom, Plus(border, height));
        break;
    default:
        break;
    }
    if (rect.right < rect.left) {
        rect.right = rect.left;
    }
    if (rect.bottom < rect.top) {
        rect.bottom = rect.top;
    }
    return rect;
}

void AlignChild(TControl* child, RECT& free, std::int32_t border) {
    const RECT current = child->GetBoundsRect();
    const RECT rect = AlignedRect(child->Align, free, border, Width(current), Height(current));
    if (SameRect(rect, current)) {
        return;
    }
    child->SetBoundsRect(rect);
    if (Width(rect) != Width(current) || Height(rect) != Height(current)) {
        RealignChildren(child);
    }
}

bool InPass(std::uint8_t align, int pass) {
    switch (pass) {
    case 0:
        return align == AlignTop || align == AlignBottom;
    case 1:
        return align == AlignLeft || align == AlignRight;
    default:
        return align == AlignClient;
    }
}

void RunRealignHook(TControl* control) {
    if (RealignHook == nullptr) {
        return;
    }
    if (control->Parent != nullptr) {
        RealignHook(control->Parent);
    }
    RealignHook(control);
}

} // namespace

RECT TControl::GetBoundsRect() {
    if (Handle != nullptr) {
        RECT window{};
        if (GetWindowRect(Handle, &window)) {
            if (IsChildControl && Parent != nullptr) {
                POINT origin{0, 0};
                ClientToScreen(Parent->Handle, &origin);
                window = {Minus(window.left, origin.x), Minus(window.top, origin.y),
                          Minus(window.right, origin.x), Minus(window.bottom, origin.y)};
            }
            BoundsRect = window;
        }
    }
    return BoundsRect;
}

void TControl::SetBoundsRect(const RECT& rect) {
    if (SameRect(rect, GetBoundsRect())) {
        return;
    }
    if (rect.left != BoundsRect.left) {
        PositionSet |= LeftSet;
    }
    if (rect.top != BoundsRect.top) {
        PositionSet |= TopSet;
    }
    BoundsRect = rect;
    if (Handle == nullptr) {
        return;
    }
    SetWindowPos(Handle, nullptr, rect.left, rect.top, Width(rect), Height(rect),
                 NoZOrderNoActivate);
    if (RepaintOnResize) {
        Invalidate();
    }
}

void TControl::SetLeft(std::int32_t x) {
    RECT rect = GetBoundsRect();
    const std::int32_t width = Width(rect);
    rect.left = x;
    rect.right = Plus(x, width);
    SetBoundsRect(rect);
}

void TControl::SetTop(std::int32_t y) {
    RECT rect = GetBoundsRect();
    const std::int32_t height = Height(rect);
    rect.top = y;
    rect.bottom = Plus(y, height);
    SetBoundsRect(rect);
}

void TControl::SetPosition(std::int32_t x, std::int32_t y) {
    SetLeft(x);
    SetTop(y);
}

std::int32_t TControl::GetWidth() {
    return Width(GetBoundsRect());
}

std::int32_t TControl::GetHeight() {
    return Height(GetBoundsRect());
}

void TControl::SetWidth(std::int32_t width) {
    RECT rect = GetBoundsRect();
    rect.right = Plus(rect.left, width);
    SetBoundsRect(rect);
}

void TControl::SetHeight(std::int32_t height) {
    RECT rect = GetBoundsRect();
    rect.bottom = Plus(rect.top, height);
    SetBoundsRect(rect);
}

void TControl::SetSize(std::int32_t width, std::int32_t height) {
    if (width > 0) {
        SetWidth(width);
    }
    if (height > 0) {
        SetHeight(height);
    }
}

RECT TControl::ClientRect() {
    RECT rect = BoundsRect;
    if (HWND window = GetHandle(); window != nullptr) {
        GetClientRect(window, &rect);
    }
    rect.top = Plus(rect.top, MarginTop);
    rect.bottom = Minus(rect.bottom, MarginBottom);
    rect.left = Plus(rect.left, MarginLeft);
    rect.right = Minus(rect.right, MarginRight);
    return rect;
}

std::int32_t TControl::ClientWidth() {
    return Width(ClientRect());
}

std::int32_t TControl::ClientHeight() {
    return Height(ClientRect());
}

void TControl::SetClientWidth(std::int32_t width) {
    SetWidth(Plus(width, Minus(GetWidth(), ClientWidth())));
}

void TControl::SetClientHeight(std::int32_t height) {
    SetHeight(Plus(height, Minus(GetHeight(), ClientHeight())));
}

void TControl::SendToBack() {
    SetWindowPos(GetHandle(), HWND_BOTTOM, 0, 0, 0, 0, BottomWithoutMoving);
}

void TControl::SetAlign(std::uint8_t align) {
    RealignHook = &RealignChildren;
    if (align == Align) {
        return;
    }
    Align = align;
    RealignChildren(Parent);
}

// Three passes in child order: top and bottom first, then left and right in what is left,
// then the client-aligned children fill the rest.
void RealignChildren(TControl* parent) {
    if (parent == nullptr) {
        return;
    }
    RECT free = parent->ClientRect();
    for (int pass = 0; pass < 3; ++pass) {
        for (std::int32_t i = 0; i < parent->Children->Count(); ++i) {
            auto* child = static_cast<TControl*>(parent->Children->Get(i));
            if (child->Visible && InPass(child->Align, pass)) {
                AlignChild(child, free, parent->Border);
            }
        }
    }
}

void AutoSize(TControl* control) {
    std::string text = control->WindowText();
    SIZE extent{0, 0};
    if (!text.empty()) {
        // An italic font leans past the last character's advance.
        if ((GetFontStyle(ControlFont(control)) & FontStyleItalic) != 0) {
            text += ' ';
        }
        extent = TextExtent(ControlCanvas(control), text);
    }
    const std::uint8_t align = control->Align;
    const TKindDescriptor& kind = control->Kind;
    bool resized = false;
    if ((align == AlignNone || align == AlignLeft || align == AlignRight) &&
        kind.AutoWidthPad > 0) {
        control->SetWidth(Plus(extent.cx, kind.AutoWidthPad));
        resized = true;
    }
    if ((align == AlignNone || align == AlignTop || align == AlignBottom) &&
        kind.AutoHeightPad > 0) {
        control->SetHeight(Plus(extent.cy, kind.AutoHeightPad));
        resized = true;
    }
    if (resized) {
        RunRealignHook(control);
    }
}
