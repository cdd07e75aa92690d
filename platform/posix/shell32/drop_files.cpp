// DragAcceptFiles, DragQueryFileA, DragQueryPoint and DragFinish over a table of finished
// drops, and the delivery of a drop to the window that takes it.

#include "platform/posix/shell32/drop.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>

#include "platform/posix/driver_hooks.h"

namespace {

struct DropRecord {
    std::vector<std::string> Paths;
    POINT Point{}; // client coordinates of the receiving window
    bool NonClient = false;
};

struct DropState {
    std::map<std::uintptr_t, DropRecord> Drops;
    std::uintptr_t NextHandle = 1;
    // Windows in the order they began accepting files; the last one still accepting is the
    // target of a drop no window could be found for.
    std::vector<HWND> Accepting;
};

void ClearDropState();

DropState& State() {
    static DropState state;
    static const bool registered = (posix::AddResetHandler(&ClearDropState), true);
    static_cast<void>(registered);
    return state;
}

void ClearDropState() {
    State() = DropState{};
}

constexpr UINT QueryCount = 0xFFFFFFFF;

DropRecord* Find(HDROP drop) {
    auto found = State().Drops.find(reinterpret_cast<std::uintptr_t>(drop));
    return found != State().Drops.end() ? &found->second : nullptr;
}

bool Accepts(HWND window) {
    return (static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)) & WS_EX_ACCEPTFILES) != 0;
}

bool IsChild(HWND window) {
    return (static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & WS_CHILD) != 0;
}

// The window itself or its nearest ancestor within its top-level window that accepts files.
HWND AcceptingAncestor(HWND window) {
    while (window != nullptr) {
        if (Accepts(window)) {
            return window;
        }
        if (!IsChild(window)) {
            return nullptr;
        }
        window = GetAncestor(window, GA_PARENT);
    }
    return nullptr;
}

HWND LastAcceptingWindow() {
    std::vector<HWND>& accepting = State().Accepting;
    std::erase_if(accepting, [](HWND window) { return !IsWindow(window) || !Accepts(window); });
    return accepting.empty() ? nullptr : accepting.back();
}

HWND DropTarget(HWND topLevel, POINT screenPoint) {
    if (topLevel == nullptr || !IsWindow(topLevel)) {
        return LastAcceptingWindow();
    }
    HWND under = WindowFromPoint(screenPoint);
    if (under == nullptr || GetAncestor(under, GA_ROOT) != topLevel) {
        under = topLevel;
    }
    return AcceptingAncestor(under);
}

bool InClientArea(HWND window, POINT point) {
    RECT client{};
    GetClientRect(window, &client);
    return point.x >= client.left && point.x < client.right && point.y >= client.top &&
           point.y < client.bottom;
}

std::optional<unsigned> HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<unsigned>(c - '0');
    }
    if (c >= 'a' && c <= 'f') {
        return static_cast<unsigned>(c - 'a' + 10);
    }
    if (c >= 'A' && c <= 'F') {
        return static_cast<unsigned>(c - 'A' + 10);
    }
    return std::nullopt;
}

// %XX becomes the byte XX; a % not followed by two hex digits stays as it is.
std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '%' && at + 2 < text.size()) {
            const auto high = HexDigit(text[at + 1]);
            const auto low = HexDigit(text[at + 2]);
            if (high && low) {
                decoded.push_back(static_cast<char>(*high * 16 + *low));
                at += 2;
                continue;
            }
        }
        decoded.push_back(text[at]);
    }
    return decoded;
}

// The local path a file URI names; nothing for another host or a malformed URI.
std::optional<std::string> PathOfFileUri(std::string_view uri) {
    constexpr std::string_view scheme = "file:";
    uri.remove_prefix(scheme.size());
    if (uri.starts_with("//")) {
        uri.remove_prefix(2);
        const std::size_t slash = uri.find('/');
        if (slash == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view host = uri.substr(0, slash);
        if (!host.empty() && host != "localhost") {
            return std::nullopt;
        }
        uri.remove_prefix(slash);
    }
    if (!uri.starts_with('/')) {
        return std::nullopt;
    }
    std::string path = PercentDecoded(uri);
    if (path.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return path;
}

// The scheme is compared without regard to case, as URI schemes are.
bool IsFileUri(std::string_view line) {
    constexpr std::string_view scheme = "file:";
    return line.size() >= scheme.size() &&
           std::equal(scheme.begin(), scheme.end(), line.begin(), [](char expected, char given) {
               return expected == (given >= 'A' && given <= 'Z' ? given + ('a' - 'A') : given);
           });
}

std::optional<std::string> PathOfLine(std::string_view line) {
    if (line.starts_with('/')) {
        return std::string(line);
    }
    if (IsFileUri(line)) {
        return PathOfFileUri(line);
    }
    return std::nullopt;
}

} // namespace

namespace posix {

bool PostDroppedFiles(HWND topLevel, POINT screenPoint, std::vector<std::string> paths) {
    const HWND target = DropTarget(topLevel, screenPoint);
    if (target == nullptr || paths.empty()) {
        return false;
    }
    POINT point = screenPoint;
    ScreenToClient(target, &point);
    DropState& state = State();
    const std::uintptr_t handle = state.NextHandle++;
    state.Drops[handle] = DropRecord{std::move(paths), point, !InClientArea(target, point)};
    if (!PostMessageA(target, WM_DROPFILES, static_cast<WPARAM>(handle), 0)) {
        state.Drops.erase(handle);
        return false;
    }
    return true;
}

std::vector<std::string> PathsOfDroppedText(std::string_view text) {
    std::vector<std::string> paths;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (auto path = PathOfLine(line)) {
            paths.push_back(std::move(*path));
        }
    }
    return paths;
}

} // namespace posix

void WINAPI DragAcceptFiles(HWND window, BOOL accept) {
    if (!IsWindow(window)) {
        return;
    }
    const auto style = static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE));
    const DWORD changed = accept ? style | WS_EX_ACCEPTFILES : style & ~WS_EX_ACCEPTFILES;
    SetWindowLongA(window, GWL_EXSTYLE, static_cast<LONG>(changed));
    std::vector<HWND>& accepting = State().Accepting;
    std::erase(accepting, window);
    if (accept) {
        accepting.push_back(window);
    }
}

UINT WINAPI DragQueryFileA(HDROP drop, UINT index, LPSTR buffer, UINT size) {
    const DropRecord* record = Find(drop);
    if (record == nullptr) {
        return 0;
    }
    if (index == QueryCount) {
        return static_cast<UINT>(record->Paths.size());
    }
    if (index >= record->Paths.size()) {
        return 0;
    }
    const std::string& path = record->Paths[index];
    if (buffer == nullptr) {
        return static_cast<UINT>(path.size());
    }
    if (size == 0) {
        return 0;
    }
    const std::size_t copied = std::min<std::size_t>(path.size(), size - 1);
    std::memcpy(buffer, path.data(), copied);
    buffer[copied] = '\0';
    return static_cast<UINT>(copied);
}

BOOL WINAPI DragQueryPoint(HDROP drop, POINT* point) {
    const DropRecord* record = Find(drop);
    if (record == nullptr || point == nullptr) {
        return FALSE;
    }
    *point = record->Point;
    return record->NonClient ? FALSE : TRUE;
}

void WINAPI DragFinish(HDROP drop) {
    State().Drops.erase(reinterpret_cast<std::uintptr_t>(drop));
}
