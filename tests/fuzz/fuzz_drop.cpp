// Reads arbitrary bytes as what a drop brings from outside: as the text of a drop (paths and
// file URIs), and as the global memory block of an HDROP (a DROPFILES record and names).
//
// Checked: every path taken from a text is absolute and holds no NUL; DragQueryFileA answers
// as many names as it counts, each no longer than the bytes after the record, copied with its
// NUL into a buffer of exactly that size.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/posix/shell32/drop.h"
#include "platform/win32.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

void CheckText(std::string_view text) {
    for (const std::string& path : posix::PathsOfDroppedText(text)) {
        if (path.empty() || path.front() != '/' || path.find('\0') != std::string::npos) {
            Fail("a dropped text gave a path that is not absolute or holds a NUL");
        }
    }
}

void CheckBlock(const std::uint8_t* data, std::size_t size) {
    const HGLOBAL memory = GlobalAlloc(GHND, size);
    auto* bytes = static_cast<std::uint8_t*>(GlobalLock(memory));
    if (bytes == nullptr) {
        Fail("no block");
    }
    if (size > 0) {
        std::memcpy(bytes, data, size);
    }
    GlobalUnlock(memory);
    const auto drop = static_cast<HDROP>(memory);
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        // A wide name grows by at most 3 bytes per 2 as UTF-8.
        if (length == 0 || length > size * 2) {
            Fail("a counted name is empty or longer than the block allows");
        }
        std::string name(length + 1, 'x');
        if (DragQueryFileA(drop, i, name.data(), length + 1) != length || name[length] != '\0') {
            Fail("a name was not copied whole with its NUL");
        }
    }
    if (DragQueryFileA(drop, count, nullptr, 0) != 0) {
        Fail("a name past the count");
    }
    DragFinish(drop);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CheckText(std::string_view(reinterpret_cast<const char*>(data), size));
    CheckBlock(data, size);
    return 0;
}
