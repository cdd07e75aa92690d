#include "tests/platform/user32/MessageSequence.h"

#include "tests/support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace sequence {

namespace {

std::vector<Recorded> log;
const std::vector<UINT> defaultIgnored{WM_NCHITTEST, WM_SETCURSOR, WM_GETICON, WM_NCPAINT,
                                       WM_QUERYNEWPALETTE};
std::vector<UINT> ignored = defaultIgnored;
HWND parent = nullptr;
std::map<HWND, WNDPROC> originalProcs;
// Windows whose default processing is running, innermost last.
std::vector<HWND> inDefault;
std::uint64_t lastPostedSerial = 0;

unsigned ArrivalOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    std::uint64_t serial = 0;
    const MSG* dispatched = testsession::MessageBeingDispatched(&serial);
    if (dispatched != nullptr && serial != lastPostedSerial && dispatched->hwnd == window &&
        dispatched->message == message && dispatched->wParam == wParam &&
        dispatched->lParam == lParam) {
        lastPostedSerial = serial;
        return Posted;
    }
    return Sent;
}

// The messages of input methods, WM_IME_SETCONTEXT (0x0281) to WM_IME_KEYUP (0x0291), which
// Windows sends on activation and our layer, having no input methods, never does.
bool IsInputMethodMessage(UINT message) {
    return message >= 0x0281 && message <= 0x0291;
}

// Wine's default processing reads a window's text through WM_GETTEXT to draw its caption,
// where Windows and our layer read it directly.
bool IsCaptionDrawing(UINT message, unsigned flags) {
    return message == WM_GETTEXT && (flags & DefProc) != 0;
}

void Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsInputMethodMessage(message) ||
        std::find(ignored.begin(), ignored.end(), message) != ignored.end()) {
        return;
    }
    unsigned flags = ArrivalOf(window, message, wParam, lParam);
    if (window == parent) {
        flags |= Parent;
    }
    if (!inDefault.empty() && inDefault.back() == window) {
        flags |= DefProc;
    }
    if (IsCaptionDrawing(message, flags)) {
        return;
    }
    log.push_back({window, message, flags, wParam, lParam});
}

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Record(window, message, wParam, lParam);
    inDefault.push_back(window);
    const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
    inDefault.pop_back();
    return result;
}

LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Record(window, message, wParam, lParam);
    const auto original = originalProcs.find(window);
    if (original == originalProcs.end()) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    const WNDPROC proc = original->second;
    if (message == WM_NCDESTROY) {
        originalProcs.erase(original);
    }
    inDefault.push_back(window);
    const LRESULT result = CallWindowProcA(proc, window, message, wParam, lParam);
    inDefault.pop_back();
    return result;
}

bool Matches(const Expected& expected, const Recorded& actual) {
    constexpr unsigned Arrival = Sent | Posted | Parent;
    if (expected.Message != actual.Message ||
        (expected.Flags & Arrival) != (actual.Flags & Arrival)) {
        return false;
    }
    if ((expected.Flags & DefProc) != 0 && (actual.Flags & DefProc) == 0) {
        return false;
    }
    if ((expected.Flags & WParam) != 0 && expected.WParamValue != actual.WParamValue) {
        return false;
    }
    return (expected.Flags & LParam) == 0 || expected.LParamValue == actual.LParamValue;
}

std::string FlagsText(unsigned flags) {
    std::string text;
    const std::pair<unsigned, const char*> names[] = {
        {Sent, "sent"},         {Posted, "posted"},   {Parent, "parent"},
        {Optional, "optional"}, {DefProc, "defproc"},
    };
    for (const auto& [flag, name] : names) {
        if ((flags & flag) != 0) {
            text += text.empty() ? name : std::string("|") + name;
        }
    }
    return text;
}

std::string Describe(UINT message, unsigned flags, WPARAM wParam, LPARAM lParam, bool values) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, " wParam=0x%llx lParam=0x%llx",
                  static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam));
    return MessageName(message) + " " + FlagsText(flags) + (values ? buffer : "");
}

std::string ExpectedText(std::span<const Expected> expected) {
    std::string text;
    for (const Expected& entry : expected) {
        text += "  " +
                Describe(entry.Message, entry.Flags, entry.WParamValue, entry.LParamValue,
                         (entry.Flags & (WParam | LParam)) != 0) +
                "\n";
    }
    return text;
}

std::string ActualText() {
    std::string text;
    for (const Recorded& entry : log) {
        text += "  " +
                Describe(entry.Message, entry.Flags, entry.WParamValue, entry.LParamValue, true) +
                "\n";
    }
    return text;
}

