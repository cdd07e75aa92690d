// What a window carries besides its place in the tree: properties, window data (styles, ids,
// the procedure, extra bytes), text and layering.
//
// Index: properties; window data; text and layering.

#include "platform/posix/display/display.h"
#include "platform/posix/user32/message_queue.h"
#include "platform/posix/user32/window_manager.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>

namespace {

using posix::Window;

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Property names are strings, or atoms given as small numbers.
std::string PropertyName(LPCSTR name) {
    if (IS_INTRESOURCE(name)) {
        std::string atom = "#";
        atom += std::to_string(reinterpret_cast<std::uintptr_t>(name));
        return atom;
    }
    return name;
}

} // namespace

// ---- Properties ----

BOOL WINAPI SetPropA(HWND handle, LPCSTR name, HANDLE data) {
    Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::string key = PropertyName(name);
    for (posix::WindowProperty& property : window->Properties) {
        if (SameName(property.Name, key)) {
            property.Data = data;
            return TRUE;
        }
    }
    window->Properties.push_back({key, data});
    return TRUE;
}

HANDLE WINAPI GetPropA(HWND handle, LPCSTR name) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr || name == nullptr) {
        return nullptr;
    }
    const std::string key = PropertyName(name);
    for (const posix::WindowProperty& property : window->Properties) {
        if (SameName(property.Name, key)) {
            return property.Data;
        }
    }
    return nullptr;
}

HANDLE WINAPI RemovePropA(HWND handle, LPCSTR name) {
    Window* window = posix::CheckedWindow(handle);
    if (window == nullptr || name == nullptr) {
        return nullptr;
    }
    const std::string key = PropertyName(name);
    auto& properties = window->Properties;
    const auto found =
        std::find_if(properties.begin(), properties.end(),
                     [&](const auto& property) { return SameName(property.Name, key); });
    if (found == properties.end()) {
        return nullptr;
    }
    const HANDLE data = found->Data;
    properties.erase(found);
    return data;
}

// ---- Window data ----

namespace {

template <typename Value> bool ReadExtra(const Window& window, int offset, Value* value) {
    if (offset < 0 || static_cast<std::size_t>(offset) + sizeof(Value) > window.Extra.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
    }
    std::memcpy(value, window.Extra.data() + offset, sizeof(Value));
    return true;
}

template <typename Value> Value WriteExtra(Window& window, int offset, Value value) {
    Value previous{};
    if (!ReadExtra(window, offset, &previous)) {
        return 0;
    }
    std::memcpy(window.Extra.data() + offset, &value, sizeof(Value));
    return previous;
}

LONG_PTR ReadLong(HWND handle, int index) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(window->Proc);
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(window->Instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(window->Parent != nullptr ? window->Parent
                                                                    : window->Owner);
    case GWLP_ID:
        return static_cast<LONG_PTR>(window->Id);
    case GWLP_USERDATA:
        return window->UserData;
    case GWL_STYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(window->Style));
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(static_cast<LONG>(window->ExStyle));
    default:
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

// Changes a style with WM_STYLECHANGING and WM_STYLECHANGED around it. Visibility follows
// WS_VISIBLE without messages, as a direct style change does; WS_EX_TOPMOST only changes
// through the z-order.
DWORD ChangeStyle(HWND handle, int index, DWORD wanted) {
    Window* window = posix::FindWindowRecord(handle);
    const DWORD old = index == GWL_STYLE ? window->Style : window->ExStyle;
    if (index == GWL_EXSTYLE) {
        wanted =
            posix::KeptExStyle(window->Style, (wanted & ~WS_EX_TOPMOST) | (old & WS_EX_TOPMOST));
    }
    STYLESTRUCT change{old, wanted};
    posix::SendToWindow(handle, WM_STYLECHANGING, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&change));
    window = posix::FindWindowRecord(handle);
    if (window == nullptr) {
        return old;
    }
    if (index == GWL_STYLE) {
        // A top-level window keeps clipping its siblings, as at its creation.
        const DWORD kept = posix::IsTopLevel(*window) ? WS_CLIPSIBLINGS : 0;
        window->Style = change.styleNew | kept;
        window->ExStyle = posix::KeptExStyle(window->Style, window->ExStyle);
    } else {
        window->ExStyle = change.styleNew;
    }
    posix::SendToWindow(handle, WM_STYLECHANGED, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(&change));
    posix::TellDisplay(handle);
    return old;
}

