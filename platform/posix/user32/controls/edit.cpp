// The EDIT control, single line: typing, Backspace and Delete, caret movement with the arrows,
// Home and End, selection with Shift or the mouse, and the EN_ notifications of focus and
// change. It draws its text in its font, scrolled so the caret shows, the selection in the
// highlight colours and the caret as a solid bar while it has the focus.

#include "platform/posix/gdi32/TextDecoding.h"
#include "platform/posix/user32/control_colors.h"
#include "platform/posix/user32/controls/control_common.h"
#include "platform/posix/user32/controls/control_paint.h"
#include "platform/posix/user32/controls/control_text.h"
#include "platform/posix/user32/controls/controls.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace posix {
namespace {

// Most characters the user may type before EM_LIMITTEXT, and the limit EM_LIMITTEXT 0 sets.
constexpr std::size_t DefaultLimit = 30000;
constexpr std::size_t LargestLimit = 0x7FFFFFFE;

// Space between the client area's left edge and the text.
constexpr int TextMargin = 1;

struct EditState {
    std::string Text;                 // the content
    std::size_t Anchor = 0;           // fixed end of the selection
    std::size_t Caret = 0;            // moving end of the selection, where the caret stands
    std::size_t Limit = DefaultLimit; // most characters the user may enter
    HFONT Font = nullptr;             // font set by WM_SETFONT
    int ScrollX = 0;                  // pixels of text scrolled out to the left
    bool Selecting = false;           // the left button is held: the mouse moves the caret
    unsigned Revision = 0;            // counts changes of the content
};

std::size_t SelectionStart(const EditState& state) {
    return std::min(state.Anchor, state.Caret);
}
std::size_t SelectionEnd(const EditState& state) {
    return std::max(state.Anchor, state.Caret);
}
bool HasSelection(const EditState& state) {
    return state.Anchor != state.Caret;
}

bool IsReadOnly(HWND window) {
    return (static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & ES_READONLY) != 0;
}

std::string_view TextFrom(LPARAM value) {
    const char* text = reinterpret_cast<const char*>(value);
    return text != nullptr ? std::string_view(text) : std::string_view();
}

// Every change of the content: EN_UPDATE, then EN_CHANGE.
void NotifyChanged(HWND window, const EditState& state) {
    NotifyParent(window, EN_UPDATE);
    if (ControlAlive(window, &state)) {
        NotifyParent(window, EN_CHANGE);
    }
}

// Replaces the selection with the text, cut to what the limit leaves room for; a cut reports
// EN_MAXTEXT, and when nothing at all fits the content stays as it was.
void ReplaceSelection(HWND window, EditState& state, std::string_view text) {
    const std::size_t start = SelectionStart(state);
    const std::size_t removed = SelectionEnd(state) - start;
    const std::size_t kept = state.Text.size() - removed;
    const std::size_t room = state.Limit > kept ? state.Limit - kept : 0;
    if (text.size() > room) {
        NotifyParent(window, EN_MAXTEXT);
        if (!ControlAlive(window, &state) || room == 0) {
            return;
        }
        text = text.substr(0, room);
    }
    if (removed == 0 && text.empty()) {
        return;
    }
    state.Text.replace(start, removed, text);
    ++state.Revision;
    state.Anchor = state.Caret = start + text.size();
    NotifyChanged(window, state);
}

bool IsContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// In text that is valid UTF-8 the caret and the deleting keys step over whole characters;
// other text is Windows-1251, one byte per character.
std::size_t NextCharacter(const std::string& text, std::size_t at) {
    if (at >= text.size()) {
        return text.size();
    }
    ++at;
    if (gdi::IsValidUtf8(text)) {
        while (at < text.size() && IsContinuationByte(text[at])) {
            ++at;
        }
    }
    return at;
}

std::size_t PreviousCharacter(const std::string& text, std::size_t at) {
    if (at == 0) {
        return 0;
    }
    --at;
    if (gdi::IsValidUtf8(text)) {
        while (at > 0 && IsContinuationByte(text[at])) {
            --at;
        }
    }
    return at;
}

void DeleteRange(HWND window, EditState& state, std::size_t from, std::size_t to) {
    state.Anchor = from;
    state.Caret = to;
    ReplaceSelection(window, state, {});
}

void MoveCaret(EditState& state, std::size_t to, bool extend) {
    state.Caret = to;
    if (!extend) {
        state.Anchor = to;
    }
}

// Backspace arrives as a character; other control characters (Enter, Tab, Escape, Ctrl with
// a letter) are not text in a single-line edit.
LRESULT OnChar(HWND window, EditState& state, WPARAM code) {
    if (IsReadOnly(window)) {
        return 0;
    }
    const unsigned char c = static_cast<unsigned char>(code);
    if (c == '\b') {
        if (HasSelection(state)) {
            ReplaceSelection(window, state, {});
        } else if (state.Caret > 0) {
            DeleteRange(window, state, PreviousCharacter(state.Text, state.Caret), state.Caret);
        }
        return 0;
    }
    if (c < 0x20 || c == 0x7F) {
        return 0;
    }
    const char typed = static_cast<char>(c);
    ReplaceSelection(window, state, std::string_view(&typed, 1));
    return 0;
}

LRESULT OnDeleteKey(HWND window, EditState& state) {
    if (IsReadOnly(window)) {
        return 0;
    }
    if (HasSelection(state)) {
        ReplaceSelection(window, state, {});
    } else if (state.Caret < state.Text.size()) {
        DeleteRange(window, state, state.Caret, NextCharacter(state.Text, state.Caret));
    }
    return 0;
}

// The arrows move the caret one character from where it stands; with Shift the selection's
// anchor stays, without it the selection collapses onto the caret.
LRESULT OnKeyDown(HWND window, EditState& state, WPARAM key, LPARAM flags) {
    const bool extend = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
    case VK_LEFT:
        MoveCaret(state, PreviousCharacter(state.Text, state.Caret), extend);
        return 0;
    case VK_RIGHT:
        MoveCaret(state, NextCharacter(state.Text, state.Caret), extend);
        return 0;
    case VK_HOME:
        MoveCaret(state, 0, extend);
        return 0;
    case VK_END:
        MoveCaret(state, state.Text.size(), extend);
        return 0;
    case VK_DELETE:
        return OnDeleteKey(window, state);
    default:
        return DefWindowProcA(window, WM_KEYDOWN, key, flags);
    }
}

