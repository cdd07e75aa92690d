#include "platform/posix/testing/call_recorder.h"
#include "platform/posix/testing/driver_hooks.h"
#include "platform/posix/user32/controls/control_text.h"
#include "platform/posix/user32/modal_window.h"
#include "platform/win32.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Index: 1. buttons and layout  2. the box window  3. the modal loop  4. the API

// ---------------------------------------------------------------------------------------
// 1. Buttons and layout
// ---------------------------------------------------------------------------------------

struct ButtonSpec {
    int Id;
    const char* Label;
};

// The buttons of a box type, left to right; empty for a type this layer does not offer.
std::vector<ButtonSpec> ButtonsOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return {{IDOK, "OK"}};
    case MB_OKCANCEL:
        return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO:
        return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    default:
        return {};
    }
}

// What Escape and the close request answer: Cancel where there is one, OK in a box with only
// OK; nothing in a Yes/No box, which answers only through its buttons.
int CancelAnswerOf(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_OKCANCEL:
        return IDCANCEL;
    default:
        return 0;
    }
}

constexpr int margin = 11;
constexpr int minButtonWidth = 75;
constexpr int buttonHeight = 23;
constexpr int buttonGap = 6;
// Room beside a button's caption.
constexpr int buttonPadding = 16;

// The box draws in the default GUI font.
HFONT BoxFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The format the box's text is drawn in, by its STATIC control (SS_LEFT | SS_NOPREFIX).
constexpr UINT textFormat = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

struct Extent {
    int Width;
    int Height;
};

struct Layout {
    Extent Client;
    RECT Text;
    std::vector<RECT> Buttons;
};

// Buttons are as wide as the widest caption needs, at least the classic 75 pixels.
int ButtonWidthFor(const std::vector<ButtonSpec>& buttons) {
    int width = minButtonWidth;
    for (const ButtonSpec& button : buttons) {
        width = std::max(
            width, static_cast<int>(
                       posix::FormattedExtentOf(BoxFont(), button.Label, 0, DT_SINGLELINE).cx) +
                       buttonPadding);
    }
    return width;
}

// The text above, the buttons centred in a row below it. Lines are as long as the text makes
// them, wrapped at three quarters of the screen.
Layout LayOut(const std::string& text, const std::vector<ButtonSpec>& buttons) {
    const int widest = GetSystemMetrics(SM_CXSCREEN) * 3 / 4;
    const SIZE measured = posix::FormattedExtentOf(BoxFont(), text, widest, textFormat);
    const int textWidth = std::min(static_cast<int>(measured.cx), widest);
    const int textHeight = std::min(static_cast<int>(measured.cy), GetSystemMetrics(SM_CYSCREEN));
    const int buttonWidth = ButtonWidthFor(buttons);
    const int count = static_cast<int>(buttons.size());
    const int rowWidth = count * (buttonWidth + buttonGap) - buttonGap;

    Layout layout;
    layout.Client.Width = std::max(textWidth, rowWidth) + 2 * margin;
    layout.Text = {margin, margin, margin + textWidth, margin + textHeight};
    const int buttonTop = layout.Text.bottom + margin;
    layout.Client.Height = buttonTop + buttonHeight + margin;
    int left = (layout.Client.Width - rowWidth) / 2;
    for (int i = 0; i < count; ++i) {
        layout.Buttons.push_back({left, buttonTop, left + buttonWidth, buttonTop + buttonHeight});
        left += buttonWidth + buttonGap;
    }
    return layout;
}

// ---------------------------------------------------------------------------------------
// 2. The box window
// ---------------------------------------------------------------------------------------

struct BoxButton {
    HWND Window;
    int Id;
};

// One running box; it lives on the stack of MessageBoxA, the window points to it.
struct BoxState {
    UINT Type;
    int Answer = 0;                 // 0 while the box runs
    std::vector<BoxButton> Buttons; // left to right
    std::size_t DefaultButton = 0;  // index in Buttons
    WNDPROC ButtonProc = nullptr;   // the BUTTON class procedure, under the box's own
};

