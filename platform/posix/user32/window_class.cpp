// Window classes: registration, look-up by name or atom, and the class data of a window.

#include "platform/posix/kernel32/kernel_error.h"
#include "platform/posix/user32/system_classes.h"
#include "platform/posix/user32/window_manager.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

using posix::WindowClass;

std::vector<std::shared_ptr<WindowClass>> applicationClasses;
std::vector<std::shared_ptr<WindowClass>> systemClasses;
ATOM nextAtom = 0xC000;
bool systemClassesRegistered = false;

bool SameName(const std::string& a, LPCSTR b) {
    const std::size_t length = std::char_traits<char>::length(b);
    return a.size() == length && std::equal(a.begin(), a.end(), b, [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool Matches(const WindowClass& windowClass, LPCSTR nameOrAtom) {
    if (IS_INTRESOURCE(nameOrAtom)) {
        return windowClass.Atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(nameOrAtom));
    }
    return SameName(windowClass.Name, nameOrAtom);
}

std::shared_ptr<WindowClass> FindIn(const std::vector<std::shared_ptr<WindowClass>>& classes,
                                    LPCSTR nameOrAtom) {
    for (const auto& windowClass : classes) {
        if (Matches(*windowClass, nameOrAtom)) {
            return windowClass;
        }
    }
    return nullptr;
}

std::shared_ptr<WindowClass> MakeClass(const WNDCLASSA& wndClass, bool system) {
    auto windowClass = std::make_shared<WindowClass>();
    windowClass->Name = wndClass.lpszClassName;
    windowClass->Atom = nextAtom++;
    windowClass->Style = wndClass.style;
    windowClass->Proc = wndClass.lpfnWndProc;
    windowClass->ClassExtra = std::max(wndClass.cbClsExtra, 0);
    windowClass->WindowExtra = std::max(wndClass.cbWndExtra, 0);
    windowClass->Instance = wndClass.hInstance;
    windowClass->Icon = wndClass.hIcon;
    windowClass->Cursor = wndClass.hCursor;
    windowClass->Background = wndClass.hbrBackground;
    windowClass->MenuName = wndClass.lpszMenuName;
    windowClass->System = system;
    return windowClass;
}

bool ValidName(LPCSTR name) {
    return name != nullptr && !IS_INTRESOURCE(name) && name[0] != '\0';
}

// The layer's limit for extra bytes, far above any real use: a wild size cannot exhaust memory.
constexpr int MaxExtraBytes = 4096;

} // namespace

namespace posix {

void EnsureSystemClasses() {
    if (!systemClassesRegistered) {
        systemClassesRegistered = true;
        RegisterSystemClasses();
    }
}

std::shared_ptr<WindowClass> FindClass(LPCSTR nameOrAtom) {
    if (nameOrAtom == nullptr) {
        return nullptr;
    }
    EnsureSystemClasses();
    std::shared_ptr<WindowClass> found = FindIn(applicationClasses, nameOrAtom);
    return found ? found : FindIn(systemClasses, nameOrAtom);
}

void RegisterSystemClass(const WNDCLASSA& wndClass) {
    systemClasses.push_back(MakeClass(wndClass, true));
}

void UnregisterApplicationClasses() {
    applicationClasses.clear();
}

} // namespace posix

ATOM WINAPI RegisterClassA(const WNDCLASSA* wndClass) {
    if (wndClass == nullptr || !ValidName(wndClass->lpszClassName) || wndClass->cbWndExtra < 0 ||
        wndClass->cbClsExtra < 0 || wndClass->cbWndExtra > MaxExtraBytes ||
        wndClass->cbClsExtra > MaxExtraBytes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    posix::EnsureSystemClasses();
    if (FindIn(applicationClasses, wndClass->lpszClassName)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    applicationClasses.push_back(MakeClass(*wndClass, false));
    return applicationClasses.back()->Atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR className, HINSTANCE) {
    if (className == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    const auto found =
        std::find_if(applicationClasses.begin(), applicationClasses.end(),
                     [&](const auto& windowClass) { return Matches(*windowClass, className); });
    if (found == applicationClasses.end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if ((*found)->Windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    applicationClasses.erase(found);
    return TRUE;
}

BOOL WINAPI GetClassInfoA(HINSTANCE, LPCSTR className, LPWNDCLASSA wndClass) {
    const std::shared_ptr<WindowClass> found = posix::FindClass(className);
    if (!found) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (wndClass != nullptr) {
        wndClass->style = found->Style;
        wndClass->lpfnWndProc = found->Proc;
        wndClass->cbClsExtra = found->ClassExtra;
        wndClass->cbWndExtra = found->WindowExtra;
        wndClass->hInstance = found->Instance;
        wndClass->hIcon = found->Icon;
        wndClass->hCursor = found->Cursor;
        wndClass->hbrBackground = found->Background;
        wndClass->lpszMenuName = found->MenuName;
        // The name stays valid as long as the class is registered.
        wndClass->lpszClassName = found->Name.c_str();
    }
    return TRUE;
}

ULONG_PTR WINAPI GetClassLongPtrA(HWND handle, int index) {
    const posix::Window* window = posix::CheckedWindow(handle);
    if (window == nullptr || !window->Class) {
        return 0;
    }
    const WindowClass& windowClass = *window->Class;
    switch (index) {
    case GCLP_MENUNAME:
        return reinterpret_cast<ULONG_PTR>(windowClass.MenuName);
    case GCLP_HBRBACKGROUND:
        return reinterpret_cast<ULONG_PTR>(windowClass.Background);
    case GCLP_HCURSOR:
        return reinterpret_cast<ULONG_PTR>(windowClass.Cursor);
    case GCLP_HICON:
        return reinterpret_cast<ULONG_PTR>(windowClass.Icon);
    case GCLP_HMODULE:
        return reinterpret_cast<ULONG_PTR>(windowClass.Instance);
    case GCL_CBWNDEXTRA:
        return static_cast<ULONG_PTR>(windowClass.WindowExtra);
    case GCL_CBCLSEXTRA:
        return static_cast<ULONG_PTR>(windowClass.ClassExtra);
    case GCLP_WNDPROC:
        return reinterpret_cast<ULONG_PTR>(windowClass.Proc);
    case GCL_STYLE:
        return windowClass.Style;
    case GCW_ATOM:
        return windowClass.Atom;
    case GCLP_HICONSM:
        return 0;
    default:
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

DWORD WINAPI GetClassLongA(HWND handle, int index) {
    return static_cast<DWORD>(GetClassLongPtrA(handle, index));
}

int WINAPI GetClassNameA(HWND handle, LPSTR className, int maxCount) {
    const posix::Window* window = posix::CheckedWindow(handle);
    if (window == nullptr || className == nullptr || maxCount <= 0) {
        return 0;
    }
    const std::string name = window->Class ? window->Class->Name : std::string("#32769");
    const std::size_t copied = std::min(name.size(), static_cast<std::size_t>(maxCount - 1));
    name.copy(className, copied);
    className[copied] = '\0';
    return static_cast<int>(copied);
}