LONG_PTR WriteLong(HWND handle, int index, LONG_PTR value) {
    Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    LONG_PTR previous = 0;
    switch (index) {
    case GWLP_WNDPROC:
        previous = reinterpret_cast<LONG_PTR>(window->Proc);
        window->Proc = reinterpret_cast<WNDPROC>(value);
        return previous;
    case GWLP_HINSTANCE:
        previous = reinterpret_cast<LONG_PTR>(window->Instance);
        window->Instance = reinterpret_cast<HINSTANCE>(value);
        return previous;
    case GWLP_HWNDPARENT:
        previous = reinterpret_cast<LONG_PTR>(window->Owner);
        if (posix::IsTopLevel(*window)) {
            window->Owner = posix::RootOf(reinterpret_cast<HWND>(value));
        }
        return previous;
    case GWLP_ID:
        previous = static_cast<LONG_PTR>(window->Id);
        window->Id = static_cast<UINT_PTR>(value);
        return previous;
    case GWLP_USERDATA:
        previous = window->UserData;
        window->UserData = value;
        return previous;
    case GWL_STYLE:
    case GWL_EXSTYLE:
        return static_cast<LONG>(ChangeStyle(handle, index, static_cast<DWORD>(value)));
    default:
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

} // namespace

LONG WINAPI GetWindowLongA(HWND handle, int index) {
    if (index >= 0) {
        const Window* window = posix::CheckedWindow(handle);
        LONG value = 0;
        return window != nullptr && ReadExtra(*window, index, &value) ? value : 0;
    }
    return static_cast<LONG>(ReadLong(handle, index));
}

LONG WINAPI SetWindowLongA(HWND handle, int index, LONG value) {
    if (index >= 0) {
        Window* window = posix::CheckedWindow(handle);
        return window != nullptr ? WriteExtra(*window, index, value) : 0;
    }
    return static_cast<LONG>(WriteLong(handle, index, value));
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND handle, int index) {
    if (index >= 0) {
        const Window* window = posix::CheckedWindow(handle);
        LONG_PTR value = 0;
        return window != nullptr && ReadExtra(*window, index, &value) ? value : 0;
    }
    return ReadLong(handle, index);
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
    if (index >= 0) {
        Window* window = posix::CheckedWindow(handle);
        return window != nullptr ? WriteExtra(*window, index, value) : 0;
    }
    return WriteLong(handle, index, value);
}

// ---- Text and layering ----

BOOL WINAPI SetWindowTextA(HWND handle, LPCSTR text) {
    if (posix::CheckedWindow(handle) == nullptr) {
        return FALSE;
    }
    return SendMessageA(handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE : FALSE;
}

int WINAPI GetWindowTextA(HWND handle, LPSTR text, int maxCount) {
    if (posix::CheckedWindow(handle) == nullptr || text == nullptr || maxCount <= 0) {
        return 0;
    }
    text[0] = '\0';
    return static_cast<int>(SendMessageA(handle, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                         reinterpret_cast<LPARAM>(text)));
}

int WINAPI GetWindowTextLengthA(HWND handle) {
    if (posix::CheckedWindow(handle) == nullptr) {
        return 0;
    }
    return static_cast<int>(SendMessageA(handle, WM_GETTEXTLENGTH, 0, 0));
}

BOOL WINAPI SetLayeredWindowAttributes(HWND handle, COLORREF key, BYTE alpha, DWORD flags) {
    Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if ((window->ExStyle & WS_EX_LAYERED) == 0 || (flags & ~(LWA_ALPHA | LWA_COLORKEY)) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    window->Layered = true;
    window->LayeredKey = key;
    window->LayeredAlpha = alpha;
    window->LayeredFlags = flags;
    posix::TellDisplay(handle);
    return TRUE;
}

BOOL WINAPI GetLayeredWindowAttributes(HWND handle, COLORREF* key, BYTE* alpha, DWORD* flags) {
    const Window* window = posix::CheckedWindow(handle);
    if (window == nullptr) {
        return FALSE;
    }
    if ((window->ExStyle & WS_EX_LAYERED) == 0 || !window->Layered) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (key != nullptr) {
        *key = window->LayeredKey;
    }
    if (alpha != nullptr) {
        *alpha = window->LayeredAlpha;
    }
    if (flags != nullptr) {
        *flags = window->LayeredFlags;
    }
    return TRUE;
}
