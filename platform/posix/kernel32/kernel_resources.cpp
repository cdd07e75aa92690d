#include "platform/posix/kernel32/resources.h"

#include <deque>
#include <string>

namespace {

// A resource type or name: a number, or a name kept in upper case (names compare without
// regard to case).
struct ResourceId {
    bool IsNumber = false;
    WORD Number = 0;
    std::string Name;

    bool operator==(const ResourceId&) const = default;
};

// "#123" stands for the number 123.
bool ParseNumber(const std::string& text, WORD& number) {
    if (text.size() < 2 || text[0] != '#') {
        return false;
    }
    unsigned value = 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + unsigned(text[i] - '0');
        if (value > 0xFFFF) {
            return false;
        }
    }
    number = static_cast<WORD>(value);
    return true;
}

ResourceId IdOf(LPCSTR id) {
    ResourceId result;
    if (IS_INTRESOURCE(id)) {
        result.IsNumber = true;
        result.Number = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(id));
        return result;
    }
    std::string text(id);
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = char(c - 'a' + 'A');
        }
    }
    result.IsNumber = ParseNumber(text, result.Number);
    if (!result.IsNumber) {
        result.Name = std::move(text);
    }
    return result;
}

struct Resource {
    ResourceId Type;
    ResourceId Name;
    std::span<const BYTE> Data;
};

// A deque keeps every entry at its address, which is its HRSRC.
std::deque<Resource>& Table() {
    static std::deque<Resource> table;
    return table;
}

HRSRC HandleOf(Resource& resource) {
    return reinterpret_cast<HRSRC>(&resource);
}

Resource* Find(HRSRC handle) {
    for (Resource& resource : Table()) {
        if (HandleOf(resource) == handle) {
            return &resource;
        }
    }
    return nullptr;
}

bool IsProgram(HMODULE module) {
    return module == nullptr || module == GetModuleHandleA(nullptr);
}

} // namespace

namespace posix {

void RegisterResource(LPCSTR type, LPCSTR name, std::span<const BYTE> data) {
    Resource entry{IdOf(type), IdOf(name), data};
    for (Resource& resource : Table()) {
        if (resource.Type == entry.Type && resource.Name == entry.Name) {
            resource.Data = data;
            return;
        }
    }
    Table().push_back(std::move(entry));
}

} // namespace posix

// Only the program module has resources.
HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    if (!IsProgram(module)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    if (name == nullptr || type == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const ResourceId wantedType = IdOf(type);
    const ResourceId wantedName = IdOf(name);
    bool typeFound = false;
    for (Resource& resource : Table()) {
        if (resource.Type != wantedType) {
            continue;
        }
        typeFound = true;
        if (resource.Name == wantedName) {
            return HandleOf(resource);
        }
    }
    SetLastError(typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return nullptr;
}

HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC handle) {
    static const BYTE noData = 0;
    const Resource* resource = IsProgram(module) ? Find(handle) : nullptr;
    if (resource == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // An empty resource still loads, as a valid pointer to nothing.
    const BYTE* data = resource->Data.empty() ? &noData : resource->Data.data();
    return const_cast<BYTE*>(data);
}

// A loaded resource is its data: locking it yields the same pointer.
LPVOID WINAPI LockResource(HGLOBAL resourceData) {
    return resourceData;
}

DWORD WINAPI SizeofResource(HMODULE module, HRSRC handle) {
    const Resource* resource = IsProgram(module) ? Find(handle) : nullptr;
    if (resource == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return static_cast<DWORD>(resource->Data.size());
}
