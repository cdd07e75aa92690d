#include "toolkit/Navigation.h"

#include <vector>

#include "toolkit/TControl.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

bool ShiftIsDown() {
    return GetKeyState(VK_SHIFT) < 0;
}

bool IsEnabled(TControl* control) {
    if (control->Handle != nullptr) {
        return IsWindowEnabled(control->Handle) != FALSE;
    }
    return (control->Style & WS_DISABLED) == 0;
}

// Shown, or to be shown once its window is made.
bool ShownOrPending(const TControl* control) {
    return control->Visible || control->CreatedHidden;
}

// Whether the control counts as shown for focus movement: it and every parent up to the first
// top-level one. A top-level parent's Visible flag is first refreshed from its window.
bool CountsAsShown(TControl* control) {
    for (;;) {
        if (!ShownOrPending(control)) {
            return false;
        }
        TControl* parent = control->Parent;
        if (!control->IsChildControl || parent == nullptr) {
            return true;
        }
        if (!parent->IsChildControl && parent->Handle != nullptr) {
            parent->Visible = IsWindowVisible(parent->Handle) != FALSE;
        }
        control = parent;
    }
}

bool JoinsTabStops(TControl* control) {
    return control->TabStop && control->Enabled && CountsAsShown(control) &&
           (control->Style & WS_TABSTOP) != 0;
}

// Inserts before the first control with a larger tab order, so equal orders keep the walk's
// order.
void InsertByTabOrder(std::vector<TControl*>& stops, TControl* control) {
    auto at = stops.begin();
    while (at != stops.end() && (*at)->TabOrder <= control->TabOrder) {
        ++at;
    }
    stops.insert(at, control);
}

// Every enabled child is walked into, whether or not it joined.
void CollectTabStops(TControl* parent, std::vector<TControl*>& stops) {
    TList* children = parent->Children;
    if (children == nullptr) {
        return;
    }
    for (std::int32_t i = 0; i < children->Count(); ++i) {
        auto* child = static_cast<TControl*>(children->Get(i));
        if (JoinsTabStops(child)) {
            InsertByTabOrder(stops, child);
        }
        if (child->Enabled) {
            CollectTabStops(child, stops);
        }
    }
}

// The tab stop next to current in the direction, or else the one to wrap to; null when there
// is no other tab stop. Among equal orders the first in the list wins.
TControl* FindTarget(const std::vector<TControl*>& stops, std::int32_t current, int direction) {
    TControl* next = nullptr;
    TControl* wrap = nullptr;
    for (TControl* stop : stops) {
        const std::int32_t order = stop->TabOrder;
        if (order == current) {
            continue;
        }
        if (direction > 0) {
            if (order > current && (next == nullptr || order < next->TabOrder)) {
                next = stop;
            }
            if (wrap == nullptr || order < wrap->TabOrder) {
                wrap = stop;
            }
        } else {
            if (order < current && (next == nullptr || order > next->TabOrder)) {
                next = stop;
            }
            if (wrap == nullptr || order > wrap->TabOrder) {
                wrap = stop;
            }
        }
    }
    return next != nullptr ? next : wrap;
}

// The NavigationKeys bit a key belongs to, or 0.
unsigned NavigationBit(UINT key) {
    switch (key) {
    case VK_TAB:
        return NavTab;
    case VK_PRIOR:
    case VK_NEXT:
        return NavPage;
    case VK_LEFT:
    case VK_RIGHT:
        return NavLeftRight;
    case VK_UP:
    case VK_DOWN:
        return NavUpDown;
    default:
        return 0;
    }
}

int DirectionOf(UINT key) {
    switch (key) {
    case VK_TAB:
        return ShiftIsDown() ? -1 : 1;
    case VK_PRIOR:
    case VK_LEFT:
    case VK_UP:
        return -1;
    default:
        return 1;
    }
}

} // namespace

TControl* OwningForm(TControl* control) {
    while (control != nullptr && control->IsChildControl) {
        control = control->Parent;
    }
    return control;
}

bool IsMainWindow(TControl* control) {
    if (control->IsChildControl) {
        return false;
    }
    TControl* parent = control->Parent;
    if (parent == nullptr) {
        return control == MainControl || !AppControlExists;
    }
    if (parent->Parent != nullptr) {
        return false;
    }
    return parent->Children != nullptr && parent->Children->Get(0) == control;
}

bool TakeFocus(TControl* control) {
    if (!IsEnabled(control) || !control->TabStop) {
        return false;
    }
    // Without a window there is nothing to focus yet; SetFocus(null) would take the focus away.
    if (control->Handle != nullptr) {
        ++control->FocusGuard;
        SetFocus(control->Handle);
        --control->FocusGuard;
    }
    return true;
}

void MoveFocus(TControl* form, int direction) {
    std::vector<TControl*> stops;
    CollectTabStops(form, stops);
    const std::int32_t current = form->LastFocused != nullptr ? form->LastFocused->TabOrder : 0;
    TControl* target = FindTarget(stops, current, direction);
    if (target == nullptr) {
        return;
    }
    if (target->Handle != nullptr) {
        ++target->FocusGuard;
        SetFocus(target->Handle);
        --target->FocusGuard;
    }
    form->LastFocused = target;
}

bool HandleNavigationKey(TControl* control, UINT key, bool notKeyPress) {
    const unsigned bit = NavigationBit(key);
    if (bit == 0 || (control->NavigationKeys & bit) == 0) {
        return false;
    }
    if (notKeyPress) {
        return true;
    }
    TControl* form = OwningForm(control);
    if (form != nullptr) {
        MoveFocus(form, DirectionOf(key));
    }
    return true;
}
