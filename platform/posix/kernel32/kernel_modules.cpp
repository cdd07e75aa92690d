#include "platform/win32.h"

#include <cstring>
#include <span>
#include <string_view>

namespace {

struct Export {
    const char* Name;
    FARPROC Address;
};

// Through void (*)(), the type that converts to and from any function pointer type without a
// warning; the caller converts the answer back to the entry's own type before calling it.
template <typename Function> FARPROC ExportOf(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

const Export comctl32Exports[] = {
    {"InitCommonControlsEx", ExportOf(&InitCommonControlsEx)},
    {"_TrackMouseEvent", ExportOf(&_TrackMouseEvent)},
};

const Export user32Exports[] = {
    {"SetLayeredWindowAttributes", ExportOf(&SetLayeredWindowAttributes)},
};

struct Module {
    std::uintptr_t Handle;
    const char* BaseName; // null for the program, which is found by a null name only
    std::span<const Export> Exports;
};

// Handles are fixed, distinct values; nothing ever dereferences them.
const Module modules[] = {
    {0x00400000, nullptr, {}},
    {0x7E410000, "user32", user32Exports},
    {0x773D0000, "comctl32", comctl32Exports},
};

HMODULE HandleOf(const Module& module) {
    return reinterpret_cast<HMODULE>(module.Handle);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

// A module name matches with or without its ".dll" extension, in any letter case.
bool NameMatches(std::string_view requested, const char* baseName) {
    constexpr std::string_view extension = ".dll";
    if (requested.size() > extension.size() &&
        EqualIgnoringCase(requested.substr(requested.size() - extension.size()), extension)) {
        requested.remove_suffix(extension.size());
    }
    return EqualIgnoringCase(requested, baseName);
}

const Module* FindByName(LPCSTR name) {
    for (const Module& module : modules) {
        if (module.BaseName != nullptr && NameMatches(name, module.BaseName)) {
            return &module;
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

const Module* FindByHandle(HMODULE handle) {
    for (const Module& module : modules) {
        if (HandleOf(module) == handle) {
            return &module;
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

} // namespace

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName == nullptr) {
        return HandleOf(modules[0]);
    }
    const Module* module = FindByName(moduleName);
    return module != nullptr ? HandleOf(*module) : nullptr;
}

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return GetModuleHandleA(fileName);
}

// Every module stays loaded for the life of the process, so releasing one only checks it.
BOOL WINAPI FreeLibrary(HMODULE module) {
    return FindByHandle(module) != nullptr ? TRUE : FALSE;
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR procName) {
    const Module* module = FindByHandle(handle == nullptr ? HandleOf(modules[0]) : handle);
    if (module == nullptr) {
        return nullptr;
    }
    // Look-ups by ordinal are not supported: no module here exports by number.
    if (procName != nullptr && !IS_INTRESOURCE(procName)) {
        for (const Export& entry : module->Exports) {
            if (std::strcmp(entry.Name, procName) == 0) {
                return entry.Address;
            }
        }
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}