constexpr char boxClassName[] = "#32770";
constexpr char defaultCaption[] = "Error";

BoxState* StateOf(HWND box) {
    return reinterpret_cast<BoxState*>(GetWindowLongPtrA(box, 0));
}

// Enter presses the button that has the focus; Escape is the close request; Tab and the arrow
// keys move the focus between the buttons. Answers whether the key was used.
bool HandleKey(HWND box, BoxState& state, std::size_t focused, WPARAM key) {
    const std::size_t count = state.Buttons.size();
    switch (key) {
    case VK_RETURN:
        state.Answer = state.Buttons[focused].Id;
        return true;
    case VK_ESCAPE:
        SendMessageA(box, WM_CLOSE, 0, 0);
        return true;
    case VK_TAB:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: {
        const bool backwards =
            key == VK_LEFT || key == VK_UP || (key == VK_TAB && GetKeyState(VK_SHIFT) < 0);
        SetFocus(state.Buttons[backwards ? (focused + count - 1) % count : (focused + 1) % count]
                     .Window);
        return true;
    }
    default:
        return false;
    }
}

// The box's buttons take the box's keys whichever loop dispatches them.
LRESULT CALLBACK BoxButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND box = GetParent(button);
    BoxState* state = StateOf(box);
    if (state == nullptr) {
        return DefWindowProcA(button, message, wParam, lParam);
    }
    if (message == WM_KEYDOWN) {
        const auto at = std::find_if(state->Buttons.begin(), state->Buttons.end(),
                                     [button](const BoxButton& b) { return b.Window == button; });
        if (at != state->Buttons.end() &&
            HandleKey(box, *state, std::size_t(at - state->Buttons.begin()), wParam)) {
            return 0;
        }
    }
    return CallWindowProcA(state->ButtonProc, button, message, wParam, lParam);
}

LRESULT CALLBACK BoxWindowProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(box, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    BoxState* state = StateOf(box);
    if (state == nullptr) {
        return DefWindowProcA(box, message, wParam, lParam);
    }
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED) {
            state->Answer = LOWORD(wParam);
        }
        return 0;
    case WM_CLOSE:
        state->Answer = CancelAnswerOf(state->Type);
        return 0;
    case WM_SETFOCUS:
        // The box itself never keeps the focus: it goes on to the default button.
        if (state->DefaultButton < state->Buttons.size()) {
            SetFocus(state->Buttons[state->DefaultButton].Window);
        }
        return 0;
    case WM_KEYDOWN:
        if (state->DefaultButton < state->Buttons.size() &&
            HandleKey(box, *state, state->DefaultButton, wParam)) {
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(box, message, wParam, lParam);
}

WNDPROC SystemButtonProc() {
    WNDCLASSA wndClass{};
    return GetClassInfoA(nullptr, "BUTTON", &wndClass) ? wndClass.lpfnWndProc : nullptr;
}

// Centred on the owner, or on the screen when there is none.
POINT PlaceBox(HWND owner, Extent outer) {
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner != nullptr) {
        GetWindowRect(owner, &around);
    }
    return {around.left + (around.right - around.left - outer.Width) / 2,
            around.top + (around.bottom - around.top - outer.Height) / 2};
}

constexpr DWORD boxStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD boxExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

void AddButtons(HWND box, const Layout& layout, BoxState& state) {
    const std::vector<ButtonSpec> buttons = ButtonsOf(state.Type);
    state.DefaultButton = (state.Type & MB_DEFMASK) == MB_DEFBUTTON2 && buttons.size() > 1 ? 1 : 0;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const RECT& place = layout.Buttons[i];
        const DWORD kind = i == state.DefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        const HWND button = CreateWindowExA(
            0, "BUTTON", buttons[i].Label, WS_CHILD | WS_VISIBLE | WS_TABSTOP | kind, place.left,
            place.top, place.right - place.left, place.bottom - place.top, box,
            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(buttons[i].Id)),
            GetModuleHandleA(nullptr), nullptr);
        if (button != nullptr) {
            SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(BoxFont()), FALSE);
            SetWindowLongPtrA(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BoxButtonProc));
            state.Buttons.push_back({button, buttons[i].Id});
        }
    }
}

