// The tooltip control (tooltips_class32): a popup that shows a tool's text when the mouse rests
// over the tool. A tool added with TTF_SUBCLASS gets its window's procedure replaced by one
// that shows the tooltip the window's mouse messages before passing them on; deleting the
// tool puts the window's own procedure back.
//
// Index: tools and state; subclassing of tool windows; showing and hiding; messages; the
// window procedure.

#include "platform/posix/user32/controls/control_common.h"
#include "platform/posix/user32/controls/control_paint.h"
#include "platform/posix/user32/controls/control_text.h"
#include "platform/posix/user32/controls/controls.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace posix {
namespace {

// Timer ids on the tooltip window.
constexpr UINT_PTR InitialTimer = 1; // the mouse rested long enough: show the tip
constexpr UINT_PTR AutoPopTimer = 2; // the tip was shown long enough: hide it

// The tip appears this far below the mouse position, clear of the arrow pointer.
constexpr int PointerHeight = 20;
// Space between the tip's border and its text.
constexpr int TipMargin = 3;
// How tip texts are laid out: '&' is an ordinary character, tabs expand.
constexpr UINT TipFormat = DT_NOPREFIX | DT_EXPANDTABS | DT_LEFT;
// TTM_GETTOOLINFOA copies at most this many bytes of text (terminator included): the caller
// cannot say how large its buffer is, and tooltip texts are documented to fit in 80.
constexpr std::size_t ReadBackTextSize = 80;

struct Tool {
    UINT Flags = 0;               // TTF_ flags given when the tool was added
    HWND Window = nullptr;        // the window named in the record
    UINT_PTR Id = 0;              // the tool's id; the tool window itself with TTF_IDISHWND
    RECT Area{};                  // the tool's rectangle in the window's client coordinates
    HINSTANCE Instance = nullptr; // the record's instance, kept for read-back
    std::string Text;             // the tip text
    LPARAM Data = 0;              // the record's lParam
    bool Subclassed = false;      // this tool subclassed its window
};

struct ToolTipState {
    std::vector<Tool> Tools; // the tools, in the order they were added
    bool Active = true;      // TTM_ACTIVATE: tips may show at all
    int MaxTipWidth = -1;    // TTM_SETMAXTIPWIDTH; -1 for no limit
    bool HasCurrent = false; // the mouse is over a tool
    HWND CurrentWindow{};    // the window named by that tool
    UINT_PTR CurrentId = 0;  // the id of that tool
    POINT LastPoint{};       // screen position of the last mouse move over it
    bool Shown = false;      // the tip is on the screen
    bool Suppressed = false; // a click or the auto-pop hid the tip until the mouse leaves
    HFONT Font = nullptr;    // font set by WM_SETFONT
};

// The window whose mouse messages belong to the tool.
HWND WatchedWindow(const Tool& tool) {
    return (tool.Flags & TTF_IDISHWND) != 0 ? reinterpret_cast<HWND>(tool.Id) : tool.Window;
}

bool IsTool(const Tool& tool, HWND window, UINT_PTR id) {
    return tool.Window == window && tool.Id == id;
}

Tool* FindTool(ToolTipState& state, HWND window, UINT_PTR id) {
    const auto found = std::find_if(state.Tools.begin(), state.Tools.end(),
                                    [&](const Tool& tool) { return IsTool(tool, window, id); });
    return found != state.Tools.end() ? &*found : nullptr;
}

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

// A TTF_IDISHWND tool covers its window's whole client area.
const Tool* ToolAt(const ToolTipState& state, HWND watched, POINT point) {
    for (const Tool& tool : state.Tools) {
        if (WatchedWindow(tool) != watched) {
            continue;
        }
        RECT area = tool.Area;
        if ((tool.Flags & TTF_IDISHWND) != 0) {
            GetClientRect(watched, &area);
        }
        if (Contains(area, point)) {
            return &tool;
        }
    }
    return nullptr;
}

// A text pointer may also be the callback marker or a resource number; neither is read.
bool IsReadableText(LPCSTR text) {
    return text != nullptr && text != LPSTR_TEXTCALLBACKA &&
           (reinterpret_cast<ULONG_PTR>(text) >> 16) != 0;
}

std::string TextOf(const TOOLINFOA& info) {
    return IsReadableText(info.lpszText) ? std::string(info.lpszText) : std::string();
}

bool IsAcceptedRecord(const TOOLINFOA* info) {
    return info != nullptr && info->cbSize >= TTTOOLINFOA_V1_SIZE;
}

// ---- subclassing of tool windows ----

LRESULT CALLBACK ToolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct Subclass {
    WNDPROC Original;           // the procedure the window had before
    std::vector<HWND> ToolTips; // one entry per subclassing tool (a tooltip may repeat)
};

std::map<HWND, Subclass>& Subclasses() {
    static std::map<HWND, Subclass> subclasses;
    return subclasses;
}

bool SubclassWindow(HWND watched, HWND toolTip) {
    std::map<HWND, Subclass>& subclasses = Subclasses();
    if (const auto found = subclasses.find(watched); found != subclasses.end()) {
        found->second.ToolTips.push_back(toolTip);
        return true;
    }
    const WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(watched, GWLP_WNDPROC));
    if (original == nullptr) {
        return false;
    }
    SetWindowLongPtrA(watched, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ToolWindowProc));
    subclasses.emplace(watched, Subclass{original, {toolTip}});
    return true;
}