// WM_SETTEXT ignores the limit, puts the caret at the start and reports the change.
LRESULT OnSetText(HWND window, EditState& state, LPARAM text) {
    state.Text = TextFrom(text);
    ++state.Revision;
    state.Anchor = state.Caret = 0;
    NotifyChanged(window, state);
    return TRUE;
}

LRESULT OnGetText(const EditState& state, WPARAM capacity, LPARAM buffer) {
    char* out = reinterpret_cast<char*>(buffer);
    if (out == nullptr || capacity == 0) {
        return 0;
    }
    const std::size_t copied = std::min<std::size_t>(state.Text.size(), capacity - 1);
    std::memcpy(out, state.Text.data(), copied);
    out[copied] = '\0';
    return static_cast<LRESULT>(copied);
}

// Answers the start in the low word and the end in the high word, or -1 when either does not
// fit in 16 bits; the full values go where the pointers point.
LRESULT OnGetSel(const EditState& state, WPARAM startOut, LPARAM endOut) {
    const std::size_t start = SelectionStart(state);
    const std::size_t end = SelectionEnd(state);
    if (DWORD* out = reinterpret_cast<DWORD*>(startOut)) {
        *out = static_cast<DWORD>(start);
    }
    if (DWORD* out = reinterpret_cast<DWORD*>(endOut)) {
        *out = static_cast<DWORD>(end);
    }
    if (start > 0xFFFF || end > 0xFFFF) {
        return -1;
    }
    return static_cast<LRESULT>(
        static_cast<DWORD>(MAKELONG(static_cast<WORD>(start), static_cast<WORD>(end))));
}

// Start -1 removes the selection and leaves the caret; end -1 (or any value past the text)
// means the end of the text. The caret goes to the end position, so start > end selects
// backwards.
LRESULT OnSetSel(EditState& state, WPARAM start, LPARAM end) {
    const UINT from = static_cast<UINT>(start);
    const UINT to = static_cast<UINT>(end);
    if (from == static_cast<UINT>(-1)) {
        state.Anchor = state.Caret;
        return 0;
    }
    state.Anchor = std::min<std::size_t>(from, state.Text.size());
    state.Caret = std::min<std::size_t>(to, state.Text.size());
    return 0;
}

