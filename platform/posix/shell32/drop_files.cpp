// DragAcceptFiles, DragQueryFileA, DragQueryPoint and DragFinish over drops held as Windows
// holds them (a global memory block: a DROPFILES record and the names), and the delivery of a
// drop to the window that takes it.

#include "platform/posix/shell32/drop.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>

#include "platform/posix/testing/driver_hooks.h"

namespace {

struct DropState {
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

// A drop's record and names, read from its block without reading past it; nothing for a
// handle that is no block or a block too short for its record.
struct DropContent {
    DROPFILES Record{};
    std::vector<std::string> Names;
};

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Names of single bytes, each ended by a NUL, up to an empty one; a name the block cuts off
// is left out.
std::vector<std::string> NarrowNames(const char* names, std::size_t size) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < size && names[at] != '\0') {
        const auto* end = static_cast<const char*>(std::memchr(names + at, '\0', size - at));
        if (end == nullptr) {
            break;
        }
        out.emplace_back(names + at, end);
        at = static_cast<std::size_t>(end - names) + 1;
    }
    return out;
}

// UTF-16 names as the layer's file names (UTF-8); an unpaired surrogate becomes U+FFFD.
std::vector<std::string> WideNames(const char* bytes, std::size_t size) {
    std::vector<std::string> out;
    std::string name;
    const std::size_t units = size / 2;
    auto unit = [bytes](std::size_t i) {
        std::uint16_t value = 0;
        std::memcpy(&value, bytes + 2 * i, 2);
        return static_cast<char32_t>(value);
    };
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = unit(i);
        if (c == 0) {
            if (name.empty()) {
                return out;
            }
            out.push_back(std::move(name));
            name.clear();
            continue;
        }
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 &&
            unit(i + 1) < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(name, c);
    }
    return out;
}

std::optional<DropContent> ReadDrop(HDROP drop) {
    const auto memory = reinterpret_cast<HGLOBAL>(drop);
    const SIZE_T size = GlobalSize(memory);
    if (size < sizeof(DROPFILES)) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const char*>(GlobalLock(memory));
    if (bytes == nullptr) {
        return std::nullopt;
    }
    DropContent content;
    std::memcpy(&content.Record, bytes, sizeof(DROPFILES));
    const std::size_t offset = content.Record.pFiles;
    if (offset >= sizeof(DROPFILES) && offset < size) {
        content.Names = content.Record.fWide ? WideNames(bytes + offset, size - offset)
                                             : NarrowNames(bytes + offset, size - offset);
    }
    GlobalUnlock(memory);
    return content;
}

// A block holding the record and the names, as Windows hands a drop over.
HGLOBAL MakeDrop(const std::vector<std::string>& paths, POINT point, bool nonClient) {
    std::size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& path : paths) {
        size += path.size() + 1;
    }
    const HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* bytes = static_cast<char*>(GlobalLock(memory));
    if (bytes == nullptr) {
        GlobalFree(memory);
        return nullptr;
    }
    const DROPFILES record{sizeof(DROPFILES), point, nonClient ? TRUE : FALSE, FALSE};
    std::memcpy(bytes, &record, sizeof record);
    char* name = bytes + sizeof record;
    for (const std::string& path : paths) {
        std::memcpy(name, path.c_str(), path.size() + 1);
        name += path.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
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
        if (line.find('\0') != std::string_view::npos) {
            return std::nullopt;
        }
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
    // Names with a NUL inside would end early and shift the rest.
    std::erase_if(paths, [](const std::string& path) {
        return path.empty() || path.find('\0') != std::string::npos;
    });
    if (target == nullptr || paths.empty()) {
        return false;
    }
    POINT point = screenPoint;
    ScreenToClient(target, &point);
    const HGLOBAL drop = MakeDrop(paths, point, !InClientArea(target, point));
    if (drop == nullptr) {
        return false;
    }
    if (!PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0)) {
        GlobalFree(drop);
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
    const std::optional<DropContent> content = ReadDrop(drop);
    if (!content) {
        return 0;
    }
    if (index == QueryCount) {
        return static_cast<UINT>(content->Names.size());
    }
    if (index >= content->Names.size()) {
        return 0;
    }
    const std::string& path = content->Names[index];
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
    const std::optional<DropContent> content = ReadDrop(drop);
    if (!content || point == nullptr) {
        return FALSE;
    }
    *point = content->Record.pt;
    return content->Record.fNC ? FALSE : TRUE;
}

void WINAPI DragFinish(HDROP drop) {
    GlobalFree(reinterpret_cast<HGLOBAL>(drop));
}
