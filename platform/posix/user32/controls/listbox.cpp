// The LISTBOX control: a list of strings (or of values, for owner-drawn lists without
// strings) with single, multiple or extended selection, a caret, a top index, keyboard and
// mouse selection, wheel scrolling and classic scroll bars, drawn in the list's font.
//
// Index: state and style helpers; geometry and scrolling; selection; item messages;
// selection messages; position and size messages; scroll bars; input; drawing; the window
// procedure.

#include "platform/posix/user32/control_colors.h"
#include "platform/posix/user32/controls/ListBoxItems.h"
#include "platform/posix/user32/controls/control_common.h"
#include "platform/posix/user32/controls/control_paint.h"
#include "platform/posix/user32/controls/control_text.h"
#include "platform/posix/user32/controls/controls.h"
#include "platform/posix/user32/controls/scroll_bar.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>

namespace posix {
namespace {

// A list holds at most this many items; further additions answer LB_ERRSPACE, so that a
// runaway caller or an enormous LB_SETCOUNT cannot exhaust the memory.
constexpr int MaxItems = 1 << 22;

// Lines scrolled by one notch of the wheel (the system's default), at most a page.
constexpr int WheelLines = 3;

// Left margin of item text.
constexpr int TextMargin = 2;

// A drag of a scroll bar's thumb: which bar, and where in the thumb it was grabbed.
struct ThumbDrag {
    bool Active = false;
    bool Vertical = true;
    int Grab = 0; // pixels from the thumb's start to the press
};

struct ListBoxState {
    ListBoxItems Items;         // the entries in display order
    DWORD Style = 0;            // the style at creation; a list box reads it only then
    int Selected = -1;          // selected item of a single-selection list, -1 for none
    int Caret = 0;              // item with the focus rectangle, where the keyboard acts
    int Anchor = 0;             // fixed end of a Shift range in an extended list
    int Top = 0;                // first visible item
    int ItemHeight = 1;         // height of every item in pixels: a line of the font
    int HorizontalExtent = 0;   // scrollable width set by LB_SETHORIZONTALEXTENT
    int HorizontalOffset = 0;   // pixels scrolled to the left, up to the extent
    HFONT Font = nullptr;       // font set by WM_SETFONT
    bool Tracking = false;      // a left-button press is followed with the mouse captured
    bool PressSelected = false; // that press selected an item: LBN_SELCHANGE when it ends
    int WheelRemainder = 0;     // wheel distance not yet turned into whole steps
    ThumbDrag Thumb;            // a scroll-bar thumb follows the mouse
};

// ---- state and style helpers ----

bool IsMultiSelect(const ListBoxState& state) {
    return (state.Style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}
bool IsExtendedSelect(const ListBoxState& state) {
    return (state.Style & LBS_EXTENDEDSEL) != 0;
}
bool RefusesSelection(const ListBoxState& state) {
    return (state.Style & LBS_NOSEL) != 0;
}

// Owner-drawn lists without LBS_HASSTRINGS keep the caller's value as the item itself.
bool KeepsStrings(const ListBoxState& state) {
    return (state.Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) == 0 ||
           (state.Style & LBS_HASSTRINGS) != 0;
}

// An owner-drawn list of LBS_NODATA without strings keeps no data at all: the values given with
// added items are ignored and no search finds anything.
bool KeepsNoData(const ListBoxState& state) {
    return (state.Style & LBS_NODATA) != 0 && !KeepsStrings(state);
}

int Count(const ListBoxState& state) {
    return static_cast<int>(state.Items.Count());
}
bool IsValidIndex(const ListBoxState& state, int index) {
    return index >= 0 && index < Count(state);
}
std::size_t At(int index) {
    return static_cast<std::size_t>(index);
}

// Indices travel as 32-bit signed values inside wParam or lParam, -1 meaning "none" or "all".
int IndexFrom(ULONG_PTR value) {
    return static_cast<int>(static_cast<UINT>(value));
}

std::string TextFrom(LPARAM value) {
    const char* text = reinterpret_cast<const char*>(value);
    return text != nullptr ? std::string(text) : std::string();
}

void Notify(HWND window, const ListBoxState& state, int code) {
    if ((state.Style & LBS_NOTIFY) != 0) {
        NotifyParent(window, code);
    }
}

char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Item comparisons ignore the case of ASCII letters.
int CompareNoCase(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = static_cast<unsigned char>(FoldCase(a[i]));
        const unsigned char y = static_cast<unsigned char>(FoldCase(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

// ---- geometry and scrolling ----

int ClientHeight(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.bottom - client.top;
}

// Items that fit entirely in the client area; at least one, so that paging always moves.
int PageSize(HWND window, const ListBoxState& state) {
    return std::max(1, ClientHeight(window) / state.ItemHeight);
}

// The list never scrolls past the point where its last item sits at the bottom.
void ClampTop(HWND window, ListBoxState& state) {
    const int maxTop = std::max(0, Count(state) - PageSize(window, state));
    state.Top = std::clamp(state.Top, 0, maxTop);
}

void ScrollIntoView(HWND window, ListBoxState& state, int index) {
    const int page = PageSize(window, state);
    if (index < state.Top) {
        state.Top = index;
    } else if (index >= state.Top + page) {
        state.Top = index - page + 1;
    }
    ClampTop(window, state);
}

// A list box created with WS_VSCROLL shows the bar (the style bit) only while its items do
// not fit, unless LBS_DISABLENOSCROLL keeps it always.
void UpdateScrollBar(HWND window, const ListBoxState& state) {
    if ((state.Style & WS_VSCROLL) == 0) {
        return;
    }
    const bool wanted =
        (state.Style & LBS_DISABLENOSCROLL) != 0 || Count(state) > PageSize(window, state);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    if (((style & WS_VSCROLL) != 0) == wanted) {
        return;
    }
    SetWindowLongA(window, GWL_STYLE,
                   static_cast<LONG>(wanted ? style | WS_VSCROLL : style & ~WS_VSCROLL));
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int ClientWidth(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.right - client.left;
}

// The horizontal offset never shows more than the blank after the extent.
void ClampHorizontal(HWND window, ListBoxState& state) {
    const int maxOffset = std::max(0, state.HorizontalExtent - ClientWidth(window));
    state.HorizontalOffset = std::clamp(state.HorizontalOffset, 0, maxOffset);
}

// With WS_HSCROLL the horizontal bar shows while the extent is wider than the list.
void UpdateHorizontalBar(HWND window, ListBoxState& state) {
    if ((state.Style & WS_HSCROLL) == 0) {
        return;
    }
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const bool shown = (style & WS_HSCROLL) != 0;
    const bool wanted =
        (state.Style & LBS_DISABLENOSCROLL) != 0 || state.HorizontalExtent > ClientWidth(window);
    if (shown != wanted) {
        SetWindowLongA(window, GWL_STYLE,
                       static_cast<LONG>(wanted ? style | WS_HSCROLL : style & ~WS_HSCROLL));
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ClampHorizontal(window, state);
}

// After the item count changed: keep the caret and anchor on items, the top in range and the
// scroll bar in step.
void AfterCountChange(HWND window, ListBoxState& state) {
    const int last = std::max(0, Count(state) - 1);
    state.Caret = std::min(state.Caret, last);
    state.Anchor = std::min(state.Anchor, last);
    ClampTop(window, state);
    UpdateScrollBar(window, state);
}

// ---- selection ----

bool IsSelected(const ListBoxState& state, int index) {
    return IsMultiSelect(state) ? state.Items.At(At(index)).Selected : state.Selected == index;
}

void SelectRange(ListBoxState& state, int first, int last, bool selected) {
    for (int index = first; index <= last; ++index) {
        state.Items.At(At(index)).Selected = selected;
    }
}

void ClearMultiSelection(ListBoxState& state) {
    state.Items.ForEach([](ListBoxItem& item) { item.Selected = false; });
}

// What a click or a key does: the caret moves to the item and, unless the list refuses
// selection, the selection follows. `extend` selects from the anchor (Shift in an extended
// list); `toggle` flips one item (Ctrl in an extended list, any click in a multiple one).
// Answers whether the selection was touched, which the caller then notifies.
bool SelectByUser(HWND window, ListBoxState& state, int index, bool extend, bool toggle) {
    state.Caret = index;
    ScrollIntoView(window, state, index);
    if (RefusesSelection(state)) {
        return false;
    }
    if (!IsMultiSelect(state)) {
        state.Selected = index;
    } else if (toggle) {
        ListBoxItem& item = state.Items.At(At(index));
        item.Selected = !item.Selected;
        state.Anchor = index;
    } else if (extend) {
        ClearMultiSelection(state);
        SelectRange(state, std::min(state.Anchor, index), std::max(state.Anchor, index), true);
    } else {
        ClearMultiSelection(state);
        state.Items.At(At(index)).Selected = true;
        state.Anchor = index;
    }
    return true;
}

// ---- item messages ----

LRESULT InsertItem(HWND window, ListBoxState& state, int index, LPARAM value) {
    if (Count(state) >= MaxItems) {
        NotifyParent(window, LBN_ERRSPACE);
        return LB_ERRSPACE;
    }
    const bool wasEmpty = Count(state) == 0;
    try {
        ListBoxItem item;
        if (KeepsStrings(state)) {
            item.Text = TextFrom(value);
        } else if (!KeepsNoData(state)) {
            item.Data = static_cast<ULONG_PTR>(value);
        }
        state.Items.Insert(At(index), std::move(item));
    } catch (const std::bad_alloc&) {
        NotifyParent(window, LBN_ERRSPACE);
        return LB_ERRSPACE;
    }
    // Selection, caret and anchor stay on the items they marked.
    if (state.Selected >= index) {
        ++state.Selected;
    }
    if (!wasEmpty && state.Caret >= index) {
        ++state.Caret;
    }
    if (!wasEmpty && state.Anchor >= index) {
        ++state.Anchor;
    }
    AfterCountChange(window, state);
    return index;
}

// Sorted lists insert after the last item that compares equal or lower.
int SortedPosition(const ListBoxState& state, std::string_view text) {
    int low = 0;
    int high = Count(state);
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (CompareNoCase(state.Items.At(At(middle)).Text, text) <= 0) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

LRESULT OnAddString(HWND window, ListBoxState& state, LPARAM text) {
    int index = Count(state);
    if ((state.Style & LBS_SORT) != 0 && KeepsStrings(state)) {
        index = SortedPosition(state, TextFrom(text));
    }
    return InsertItem(window, state, index, text);
}

LRESULT OnInsertString(HWND window, ListBoxState& state, WPARAM where, LPARAM text) {
    int index = IndexFrom(where);
    if (index == -1) {
        index = Count(state);
    }
    if (index < 0 || index > Count(state)) {
        return LB_ERR;
    }
    return InsertItem(window, state, index, text);
}

LRESULT OnDeleteString(HWND window, ListBoxState& state, WPARAM which) {
    const int index = IndexFrom(which);
    if (!IsValidIndex(state, index)) {
        return LB_ERR;
    }
    state.Items.Erase(At(index));
    if (state.Selected == index) {
        state.Selected = -1;
    } else if (state.Selected > index) {
        --state.Selected;
    }
    if (state.Caret > index) {
        --state.Caret;
    }
    if (state.Anchor > index) {
        --state.Anchor;
    }
    AfterCountChange(window, state);
    return Count(state);
}

LRESULT OnResetContent(HWND window, ListBoxState& state) {
    state.Items.Clear();
    state.Selected = -1;
    state.Caret = 0;
    state.Anchor = 0;
    state.Top = 0;
    state.PressSelected = false;
    UpdateScrollBar(window, state);
    return TRUE;
}

// Only owner-drawn lists without data and without strings have a count of their own.
LRESULT OnSetCount(HWND window, ListBoxState& state, WPARAM wanted) {
    if (!KeepsNoData(state)) {
        return LB_ERR;
    }
    const int count = IndexFrom(wanted);
    if (count < 0) {
        return LB_ERR;
    }
    if (count > MaxItems) {
        return LB_ERRSPACE;
    }
    try {
        while (Count(state) < count) {
            state.Items.Insert(state.Items.Count(), ListBoxItem{});
        }
    } catch (const std::bad_alloc&) {
        AfterCountChange(window, state);
        return LB_ERRSPACE;
    }
    while (Count(state) > count) {
        state.Items.Erase(state.Items.Count() - 1);
    }
    if (state.Selected >= count) {
        state.Selected = -1;
    }
    AfterCountChange(window, state);
    return LB_OKAY;
}

LRESULT OnGetText(const ListBoxState& state, WPARAM which, LPARAM buffer) {
    const int index = IndexFrom(which);
    char* out = reinterpret_cast<char*>(buffer);
    if (!IsValidIndex(state, index) || out == nullptr) {
        return LB_ERR;
    }
    const ListBoxItem& item = state.Items.At(At(index));
    if (!KeepsStrings(state)) {
        std::memcpy(out, &item.Data, sizeof item.Data);
        return sizeof item.Data;
    }
    std::memcpy(out, item.Text.c_str(), item.Text.size() + 1);
    return static_cast<LRESULT>(item.Text.size());
}

LRESULT OnGetTextLength(const ListBoxState& state, WPARAM which) {
    const int index = IndexFrom(which);
    if (!IsValidIndex(state, index)) {
        return LB_ERR;
    }
    if (!KeepsStrings(state)) {
        return sizeof(ULONG_PTR);
    }
    return static_cast<LRESULT>(state.Items.At(At(index)).Text.size());
}

LRESULT OnGetItemData(const ListBoxState& state, WPARAM which) {
    const int index = IndexFrom(which);
    if (!IsValidIndex(state, index)) {
        return LB_ERR;
    }
    return static_cast<LRESULT>(state.Items.At(At(index)).Data);
}

// Index -1 sets the value of every item.
LRESULT OnSetItemData(ListBoxState& state, WPARAM which, LPARAM value) {
    const int index = IndexFrom(which);
    const ULONG_PTR data = static_cast<ULONG_PTR>(value);
    if (index == -1) {
        state.Items.ForEach([data](ListBoxItem& item) { item.Data = data; });
        return TRUE;
    }
    if (!IsValidIndex(state, index)) {
        return LB_ERR;
    }
    state.Items.At(At(index)).Data = data;
    return TRUE;
}

// Searches after the start item to the end, then from the top back to the start item itself.
// Without strings the items are compared with the value itself.
LRESULT OnFindString(const ListBoxState& state, WPARAM start, LPARAM wanted, bool exact) {
    const bool strings = KeepsStrings(state);
    if ((strings && wanted == 0) || KeepsNoData(state)) {
        return LB_ERR;
    }
    const std::string text = strings ? TextFrom(wanted) : std::string();
    const auto matches = [&](const ListBoxItem& item) {
        if (!strings) {
            return item.Data == static_cast<ULONG_PTR>(wanted);
        }
        return exact ? CompareNoCase(item.Text, text) == 0 : StartsWithNoCase(item.Text, text);
    };
    int first = IndexFrom(start);
    if (!IsValidIndex(state, first)) {
        first = -1;
    }
    const std::size_t from = At(first + 1);
    std::optional<std::size_t> found = state.Items.FindFrom(from, matches);
    if (!found) {
        found = state.Items.FindFrom(0, matches);
        if (found && *found >= from) {
            found.reset();
        }
    }
    return found ? static_cast<LRESULT>(*found) : LB_ERR;
}

// ---- selection messages ----

// Programmatic selection never notifies the parent.
LRESULT OnSetCurSel(HWND window, ListBoxState& state, WPARAM which) {
    if (IsMultiSelect(state) || RefusesSelection(state)) {
        return LB_ERR;
    }
    const int index = IndexFrom(which);
    if (index == -1) {
        // Clearing the selection answers LB_ERR although nothing failed.
        state.Selected = -1;
        return LB_ERR;
    }
    if (!IsValidIndex(state, index)) {
        return LB_ERR;
    }
    state.Selected = index;
    state.Caret = index;
    ScrollIntoView(window, state, index);
    return index;
}

LRESULT OnGetCurSel(const ListBoxState& state) {
    return IsMultiSelect(state) ? state.Caret : state.Selected;
}

// Single-selection lists refuse LB_SETSEL and keep their selection. Index -1 means all items.
LRESULT OnSetSel(HWND window, ListBoxState& state, WPARAM select, LPARAM which) {
    if (!IsMultiSelect(state) || RefusesSelection(state)) {
        return LB_ERR;
    }
    const bool selected = select != 0;
    const int index = IndexFrom(static_cast<ULONG_PTR>(which));
    if (index == -1) {
        state.Items.ForEach([selected](ListBoxItem& item) { item.Selected = selected; });
        return LB_OKAY;
    }
    if (!IsValidIndex(state, index)) {
        return LB_ERR;
    }
    state.Items.At(At(index)).Selected = selected;
    if (selected) {
        state.Caret = index;
        state.Anchor = index;
        ScrollIntoView(window, state, index);
    }
    return LB_OKAY;
}

LRESULT OnGetSel(const ListBoxState& state, WPARAM which) {
    const int index = IndexFrom(which);
    if (!IsValidIndex(state, index)) {
        return LB_ERR;
    }
    return IsSelected(state, index) ? 1 : 0;
}

// The range comes as the first and last index in the low and high word of lParam.
LRESULT OnSelItemRange(ListBoxState& state, WPARAM select, LPARAM range) {
    if (!IsMultiSelect(state) || RefusesSelection(state)) {
        return LB_ERR;
    }
    const int a = static_cast<int>(range & 0xFFFF);
    const int b = static_cast<int>((range >> 16) & 0xFFFF);
    const int first = std::min(a, b);
    const int last = std::min(std::max(a, b), Count(state) - 1);
    if (first > last) {
        return LB_ERR;
    }
    SelectRange(state, first, last, select != 0);
    return LB_OKAY;
}

LRESULT OnGetSelCount(const ListBoxState& state) {
    if (!IsMultiSelect(state)) {
        return LB_ERR;
    }
    LRESULT count = 0;
    const auto selected = [](const ListBoxItem& item) { return item.Selected; };
    for (auto found = state.Items.FindFrom(0, selected); found;
         found = state.Items.FindFrom(*found + 1, selected)) {
        ++count;
    }
    return count;
}

LRESULT OnGetSelItems(const ListBoxState& state, WPARAM capacity, LPARAM buffer) {
    int* out = reinterpret_cast<int*>(buffer);
    if (!IsMultiSelect(state) || out == nullptr) {
        return LB_ERR;
    }
    LRESULT written = 0;
    const auto selected = [](const ListBoxItem& item) { return item.Selected; };
    for (auto found = state.Items.FindFrom(0, selected);
         found && static_cast<WPARAM>(written) < capacity;
         found = state.Items.FindFrom(*found + 1, selected)) {
        out[written++] = static_cast<int>(*found);
    }
    return written;
}

LRESULT OnSetCaretIndex(HWND window, ListBoxState& state, WPARAM which) {
    const int index = IndexFrom(which);
    if (!IsValidIndex(state, index)) {
        return LB_ERR;
    }
    state.Caret = index;
    ScrollIntoView(window, state, index);
    return LB_OKAY;
}

// ---- position and size messages ----

LRESULT OnSetTopIndex(HWND window, ListBoxState& state, WPARAM which) {
    const int index = IndexFrom(which);
    if (!IsValidIndex(state, index)) {
        return LB_ERR;
    }
    state.Top = index;
    ClampTop(window, state);
    return LB_OKAY;
}

LRESULT OnSetHorizontalExtent(HWND window, ListBoxState& state, WPARAM extent) {
    state.HorizontalExtent = static_cast<int>(std::min<WPARAM>(extent, 0x7FFFFFFF));
    UpdateHorizontalBar(window, state);
    return 0;
}

LRESULT OnSetItemHeight(HWND window, ListBoxState& state, LPARAM height) {
    const int pixels = static_cast<int>(height & 0xFFFF);
    if (pixels == 0 || pixels > 255) {
        return LB_ERR;
    }
    state.ItemHeight = pixels;
    ClampTop(window, state);
    UpdateScrollBar(window, state);
    return LB_OKAY;
}

LRESULT OnGetItemRect(HWND window, const ListBoxState& state, WPARAM which, LPARAM rect) {
    const int index = IndexFrom(which);
    RECT* out = reinterpret_cast<RECT*>(rect);
    if (!IsValidIndex(state, index) || out == nullptr) {
        return LB_ERR;
    }
    RECT client{};
    GetClientRect(window, &client);
    out->left = 0;
    out->right = client.right;
    out->top = (index - state.Top) * state.ItemHeight;
    out->bottom = out->top + state.ItemHeight;
    return TRUE;
}

LRESULT OnSize(HWND window, ListBoxState& state) {
    ClampTop(window, state);
    UpdateScrollBar(window, state);
    UpdateHorizontalBar(window, state);
    return 0;
}

// Items take the height of a line of the new font.
LRESULT OnSetFont(HWND window, ListBoxState& state, WPARAM font, LPARAM redraw) {
    state.Font = reinterpret_cast<HFONT>(font);
    state.ItemHeight = LineHeightOf(state.Font);
    ClampTop(window, state);
    UpdateScrollBar(window, state);
    if (LOWORD(redraw) != 0) {
        InvalidateRect(window, nullptr, TRUE);
    }
    return 0;
}

// ---- scroll bars ----

// The vertical range in items, the horizontal one in pixels.
ScrollRange VerticalRange(HWND window, const ListBoxState& state) {
    return {Count(state), PageSize(window, state), state.Top};
}
ScrollRange HorizontalRange(HWND window, const ListBoxState& state) {
    return {state.HorizontalExtent, ClientWidth(window), state.HorizontalOffset};
}

// The bars' rectangles on the frame context: beside and below the client area.
RECT VerticalBarRect(HWND window) {
    const RECT client = ClientInFrame(window);
    return {client.right, client.top, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom};
}
RECT HorizontalBarRect(HWND window) {
    const RECT client = ClientInFrame(window);
    return {client.left, client.bottom, client.right,
            client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
}

ScrollBarParts BarParts(HWND window, const ListBoxState& state, bool vertical) {
    return vertical
               ? LayOutScrollBar(VerticalBarRect(window), true, VerticalRange(window, state))
               : LayOutScrollBar(HorizontalBarRect(window), false, HorizontalRange(window, state));
}

// The position a scroll request leads to, before clamping.
int ScrollTarget(int code, int position, int line, int page, int thumb, int total) {
    switch (code) {
    case SB_LINEUP:
        return position - line;
    case SB_LINEDOWN:
        return position + line;
    case SB_PAGEUP:
        return position - page;
    case SB_PAGEDOWN:
        return position + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return thumb;
    case SB_TOP:
        return 0;
    case SB_BOTTOM:
        return total;
    default:
        return position;
    }
}

LRESULT OnVScroll(HWND window, ListBoxState& state, WPARAM request) {
    const int page = std::max(1, PageSize(window, state) - 1);
    state.Top = ScrollTarget(LOWORD(request), state.Top, 1, page, HIWORD(request), Count(state));
    ClampTop(window, state);
    return 0;
}

// Horizontal lines are an average character wide.
LRESULT OnHScroll(HWND window, ListBoxState& state, WPARAM request) {
    const int line =
        std::max(1, static_cast<int>(MetricsOf(FontOrDefault(state.Font)).tmAveCharWidth));
    state.HorizontalOffset =
        ScrollTarget(LOWORD(request), state.HorizontalOffset, line, ClientWidth(window),
                     HIWORD(request), state.HorizontalExtent);
    ClampHorizontal(window, state);
    return 0;
}

// A press on a scroll bar: the arrows and the track scroll by a line or a page, the thumb is
// dragged with the mouse captured.
LRESULT OnNcLButtonDown(HWND window, ListBoxState& state, WPARAM hit, LPARAM screen) {
    if (hit != HTVSCROLL && hit != HTHSCROLL) {
        return DefWindowProcA(window, WM_NCLBUTTONDOWN, hit, screen);
    }
    RECT rect{};
    GetWindowRect(window, &rect);
    const POINT point{GET_X_LPARAM(screen) - rect.left, GET_Y_LPARAM(screen) - rect.top};
    const bool vertical = hit == HTVSCROLL;
    const ScrollBarParts parts = BarParts(window, state, vertical);
    const int part = ScrollBarPartAt(parts, point);
    if (part == SB_THUMBTRACK) {
        state.Thumb = {true, vertical,
                       vertical ? point.y - parts.Thumb.top : point.x - parts.Thumb.left};
        SetCapture(window);
        return 0;
    }
    if (part >= 0) {
        SendMessageA(window, vertical ? WM_VSCROLL : WM_HSCROLL,
                     MAKEWPARAM(static_cast<WORD>(part), 0), 0);
    }
    return 0;
}

// The dragged thumb follows the mouse; the list scrolls with it. The position is set directly
// rather than through WM_VSCROLL, whose 16 bits would not reach far into a long list.
void DragThumb(HWND window, ListBoxState& state, LPARAM clientPoint) {
    const RECT client = ClientInFrame(window);
    const int x = GET_X_LPARAM(clientPoint) + client.left;
    const int y = GET_Y_LPARAM(clientPoint) + client.top;
    const bool vertical = state.Thumb.Vertical;
    const ScrollBarParts parts = BarParts(window, state, vertical);
    const ScrollRange range =
        vertical ? VerticalRange(window, state) : HorizontalRange(window, state);
    const int along = (vertical ? y - parts.Track.top : x - parts.Track.left) - state.Thumb.Grab;
    const int position = PositionForThumb(parts, range, along);
    if (vertical) {
        state.Top = position;
        ClampTop(window, state);
    } else {
        state.HorizontalOffset = position;
        ClampHorizontal(window, state);
    }
}

void EndThumbDrag(HWND window, ListBoxState& state) {
    state.Thumb.Active = false;
    if (GetCapture() == window) {
        ReleaseCapture();
    }
}

// ---- input ----

// The item under a client y coordinate, -1 for none.
int ItemAt(const ListBoxState& state, int y) {
    if (y < 0) {
        return -1;
    }
    const int index = state.Top + y / state.ItemHeight;
    return IsValidIndex(state, index) ? index : -1;
}

LRESULT OnSetFocus(HWND window, const ListBoxState& state) {
    Notify(window, state, LBN_SETFOCUS);
    return 0;
}

// The press ends: the capture goes first, then LBN_SELCHANGE tells about an item it selected.
void EndTracking(HWND window, ListBoxState& state, bool releaseCapture) {
    const bool notify = state.PressSelected;
    state.Tracking = false;
    state.PressSelected = false;
    if (releaseCapture && GetCapture() == window) {
        ReleaseCapture();
    }
    if (notify && ControlAlive(window, &state)) {
        Notify(window, state, LBN_SELCHANGE);
    }
}

LRESULT OnKillFocus(HWND window, ListBoxState& state) {
    if (state.Tracking) {
        EndTracking(window, state, true);
        if (!ControlAlive(window, &state)) {
            return 0;
        }
    }
    Notify(window, state, LBN_KILLFOCUS);
    return 0;
}

// Button-down takes the focus, captures the mouse and selects; the notification waits for
// the button-up.
LRESULT OnLButtonDown(HWND window, ListBoxState& state, WPARAM keys, LPARAM point) {
    if (GetFocus() != window) {
        SetFocus(window);
        if (!ControlAlive(window, &state)) {
            return 0;
        }
    }
    SetCapture(window);
    state.Tracking = true;
    const int index = ItemAt(state, GET_Y_LPARAM(point));
    if (index >= 0) {
        const bool extended = IsExtendedSelect(state);
        const bool extend = extended && (keys & MK_SHIFT) != 0;
        const bool toggle = extended ? (keys & MK_CONTROL) != 0 : IsMultiSelect(state);
        state.PressSelected = SelectByUser(window, state, index, extend, toggle);
    }
    return 0;
}

// Dragging with the button held moves the selection of single and extended lists; above or
// below the list it scrolls by one item per move.
LRESULT OnMouseMove(HWND window, ListBoxState& state, LPARAM point) {
    if (state.Thumb.Active && GetCapture() == window) {
        DragThumb(window, state, point);
        return 0;
    }
    if (!state.Tracking || GetCapture() != window || Count(state) == 0) {
        return 0;
    }
    if (IsMultiSelect(state) && !IsExtendedSelect(state)) {
        return 0;
    }
    const int y = GET_Y_LPARAM(point);
    const int page = PageSize(window, state);
    int index =
        y < 0 ? state.Top - 1 : std::min(state.Top + y / state.ItemHeight, state.Top + page);
    index = std::clamp(index, 0, Count(state) - 1);
    if (index != state.Caret &&
        SelectByUser(window, state, index, IsExtendedSelect(state), false)) {
        state.PressSelected = true;
    }
    return 0;
}

LRESULT OnLButtonUp(HWND window, ListBoxState& state) {
    if (state.Thumb.Active) {
        EndThumbDrag(window, state);
    }
    if (state.Tracking) {
        EndTracking(window, state, true);
    }
    return 0;
}

// Another window took the capture while the button was held: the press ends there.
LRESULT OnCaptureChanged(HWND window, ListBoxState& state, LPARAM newCapture) {
    if (reinterpret_cast<HWND>(newCapture) != window) {
        state.Thumb.Active = false;
    }
    if (state.Tracking && reinterpret_cast<HWND>(newCapture) != window) {
        EndTracking(window, state, false);
    }
    return 0;
}

LRESULT OnLButtonDblClk(HWND window, const ListBoxState& state, LPARAM point) {
    if (ItemAt(state, GET_Y_LPARAM(point)) >= 0) {
        Notify(window, state, LBN_DBLCLK);
    }
    return 0;
}

// The wheel scrolls without touching the selection.
LRESULT OnMouseWheel(HWND window, ListBoxState& state, WPARAM keysAndDelta) {
    state.WheelRemainder += GET_WHEEL_DELTA_WPARAM(keysAndDelta);
    const int notches = state.WheelRemainder / WHEEL_DELTA;
    state.WheelRemainder -= notches * WHEEL_DELTA;
    state.Top -= notches * std::min(WheelLines, PageSize(window, state));
    ClampTop(window, state);
    return 0;
}

bool KeyDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

// Where a navigation key moves the caret (before clamping to the list); nothing for other keys.
std::optional<int> NavigationTarget(HWND window, const ListBoxState& state, WPARAM key) {
    const int step = std::max(1, PageSize(window, state) - 1);
    switch (key) {
    case VK_UP:
        return state.Caret - 1;
    case VK_DOWN:
        return state.Caret + 1;
    case VK_PRIOR:
        return state.Caret - step;
    case VK_NEXT:
        return state.Caret + step;
    case VK_HOME:
        return 0;
    case VK_END:
        return Count(state) - 1;
    default:
        return std::nullopt;
    }
}

// Space selects (or, in a multiple list, flips) the caret item.
LRESULT OnSpaceKey(HWND window, ListBoxState& state) {
    if (!IsMultiSelect(state)) {
        return 0;
    }
    const bool toggle = !IsExtendedSelect(state) || KeyDown(VK_CONTROL);
    const bool extend = IsExtendedSelect(state) && KeyDown(VK_SHIFT);
    if (SelectByUser(window, state, state.Caret, extend, toggle)) {
        Notify(window, state, LBN_SELCHANGE);
    }
    return 0;
}

// Navigation keys move the caret; in single and extended lists the selection follows and the
// parent hears of it at once, on the key-down.
LRESULT OnKeyDown(HWND window, ListBoxState& state, WPARAM key, LPARAM flags) {
    if (Count(state) == 0) {
        return 0;
    }
    if (key == VK_SPACE) {
        return OnSpaceKey(window, state);
    }
    const std::optional<int> wanted = NavigationTarget(window, state, key);
    if (!wanted) {
        return DefWindowProcA(window, WM_KEYDOWN, key, flags);
    }
    const int target = std::clamp(*wanted, 0, Count(state) - 1);
    const bool multiple = IsMultiSelect(state) && !IsExtendedSelect(state);
    if (multiple || (IsExtendedSelect(state) && KeyDown(VK_CONTROL))) {
        state.Caret = target;
        ScrollIntoView(window, state, target);
        return 0;
    }
    const bool extend = IsExtendedSelect(state) && KeyDown(VK_SHIFT);
    if (SelectByUser(window, state, target, extend, false)) {
        Notify(window, state, LBN_SELCHANGE);
    }
    return 0;
}

// ---- drawing ----

// The border and the scroll bars, on the frame around the client area.
void DrawFrame(HWND window, const ListBoxState& state) {
    const HDC dc = OpenFrameDC(window);
    if (dc == nullptr) {
        return;
    }
    DrawBorder(window, dc);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const bool enabled = IsWindowEnabled(window) != FALSE;
    if ((style & WS_VSCROLL) != 0) {
        DrawScrollBar(dc, BarParts(window, state, true), enabled);
    }
    if ((style & WS_HSCROLL) != 0) {
        DrawScrollBar(dc, BarParts(window, state, false), enabled);
    }
    if ((style & (WS_VSCROLL | WS_HSCROLL)) == (WS_VSCROLL | WS_HSCROLL)) {
        const RECT vertical = VerticalBarRect(window);
        const RECT corner{vertical.left, vertical.bottom, vertical.right,
                          HorizontalBarRect(window).bottom};
        FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
    }
    CloseFrameDC(window, dc);
}

// Visible items in the list's font: selected ones on the highlight colour, the caret item
// framed by the focus rectangle while the list has the focus. Owner-drawn lists show only
// their background.
void DrawItems(HWND window, const ListBoxState& state, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, ControlColors(window, dc, WM_CTLCOLORLISTBOX));
    const bool focused = GetFocus() == window;
    if ((state.Style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) != 0) {
        return;
    }
    const SelectedFont font(dc, FontOrDefault(state.Font));
    const COLORREF text = IsWindowEnabled(window) ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
    const int mode = SetBkMode(dc, TRANSPARENT);
    const UINT format = DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER |
                        ((state.Style & LBS_USETABSTOPS) != 0 ? DT_EXPANDTABS : 0);
    for (int index = state.Top; index < Count(state); ++index) {
        const int top = (index - state.Top) * state.ItemHeight;
        if (top >= client.bottom) {
            break;
        }
        const RECT row{client.left, top, client.right, top + state.ItemHeight};
        const bool selected = IsSelected(state, index);
        if (selected) {
            FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
        SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text);
        const std::string& item = state.Items.At(At(index)).Text;
        RECT place{row.left + TextMargin - state.HorizontalOffset, row.top, row.right, row.bottom};
        DrawTextA(dc, item.c_str(), static_cast<int>(item.size()), &place, format);
        if (focused && index == state.Caret) {
            DrawFocusRect(dc, &row);
        }
    }
    if (focused && Count(state) == 0) {
        const RECT row{client.left, client.top, client.right, client.top + state.ItemHeight};
        DrawFocusRect(dc, &row);
    }
    SetBkMode(dc, mode);
    SetTextColor(dc, text);
}

LRESULT OnPaint(HWND window, const ListBoxState& state, UINT message, WPARAM wParam) {
    if (message == WM_PAINT) {
        DrawFrame(window, state);
    }
    return PaintClient(window, message, wParam, [&](HDC dc) { DrawItems(window, state, dc); });
}

// What the list shows, to tell whether a message changed it.
struct View {
    int Top;
    int Caret;
    int Selected;
    int Offset;
    bool operator==(const View&) const = default;
};

View ViewOf(const ListBoxState& state) {
    return {state.Top, state.Caret, state.Selected, state.HorizontalOffset};
}

// Messages after which the list is drawn again whatever they changed.
bool AlwaysRedraws(UINT message) {
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SIZE:
    case WM_LBUTTONDOWN:
    case WM_KEYDOWN:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETCOUNT:
    case LB_SETSEL:
    case LB_SELITEMRANGE:
    case LB_SETITEMHEIGHT:
    case LB_SETHORIZONTALEXTENT:
        return true;
    default:
        return false;
    }
}

// ---- the window procedure ----

LRESULT OnNcCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!CreateControlState<ListBoxState>(window)) {
        return FALSE;
    }
    const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ListBoxState* state = ControlState<ListBoxState>(window);
    state->Style = static_cast<DWORD>(create->style);
    state->ItemHeight = LineHeightOf(nullptr);
    return DefWindowProcA(window, WM_NCCREATE, wParam, lParam);
}

LRESULT OnNcDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    DestroyControlState<ListBoxState>(window);
    return DefWindowProcA(window, WM_NCDESTROY, wParam, lParam);
}

LRESULT HandleMessage(HWND window, ListBoxState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        UpdateScrollBar(window, s);
        return 0;
    case WM_NCDESTROY:
        return OnNcDestroy(window, wParam, lParam);
    case WM_SIZE:
        return OnSize(window, s);
    case WM_SETFONT:
        return OnSetFont(window, s, wParam, lParam);
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return OnPaint(window, s, message, wParam);
    case WM_VSCROLL:
        return OnVScroll(window, s, wParam);
    case WM_HSCROLL:
        return OnHScroll(window, s, wParam);
    case WM_NCLBUTTONDOWN:
        return OnNcLButtonDown(window, s, wParam, lParam);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.Font);
    case WM_SETFOCUS:
        return OnSetFocus(window, s);
    case WM_KILLFOCUS:
        return OnKillFocus(window, s);
    case WM_LBUTTONDOWN:
        return OnLButtonDown(window, s, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(window, s, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(window, s);
    case WM_LBUTTONDBLCLK:
        return OnLButtonDblClk(window, s, lParam);
    case WM_CAPTURECHANGED:
        return OnCaptureChanged(window, s, lParam);
    case WM_MOUSEWHEEL:
        return OnMouseWheel(window, s, wParam);
    case WM_KEYDOWN:
        return OnKeyDown(window, s, wParam, lParam);
    case LB_ADDSTRING:
        return OnAddString(window, s, lParam);
    case LB_INSERTSTRING:
        return OnInsertString(window, s, wParam, lParam);
    case LB_DELETESTRING:
        return OnDeleteString(window, s, wParam);
    case LB_RESETCONTENT:
        return OnResetContent(window, s);
    case LB_GETCOUNT:
        return Count(s);
    case LB_SETCOUNT:
        return OnSetCount(window, s, wParam);
    case LB_GETTEXT:
        return OnGetText(s, wParam, lParam);
    case LB_GETTEXTLEN:
        return OnGetTextLength(s, wParam);
    case LB_GETITEMDATA:
        return OnGetItemData(s, wParam);
    case LB_SETITEMDATA:
        return OnSetItemData(s, wParam, lParam);
    case LB_FINDSTRING:
        return OnFindString(s, wParam, lParam, false);
    case LB_FINDSTRINGEXACT:
        return OnFindString(s, wParam, lParam, true);
    case LB_SETCURSEL:
        return OnSetCurSel(window, s, wParam);
    case LB_GETCURSEL:
        return OnGetCurSel(s);
    case LB_SETSEL:
        return OnSetSel(window, s, wParam, lParam);
    case LB_GETSEL:
        return OnGetSel(s, wParam);
    case LB_SELITEMRANGE:
        return OnSelItemRange(s, wParam, lParam);
    case LB_GETSELCOUNT:
        return OnGetSelCount(s);
    case LB_GETSELITEMS:
        return OnGetSelItems(s, wParam, lParam);
    case LB_GETCARETINDEX:
        return s.Caret;
    case LB_SETCARETINDEX:
        return OnSetCaretIndex(window, s, wParam);
    case LB_GETTOPINDEX:
        return s.Top;
    case LB_SETTOPINDEX:
        return OnSetTopIndex(window, s, wParam);
    case LB_GETHORIZONTALEXTENT:
        return s.HorizontalExtent;
    case LB_SETHORIZONTALEXTENT:
        return OnSetHorizontalExtent(window, s, wParam);
    case LB_GETITEMHEIGHT:
        return s.ItemHeight;
    case LB_SETITEMHEIGHT:
        return OnSetItemHeight(window, s, lParam);
    case LB_GETITEMRECT:
        return OnGetItemRect(window, s, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

// Every message that changed what the list shows has it drawn again.
LRESULT CALLBACK ListBoxWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return OnNcCreate(window, wParam, lParam);
    }
    ListBoxState* state = ControlState<ListBoxState>(window);
    if (state == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const View before = ViewOf(*state);
    const LRESULT result = HandleMessage(window, *state, message, wParam, lParam);
    if (ControlAlive(window, state) && (AlwaysRedraws(message) || !(ViewOf(*state) == before))) {
        InvalidateRect(window, nullptr, FALSE);
    }
    return result;
}

} // namespace posix
