// Drops files on a window of the layer's real display the way SDL delivers a drop from the
// desktop: SDL_DROPBEGIN, an SDL_DROPFILE, an SDL_DROPTEXT holding file URIs, SDL_DROPCOMPLETE,
// all naming the window's native window. The window accepts files (DragAcceptFiles); the names
// WM_DROPFILES brings are printed one a line. Ends with 0 once a drop came, with 1 when none
// came within 5 s, with 2 when the window could not be shown.
// Usage: drop_probe FILE URI_LIST   (FILE is dropped as a file, URI_LIST as text)
// Driven by tests/smoke/drop_smoke.sh.

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32.h"

namespace {

constexpr char Caption[] = "Drop probe";
constexpr UINT_PTR GiveUpTimer = 1;

void PrintDroppedNames(HDROP drop) {
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::string name(DragQueryFileA(drop, i, nullptr, 0) + 1, '\0');
        name.resize(DragQueryFileA(drop, i, name.data(), static_cast<UINT>(name.size())));
        std::printf("%s\n", name.c_str());
    }
    std::fflush(stdout);
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DROPFILES:
        PrintDroppedNames(reinterpret_cast<HDROP>(wParam));
        DragFinish(reinterpret_cast<HDROP>(wParam));
        PostQuitMessage(0);
        return 0;
    case WM_TIMER:
        PostQuitMessage(1);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The native window SDL made for ours, found by its title.
Uint32 NativeWindowId() {
    for (Uint32 id = 1; id < 64; ++id) {
        SDL_Window* native = SDL_GetWindowFromID(id);
        if (native != nullptr && std::strcmp(SDL_GetWindowTitle(native), Caption) == 0) {
            return id;
        }
    }
    return 0;
}

void Push(Uint32 type, Uint32 windowId, const char* text) {
    SDL_Event event{};
    event.drop.type = type;
    event.drop.windowID = windowId;
    event.drop.file = text != nullptr ? SDL_strdup(text) : nullptr;
    SDL_PushEvent(&event);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: drop_probe FILE URI_LIST\n");
        return 2;
    }
    WNDCLASSA probeClass{};
    probeClass.lpfnWndProc = ProbeProc;
    probeClass.lpszClassName = "DropProbe";
    RegisterClassA(&probeClass);
    const HWND window = CreateWindowExA(0, "DropProbe", Caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        100, 100, 300, 200, nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        return 2;
    }
    UpdateWindow(window);
    DragAcceptFiles(window, TRUE);
    const Uint32 id = NativeWindowId();
    if (id == 0) {
        return 2;
    }
    Push(SDL_DROPBEGIN, id, nullptr);
    Push(SDL_DROPFILE, id, argv[1]);
    Push(SDL_DROPTEXT, id, argv[2]);
    Push(SDL_DROPCOMPLETE, id, nullptr);
    SetTimer(window, GiveUpTimer, 5000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageA(&msg);
    }
    DestroyWindow(window);
    return static_cast<int>(msg.wParam);
}
