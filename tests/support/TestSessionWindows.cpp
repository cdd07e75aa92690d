#include "tests/support/TestSession.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace testsession {

namespace {

// Pumping gives up after this many messages in one call: something keeps posting.
constexpr int PumpLimit = 100000;

// User-defined class atoms lie in this range.
constexpr unsigned FirstClassAtom = 0xC000;
constexpr unsigned LastClassAtom = 0xFFFF;

MSG lastTaken{};
std::uint64_t takenSerial = 0;
HHOOK takenHook = nullptr;

// Notes every message taken from the queue, before it is handed to the caller.
LRESULT CALLBACK NoteTakenMessage(int code, WPARAM removal, LPARAM message) {
    if (code == HC_ACTION && removal == PM_REMOVE) {
        lastTaken = *reinterpret_cast<const MSG*>(message);
        ++takenSerial;
    }
    return CallNextHookEx(takenHook, code, removal, message);
}

void WatchTakenMessages() {
    if (takenHook == nullptr) {
        takenHook =
            SetWindowsHookExA(WH_GETMESSAGE, NoteTakenMessage, nullptr, GetCurrentThreadId());
    }
}

// The input method windows the system keeps for the thread are not the test's to destroy.
bool BelongsToTheSystem(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, "IME") == 0 || std::strcmp(name, "MSCTFIME UI") == 0;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    if (!BelongsToTheSystem(window)) {
        reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    }
    return TRUE;
}

void DestroyThreadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        // An owner takes its owned windows along, so some may be gone already.
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
    }
}

void DiscardQueue() {
    MSG msg{};
    for (int taken = 0; taken < PumpLimit && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
         ++taken) {
    }
}

// The classes of this program, found by atom: a class the program's instance finds but the
// null instance does not is the program's own; the system's classes are found by both.
void UnregisterProgramClasses() {
    const HINSTANCE program = GetModuleHandleA(nullptr);
    for (unsigned atom = FirstClassAtom; atom <= LastClassAtom; ++atom) {
        const auto name = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(atom));
        WNDCLASSA found{};
        if (GetClassInfoA(program, name, &found) && !GetClassInfoA(nullptr, name, &found)) {
            UnregisterClassA(name, program);
        }
    }
}

} // namespace

void Reset() {
    WatchTakenMessages();
    DestroyThreadWindows();
    DiscardQueue();
    UnregisterProgramClasses();
    lastTaken = MSG{};
}

std::optional<int> PumpUntilIdle() {
    MSG msg{};
    for (int handled = 0; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++handled) {
        if (msg.message == WM_QUIT) {
            return static_cast<int>(msg.wParam);
        }
        if (handled == PumpLimit) {
            std::fprintf(stderr, "test session: messages keep coming; pumping stopped\n");
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return std::nullopt;
}

void LetTimePass(DWORD ms) {
    Sleep(ms);
}

const MSG* MessageBeingDispatched(std::uint64_t* serial) {
    if (takenSerial == 0) {
        return nullptr;
    }
    if (serial != nullptr) {
        *serial = takenSerial;
    }
    return &lastTaken;
}

bool RunningOnOwnLayer() {
    return false;
}

bool RunningOnWine() {
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

} // namespace testsession