LRESULT OnLimitText(EditState& state, WPARAM limit) {
    state.Limit = limit == 0 ? LargestLimit : std::min<std::size_t>(limit, LargestLimit);
    return 0;
}

// ---- measuring and drawing ----

int TextWidth(const EditState& state, std::size_t length) {
    return ExtentOf(state.Font, std::string_view(state.Text).substr(0, length)).cx;
}

int ClientWidth(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.right - client.left;
}

// The character boundary nearest to a client x coordinate; extents grow with the length, so
// a binary search over the boundaries needs few measurements.
std::size_t CharacterAt(const EditState& state, int x) {
    const int wanted = x - TextMargin + state.ScrollX;
    std::vector<std::size_t> boundaries{0};
    for (std::size_t at = 0; at < state.Text.size();) {
        at = NextCharacter(state.Text, at);
        boundaries.push_back(at);
    }
    std::size_t low = 0;
    std::size_t high = boundaries.size() - 1;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (TextWidth(state, boundaries[middle + 1]) <= wanted) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    // Past the middle of the next character, the caret goes after it.
    if (low + 1 < boundaries.size()) {
        const int before = TextWidth(state, boundaries[low]);
        const int after = TextWidth(state, boundaries[low + 1]);
        if (wanted - before > after - wanted) {
            ++low;
        }
    }
    return boundaries[low];
}

// Scrolls the text horizontally just enough that the caret shows.
void KeepCaretVisible(HWND window, EditState& state) {
    const int room = std::max(1, ClientWidth(window) - 2 * TextMargin);
    const int caret = TextWidth(state, state.Caret);
    if (caret < state.ScrollX) {
        state.ScrollX = caret;
    } else if (caret - state.ScrollX >= room) {
        state.ScrollX = caret - room + 1;
    }
    state.ScrollX = std::max(
        0, std::min(state.ScrollX, std::max(0, TextWidth(state, state.Text.size()) - room + 1)));
}

bool ShowsSelection(HWND window, const EditState& state) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    return HasSelection(state) && (GetFocus() == window || (style & ES_NOHIDESEL) != 0);
}

// The background in the parent's brush (the static colours when read-only or disabled), the
// text, the selection drawn again over a highlight band, and the caret.
void DrawContent(HWND window, const EditState& state, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    const bool enabled = IsWindowEnabled(window) != FALSE;
    const bool editable = enabled && !IsReadOnly(window);
    FillRect(dc, &client,
             ControlColors(window, dc, editable ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC));
    const SelectedFont font(dc, FontOrDefault(state.Font));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int x = client.left + TextMargin - state.ScrollX;
    const int y = std::max(0, (client.bottom - client.top - metrics.tmHeight) / 2);
    const int length = static_cast<int>(state.Text.size());
    if (!enabled) {
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    SetBkMode(dc, TRANSPARENT);
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &client, state.Text.data(), static_cast<UINT>(length),
                nullptr);
    if (ShowsSelection(window, state)) {
        RECT band{x + TextWidth(state, SelectionStart(state)), y,
                  x + TextWidth(state, SelectionEnd(state)), y + metrics.tmHeight};
        band.left = std::max(band.left, client.left);
        band.right = std::min(band.right, client.right);
        FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        ExtTextOutA(dc, x, y, ETO_CLIPPED, &band, state.Text.data(), static_cast<UINT>(length),
                    nullptr);
    }
    if (GetFocus() == window) {
        const int caretX = x + TextWidth(state, state.Caret);
        const RECT caret{caretX, y, caretX + 1, y + metrics.tmHeight};
        FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
}

LRESULT OnPaint(HWND window, const EditState& state, UINT message, WPARAM wParam) {
    if (message == WM_PAINT) {
        if (const HDC frame = OpenFrameDC(window)) {
            DrawBorder(window, frame);
            CloseFrameDC(window, frame);
        }
    }
    return PaintClient(window, message, wParam, [&](HDC dc) { DrawContent(window, state, dc); });
}

// ---- the mouse ----

// A press takes the focus and puts the caret at the nearest character (Shift extends the
// selection to it); while the button is held, the mouse drags the selection's end.
LRESULT OnLButtonDown(HWND window, EditState& state, WPARAM keys, LPARAM point) {
    if (GetFocus() != window) {
        SetFocus(window);
        if (!ControlAlive(window, &state)) {
            return 0;
        }
    }
    MoveCaret(state, CharacterAt(state, GET_X_LPARAM(point)), (keys & MK_SHIFT) != 0);
    state.Selecting = true;
    SetCapture(window);
    return 0;
}

LRESULT OnMouseMove(HWND window, EditState& state, LPARAM point) {
    if (state.Selecting && GetCapture() == window) {
        MoveCaret(state, CharacterAt(state, GET_X_LPARAM(point)), true);
    }
    return 0;
}

LRESULT OnLButtonUp(HWND window, EditState& state) {
    if (state.Selecting) {
        state.Selecting = false;
        if (GetCapture() == window) {
            ReleaseCapture();
        }
    }
    return 0;
}

LRESULT OnSetFont(HWND window, EditState& state, WPARAM font, LPARAM redraw) {
    state.Font = reinterpret_cast<HFONT>(font);
    if (LOWORD(redraw) != 0) {
        InvalidateRect(window, nullptr, FALSE);
    }
    return 0;
}

LRESULT OnNcCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    if (!CreateControlState<EditState>(window)) {
        return FALSE;
    }
    const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    ControlState<EditState>(window)->Text = TextFrom(reinterpret_cast<LPARAM>(create->lpszName));
    return DefWindowProcA(window, WM_NCCREATE, wParam, lParam);
}