// When the last tool lets go, the window gets its own procedure back, unless someone else
// subclassed it after us; we then stay in its chain, passing everything on.
void UnsubclassWindow(HWND watched, HWND toolTip) {
    std::map<HWND, Subclass>& subclasses = Subclasses();
    const auto found = subclasses.find(watched);
    if (found == subclasses.end()) {
        return;
    }
    std::vector<HWND>& toolTips = found->second.ToolTips;
    const auto entry = std::find(toolTips.begin(), toolTips.end(), toolTip);
    if (entry != toolTips.end()) {
        toolTips.erase(entry);
    }
    const WNDPROC current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(watched, GWLP_WNDPROC));
    if (toolTips.empty() && current == &ToolWindowProc) {
        SetWindowLongPtrA(watched, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(found->second.Original));
        subclasses.erase(found);
    }
}

// ---- showing and hiding ----

ToolTipState* StateOf(HWND toolTip) {
    return ControlState<ToolTipState>(toolTip);
}

void HideTip(HWND toolTip, ToolTipState& state) {
    KillTimer(toolTip, AutoPopTimer);
    if (state.Shown) {
        state.Shown = false;
        ShowWindow(toolTip, SW_HIDE);
    }
}

// The mouse left the current tool (or the tool went away): the next tool starts afresh.
void LeaveTool(HWND toolTip, ToolTipState& state) {
    KillTimer(toolTip, InitialTimer);
    HideTip(toolTip, state);
    state.HasCurrent = false;
    state.Suppressed = false;
}

struct TipSize {
    int Width;
    int Height;
};