HWND MakeBox(HWND owner, const std::string& text, LPCSTR caption, BoxState& state) {
    state.ButtonProc = SystemButtonProc();
    if (!posix::EnsureModalClass(boxClassName, &BoxWindowProc) || state.ButtonProc == nullptr) {
        return nullptr;
    }
    const Layout layout = LayOut(text, ButtonsOf(state.Type));
    RECT outer{0, 0, layout.Client.Width, layout.Client.Height};
    AdjustWindowRectEx(&outer, boxStyle, FALSE, boxExStyle);
    const Extent outerSize{outer.right - outer.left, outer.bottom - outer.top};
    const POINT at = PlaceBox(owner, outerSize);
    const HWND box = CreateWindowExA(
        boxExStyle, boxClassName, caption != nullptr ? caption : defaultCaption, boxStyle, at.x,
        at.y, outerSize.Width, outerSize.Height, owner, nullptr, GetModuleHandleA(nullptr), &state);
    if (box == nullptr) {
        return nullptr;
    }
    const RECT& textRect = layout.Text;
    const HWND label = CreateWindowExA(
        0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, textRect.left,
        textRect.top, textRect.right - textRect.left, textRect.bottom - textRect.top, box, nullptr,
        GetModuleHandleA(nullptr), nullptr);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(BoxFont()), FALSE);
    AddButtons(box, layout, state);
    if (state.Buttons.empty()) {
        DestroyWindow(box);
        return nullptr;
    }
    ShowWindow(box, SW_SHOWNORMAL);
    SetForegroundWindow(box);
    SetFocus(state.Buttons[state.DefaultButton].Window);
    return box;
}

// ---------------------------------------------------------------------------------------
// 3. The modal loop
// ---------------------------------------------------------------------------------------

// Runs until an answer is given. A WM_QUIT or the box destroyed by someone else ends it with
// the answer Escape gives (IDNO in a Yes/No box).
int AnswerOf(HWND box, BoxState& state) {
    if (posix::RunModalLoop(box, [&state] { return state.Answer != 0; })) {
        return state.Answer;
    }
    return CancelAnswerOf(state.Type) != 0 ? CancelAnswerOf(state.Type) : IDNO;
}

} // namespace

// ---------------------------------------------------------------------------------------
// 4. The API
// ---------------------------------------------------------------------------------------

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    if (ButtonsOf(type).empty()) {
        SetLastError(ERROR_INVALID_MSGBOX_STYLE);
        return 0;
    }
    if (owner != nullptr && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    // Recorded as shown: the caption, a line break, then the text.
    posix::RecordCall(testdriver::ApiFamily::Dialogs, "MessageBoxA",
                      {reinterpret_cast<std::uintptr_t>(owner), type},
                      std::string(caption != nullptr ? caption : defaultCaption) + "\n" +
                          (text != nullptr ? text : ""));
    if (const std::optional<int> scripted = posix::TakeMessageBoxAnswer()) {
        return *scripted;
    }
    BoxState state{type, 0, {}, 0, nullptr};
    const HWND previousFocus = GetFocus();
    const bool ownerWasEnabled = owner != nullptr && !EnableWindow(owner, FALSE);
    const HWND box = MakeBox(owner, text != nullptr ? text : "", caption, state);
    const int answer = box != nullptr ? AnswerOf(box, state) : 0;
    // The owner is enabled again before the box goes, so that it can take the activation back.
    if (ownerWasEnabled && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
    }
    if (IsWindow(box)) {
        DestroyWindow(box);
    }
    if (previousFocus != nullptr && IsWindow(previousFocus)) {
        SetFocus(previousFocus);
    }
    return answer;
}