LRESULT OnNcDestroy(HWND window, WPARAM wParam, LPARAM lParam) {
    DestroyControlState<EditState>(window);
    return DefWindowProcA(window, WM_NCDESTROY, wParam, lParam);
}

LRESULT HandleMessage(HWND window, EditState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCDESTROY:
        return OnNcDestroy(window, wParam, lParam);
    case WM_SETTEXT:
        return OnSetText(window, s, lParam);
    case WM_GETTEXT:
        return OnGetText(s, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(s.Text.size());
    case WM_SETFONT:
        return OnSetFont(window, s, wParam, lParam);
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return OnPaint(window, s, message, wParam);
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.Font);
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETFOCUS:
        NotifyParent(window, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        NotifyParent(window, EN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
        return OnLButtonDown(window, s, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnMouseMove(window, s, lParam);
    case WM_LBUTTONUP:
        return OnLButtonUp(window, s);
    case WM_CAPTURECHANGED:
        s.Selecting = false;
        return 0;
    case WM_CHAR:
        return OnChar(window, s, wParam);
    case WM_KEYDOWN:
        return OnKeyDown(window, s, wParam, lParam);
    case EM_GETSEL:
        return OnGetSel(s, wParam, lParam);
    case EM_SETSEL:
        return OnSetSel(s, wParam, lParam);
    case EM_REPLACESEL:
        ReplaceSelection(window, s, TextFrom(lParam));
        return 0;
    case EM_LIMITTEXT:
        return OnLimitText(s, wParam);
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(s.Limit);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// What the edit shows, to tell whether a message changed it.
struct View {
    unsigned Revision;
    std::size_t Anchor;
    std::size_t Caret;
    bool operator==(const View&) const = default;
};

View ViewOf(const EditState& state) {
    return {state.Revision, state.Anchor, state.Caret};
}

bool AlwaysRedraws(UINT message) {
    return message == WM_SETFOCUS || message == WM_KILLFOCUS || message == WM_ENABLE ||
           message == WM_SIZE;
}

} // namespace

// A message that changed the content, the selection or the focus scrolls the caret into view
// and has the edit drawn again.
LRESULT CALLBACK EditWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return OnNcCreate(window, wParam, lParam);
    }
    EditState* state = ControlState<EditState>(window);
    if (state == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const View before = ViewOf(*state);
    const LRESULT result = HandleMessage(window, *state, message, wParam, lParam);
    if (ControlAlive(window, state) && (AlwaysRedraws(message) || !(ViewOf(*state) == before))) {
        KeepCaretVisible(window, *state);
        InvalidateRect(window, nullptr, FALSE);
    }
    return result;
}

} // namespace posix