// The first difference, or an empty text when the log follows the expectation.
std::string FirstDifference(std::span<const Expected> expected) {
    std::size_t want = 0;
    std::size_t got = 0;
    while (want < expected.size() && got < log.size()) {
        if (Matches(expected[want], log[got])) {
            ++want;
            ++got;
        } else if ((expected[want].Flags & Optional) != 0) {
            ++want;
        } else {
            const bool values = (expected[want].Flags & (WParam | LParam)) != 0;
            return "expected " +
                   Describe(expected[want].Message, expected[want].Flags,
                            expected[want].WParamValue, expected[want].LParamValue, values) +
                   " at position " + std::to_string(got) + ", got " +
                   Describe(log[got].Message, log[got].Flags, log[got].WParamValue,
                            log[got].LParamValue, values);
        }
    }
    for (; want < expected.size(); ++want) {
        if ((expected[want].Flags & Optional) == 0) {
            return "missing " + Describe(expected[want].Message, expected[want].Flags, 0, 0, false);
        }
    }
    if (got < log.size()) {
        return "unexpected " + Describe(log[got].Message, log[got].Flags, 0, 0, false);
    }
    return {};
}

} // namespace

void RegisterRecordingClass(UINT classStyle) {
    WNDCLASSA wndClass{};
    wndClass.style = classStyle;
    wndClass.lpfnWndProc = RecordingProc;
    wndClass.lpszClassName = RecordingClass;
    RegisterClassA(&wndClass);
    Clear();
    parent = nullptr;
    ignored = defaultIgnored;
}

void RecordWindow(HWND window) {
    const auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    originalProcs[window] = previous;
}

void SetParentWindow(HWND window) {
    parent = window;
}

void SetIgnored(std::initializer_list<UINT> messages) {
    ignored.assign(messages.begin(), messages.end());
}

void IgnorePainting() {
    ignored = defaultIgnored;
    ignored.insert(ignored.end(),
                   {WM_PAINT, WM_ERASEBKGND, WM_CTLCOLORBTN, WM_CTLCOLORSTATIC, WM_CTLCOLORLISTBOX,
                    WM_CTLCOLOREDIT, WM_GETTEXT, WM_GETTEXTLENGTH});
}

const std::vector<Recorded>& Log() {
    return log;
}

void Clear() {
    log.clear();
}

void ExpectSequence(std::span<const Expected> expected, const std::string& context,
                    std::source_location where) {
    const std::string difference = FirstDifference(expected);
    if (!difference.empty()) {
        ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
            << context << ": " << difference << "\nexpected:\n"
            << ExpectedText(expected) << "recorded:\n"
            << ActualText();
    }
    Clear();
}

std::string MessageName(UINT message) {
    static const std::map<UINT, const char*> names = {
        {WM_CREATE, "WM_CREATE"},
        {WM_DESTROY, "WM_DESTROY"},
        {WM_MOVE, "WM_MOVE"},
        {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"},
        {WM_SETFOCUS, "WM_SETFOCUS"},
        {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"},
        {WM_SETTEXT, "WM_SETTEXT"},
        {WM_GETTEXT, "WM_GETTEXT"},
        {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
        {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"},
        {WM_QUIT, "WM_QUIT"},
        {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_ENDSESSION, "WM_ENDSESSION"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"},
        {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"},
        {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_SETCURSOR, "WM_SETCURSOR"},
        {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"},
        {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_STYLECHANGING, "WM_STYLECHANGING"},
        {WM_STYLECHANGED, "WM_STYLECHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"},
        {WM_NCDESTROY, "WM_NCDESTROY"},
        {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCHITTEST, "WM_NCHITTEST"},
        {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"},
        {WM_KEYDOWN, "WM_KEYDOWN"},
        {WM_KEYUP, "WM_KEYUP"},
        {WM_CHAR, "WM_CHAR"},
        {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, "WM_SYSKEYUP"},
        {WM_SYSCHAR, "WM_SYSCHAR"},
        {WM_COMMAND, "WM_COMMAND"},
        {WM_SYSCOMMAND, "WM_SYSCOMMAND"},
        {WM_TIMER, "WM_TIMER"},
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"},
        {WM_LBUTTONUP, "WM_LBUTTONUP"},
        {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"},
        {WM_RBUTTONUP, "WM_RBUTTONUP"},
        {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"},
        {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"},
        {WM_MOVING, "WM_MOVING"},
        {WM_ENTERSIZEMOVE, "WM_ENTERSIZEMOVE"},
        {WM_EXITSIZEMOVE, "WM_EXITSIZEMOVE"},
        {WM_MOUSELEAVE, "WM_MOUSELEAVE"},
    };
    const auto found = names.find(message);
    if (found != names.end()) {
        return found->second;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04x", message);
    return buffer;
}

} // namespace sequence