// The text's size in the tip's font, wrapped at MaxTipWidth pixels when that is set, plus the
// margins.
TipSize MeasureTip(const ToolTipState& state, const std::string& text) {
    const bool wraps = state.MaxTipWidth > 0;
    const int width = wraps ? std::min(state.MaxTipWidth, 0x7FFF) : 0;
    const SIZE size = FormattedExtentOf(state.Font, text, width,
                                        TipFormat | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    return {size.cx + 2 * TipMargin, size.cy + 2 * TipMargin};
}

// The classic tip: the info background, a 1-pixel frame and the text in the info text colour.
void DrawTip(HWND toolTip, const ToolTipState& state, HDC dc) {
    RECT client{};
    GetClientRect(toolTip, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    FrameRect(dc, &client, GetSysColorBrush(COLOR_INFOTEXT));
    const SelectedFont font(dc, FontOrDefault(state.Font));
    std::string text(static_cast<std::size_t>(std::max(0, GetWindowTextLengthA(toolTip))) + 1,
                     '\0');
    const int length = GetWindowTextA(toolTip, text.data(), static_cast<int>(text.size()));
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    SetBkMode(dc, TRANSPARENT);
    RECT place = Inset(client, TipMargin, TipMargin);
    DrawTextA(dc, text.c_str(), length, &place,
              TipFormat | (state.MaxTipWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
}

// Shows the current tool's text under the mouse; a tool without text shows nothing.
void ShowTip(HWND toolTip, ToolTipState& state) {
    const Tool* tool =
        state.HasCurrent ? FindTool(state, state.CurrentWindow, state.CurrentId) : nullptr;
    if (tool == nullptr || !state.Active || state.Suppressed || tool->Text.empty()) {
        return;
    }
    SetWindowTextA(toolTip, tool->Text.c_str());
    if (!ControlAlive(toolTip, &state)) {
        return;
    }
    const TipSize size = MeasureTip(state, tool->Text);
    state.Shown = true;
    SetWindowPos(toolTip, HWND_TOPMOST, state.LastPoint.x, state.LastPoint.y + PointerHeight,
                 size.Width, size.Height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (ControlAlive(toolTip, &state)) {
        InvalidateRect(toolTip, nullptr, FALSE);
        SetTimer(toolTip, AutoPopTimer, 10 * GetDoubleClickTime(), nullptr);
    }
}

// Leaving the window is reported by WM_MOUSELEAVE, asked for here.
void TrackLeave(HWND watched) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, watched, HOVER_DEFAULT};
    _TrackMouseEvent(&track);
}

// A mouse move over a watched window. Entering a tool starts the initial delay; moving on
// within it restarts the delay until the tip shows, so the tip waits for the mouse to rest.
void OnToolMouseMove(HWND toolTip, ToolTipState& state, HWND watched, LPARAM position) {
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    const Tool* tool = ToolAt(state, watched, point);
    if (tool == nullptr) {
        LeaveTool(toolTip, state);
        return;
    }
    ClientToScreen(watched, &point);
    if (!state.HasCurrent || !IsTool(*tool, state.CurrentWindow, state.CurrentId)) {
        LeaveTool(toolTip, state);
        state.HasCurrent = true;
        state.CurrentWindow = tool->Window;
        state.CurrentId = tool->Id;
        TrackLeave(watched);
    }
    if (state.Shown || state.Suppressed) {
        return;
    }
    state.LastPoint = point;
    SetTimer(toolTip, InitialTimer, GetDoubleClickTime(), nullptr);
}

// A click on the tool hides its tip until the mouse leaves the tool.
void OnToolClick(HWND toolTip, ToolTipState& state) {
    KillTimer(toolTip, InitialTimer);
    HideTip(toolTip, state);
    state.Suppressed = state.HasCurrent;
}

void RelayToToolTip(HWND toolTip, HWND watched, UINT message, LPARAM lParam) {
    ToolTipState* state = StateOf(toolTip);
    if (state == nullptr) {
        return;
    }
    switch (message) {
    case WM_MOUSEMOVE:
        OnToolMouseMove(toolTip, *state, watched, lParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        OnToolClick(toolTip, *state);
        break;
    case WM_MOUSELEAVE:
        LeaveTool(toolTip, *state);
        break;
    default:
        break;
    }
}

// The watched window is going away: its tools stay listed, but nothing is subclassed any more.
void ForgetWindow(HWND toolTip, HWND watched) {
    ToolTipState* state = StateOf(toolTip);
    if (state == nullptr) {
        return;
    }
    for (Tool& tool : state->Tools) {
        if (WatchedWindow(tool) == watched) {
            tool.Subclassed = false;
            if (state->HasCurrent && IsTool(tool, state->CurrentWindow, state->CurrentId)) {
                LeaveTool(toolTip, *state);
            }
        }
    }
}

bool IsRelayed(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_MOUSELEAVE;
}

LRESULT CALLBACK ToolWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::map<HWND, Subclass>& subclasses = Subclasses();
    auto found = subclasses.find(window);
    if (found == subclasses.end()) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (IsRelayed(message)) {
        const std::vector<HWND> toolTips = found->second.ToolTips;
        for (HWND toolTip : toolTips) {
            RelayToToolTip(toolTip, window, message, lParam);
        }
        found = subclasses.find(window);
        if (found == subclasses.end()) {
            return CallWindowProcA(
                reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), window, message,
                wParam, lParam);
        }
    }
    const LRESULT result = CallWindowProcA(found->second.Original, window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        found = subclasses.find(window);
        if (found != subclasses.end()) {
            const std::vector<HWND> toolTips = found->second.ToolTips;
            subclasses.erase(found);
            for (HWND toolTip : toolTips) {
                ForgetWindow(toolTip, window);
            }
        }
    }
    return result;
}

// ---- messages ----

LRESULT OnAddTool(HWND toolTip, ToolTipState& state, LPARAM record) {
    const TOOLINFOA* info = reinterpret_cast<const TOOLINFOA*>(record);
    if (!IsAcceptedRecord(info)) {
        return FALSE;
    }
    Tool tool;
    tool.Flags = info->uFlags;
    tool.Window = info->hwnd;
    tool.Id = info->uId;
    tool.Area = info->rect;
    tool.Instance = info->hinst;
    tool.Text = TextOf(*info);
    tool.Data = info->cbSize >= TTTOOLINFOA_V2_SIZE ? info->lParam : 0;
    if ((tool.Flags & TTF_SUBCLASS) != 0 && IsWindow(WatchedWindow(tool))) {
        tool.Subclassed = SubclassWindow(WatchedWindow(tool), toolTip);
    }
    state.Tools.push_back(std::move(tool));
    return TRUE;
}

void RemoveTool(HWND toolTip, ToolTipState& state, std::vector<Tool>::iterator tool) {
    if (state.HasCurrent && IsTool(*tool, state.CurrentWindow, state.CurrentId)) {
        LeaveTool(toolTip, state);
    }
    if (tool->Subclassed) {
        UnsubclassWindow(WatchedWindow(*tool), toolTip);
    }
    state.Tools.erase(tool);
}

LRESULT OnDeleteTool(HWND toolTip, ToolTipState& state, LPARAM record) {
    const TOOLINFOA* info = reinterpret_cast<const TOOLINFOA*>(record);
    if (!IsAcceptedRecord(info)) {
        return 0;
    }
    const auto tool = std::find_if(state.Tools.begin(), state.Tools.end(),
                                   [&](const Tool& t) { return IsTool(t, info->hwnd, info->uId); });
    if (tool != state.Tools.end()) {
        RemoveTool(toolTip, state, tool);
    }
    return 0;
}

// Fills the caller's record with the tool's settings; the text goes into the caller's buffer,
// cut to ReadBackTextSize.
LRESULT OnGetToolInfo(ToolTipState& state, LPARAM record) {
    TOOLINFOA* info = reinterpret_cast<TOOLINFOA*>(record);
    if (!IsAcceptedRecord(info)) {
        return FALSE;
    }
    const Tool* tool = FindTool(state, info->hwnd, info->uId);
    if (tool == nullptr) {
        return FALSE;
    }
    info->uFlags = tool->Flags;
    info->rect = tool->Area;
    info->hinst = tool->Instance;
    if (IsReadableText(info->lpszText)) {
        const std::size_t length = std::min(tool->Text.size(), ReadBackTextSize - 1);
        std::memcpy(info->lpszText, tool->Text.data(), length);
        info->lpszText[length] = '\0';
    }
    if (info->cbSize >= TTTOOLINFOA_V2_SIZE) {
        info->lParam = tool->Data;
    }
    return TRUE;
}

// A new text shows at once when the tool's tip is on the screen.
LRESULT OnUpdateTipText(HWND toolTip, ToolTipState& state, LPARAM record) {
    const TOOLINFOA* info = reinterpret_cast<const TOOLINFOA*>(record);
    if (!IsAcceptedRecord(info)) {
        return 0;
    }
    Tool* tool = FindTool(state, info->hwnd, info->uId);
    if (tool == nullptr) {
        return 0;
    }
    tool->Text = TextOf(*info);
    if (state.Shown && IsTool(*tool, state.CurrentWindow, state.CurrentId)) {
        HideTip(toolTip, state);
        ShowTip(toolTip, state);
    }
    return 0;
}

LRESULT OnActivate(HWND toolTip, ToolTipState& state, WPARAM active) {
    state.Active = active != 0;
    if (!state.Active) {
        KillTimer(toolTip, InitialTimer);
        HideTip(toolTip, state);
    }
    return 0;
}

LRESULT OnSetMaxTipWidth(ToolTipState& state, LPARAM width) {
    const int previous = state.MaxTipWidth;
    state.MaxTipWidth = static_cast<int>(width);
    return previous;
}

// The tip goes away and stays away until the mouse leaves the tool.
LRESULT OnPop(HWND toolTip, ToolTipState& state) {
    KillTimer(toolTip, InitialTimer);
    HideTip(toolTip, state);
    state.Suppressed = state.HasCurrent;
    return 0;
}

// Both timers fire once.
LRESULT OnTimer(HWND toolTip, ToolTipState& state, WPARAM id) {
    KillTimer(toolTip, id);
    if (id == InitialTimer) {
        ShowTip(toolTip, state);
    } else if (id == AutoPopTimer) {
        OnPop(toolTip, state);
    }
    return 0;
}

LRESULT OnNcCreate(HWND toolTip, WPARAM wParam, LPARAM lParam) {
    if (!CreateControlState<ToolTipState>(toolTip)) {
        return FALSE;
    }
    return DefWindowProcA(toolTip, WM_NCCREATE, wParam, lParam);
}

// The tools' windows get their procedures back before the tooltip goes.
LRESULT OnNcDestroy(HWND toolTip, ToolTipState& state, WPARAM wParam, LPARAM lParam) {
    while (!state.Tools.empty()) {
        RemoveTool(toolTip, state, state.Tools.end() - 1);
    }
    DestroyControlState<ToolTipState>(toolTip);
    return DefWindowProcA(toolTip, WM_NCDESTROY, wParam, lParam);
}

} // namespace

LRESULT CALLBACK ToolTipWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        return OnNcCreate(window, wParam, lParam);
    }
    ToolTipState* state = StateOf(window);
    if (state == nullptr) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    ToolTipState& s = *state;
    switch (message) {
    case WM_NCDESTROY:
        return OnNcDestroy(window, s, wParam, lParam);
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_TIMER:
        return OnTimer(window, s, wParam);
    case WM_SETFONT:
        s.Font = reinterpret_cast<HFONT>(wParam);
        return 0;
    case WM_ERASEBKGND:
        return TRUE;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintClient(window, message, wParam, [&](HDC dc) { DrawTip(window, s, dc); });
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.Font);
    case TTM_ADDTOOLA:
        return OnAddTool(window, s, lParam);
    case TTM_DELTOOLA:
        return OnDeleteTool(window, s, lParam);
    case TTM_GETTOOLINFOA:
        return OnGetToolInfo(s, lParam);
    case TTM_UPDATETIPTEXTA:
        return OnUpdateTipText(window, s, lParam);
    case TTM_GETTOOLCOUNT:
        return static_cast<LRESULT>(s.Tools.size());
    case TTM_ACTIVATE:
        return OnActivate(window, s, wParam);
    case TTM_POP:
        return OnPop(window, s);
    case TTM_SETMAXTIPWIDTH:
        return OnSetMaxTipWidth(s, lParam);
    case TTM_GETMAXTIPWIDTH:
        return s.MaxTipWidth;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace posix

// The tooltip class, the only common control of the layer, is registered with the system
// classes, so initialisation has nothing left to do.
void WINAPI InitCommonControls() {}

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    return init != nullptr && init->dwSize == sizeof(INITCOMMONCONTROLSEX) ? TRUE : FALSE;
}
