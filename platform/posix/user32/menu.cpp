#include "platform/win32.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace {

struct MenuItem {
    UINT Id;    // command identifier; 0 for a separator
    UINT Type;  // MF_STRING or MF_SEPARATOR
    UINT State; // MF_GRAYED and MF_DISABLED bits
};

// A window's copy of the system menu. It lives as long as the window: window handles are never
// reused, so a menu whose window no longer exists is gone too.
struct Menu {
    HWND Window;
    std::vector<MenuItem> Items;
};

constexpr UINT stateMask = MF_GRAYED | MF_DISABLED;

const MenuItem standardSystemMenu[] = {
    {SC_RESTORE, MF_STRING, MF_ENABLED},  {SC_MOVE, MF_STRING, MF_ENABLED},
    {SC_SIZE, MF_STRING, MF_ENABLED},     {SC_MINIMIZE, MF_STRING, MF_ENABLED},
    {SC_MAXIMIZE, MF_STRING, MF_ENABLED}, {0, MF_SEPARATOR, MF_ENABLED},
    {SC_CLOSE, MF_STRING, MF_ENABLED},
};

struct MenuTable {
    std::map<std::uintptr_t, Menu> Menus;
    // Menu handles are never reused either, so a stale one cannot reach a newer menu.
    std::uintptr_t NextHandle = 0x30010;
};

MenuTable& Table() {
    static MenuTable table;
    return table;
}

Menu* Find(HMENU handle) {
    std::map<std::uintptr_t, Menu>& menus = Table().Menus;
    auto found = menus.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found != menus.end() && !IsWindow(found->second.Window)) {
        menus.erase(found);
        found = menus.end();
    }
    if (found == menus.end()) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return nullptr;
    }
    return &found->second;
}

std::optional<std::size_t> IndexOf(const Menu& menu, UINT item, UINT flags) {
    if ((flags & MF_BYPOSITION) != 0) {
        if (item < menu.Items.size()) {
            return item;
        }
    } else {
        for (std::size_t i = 0; i < menu.Items.size(); ++i) {
            if (menu.Items[i].Id == item) {
                return i;
            }
        }
    }
    SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return std::nullopt;
}

MenuItem* ItemOf(HMENU handle, UINT item, UINT flags) {
    Menu* menu = Find(handle);
    if (menu == nullptr) {
        return nullptr;
    }
    const std::optional<std::size_t> index = IndexOf(*menu, item, flags);
    return index ? &menu->Items[*index] : nullptr;
}

std::map<std::uintptr_t, Menu>::iterator SystemMenuOf(HWND window) {
    std::map<std::uintptr_t, Menu>& menus = Table().Menus;
    return std::find_if(menus.begin(), menus.end(),
                        [window](const auto& entry) { return entry.second.Window == window; });
}

} // namespace

// With revert TRUE the window's copy is discarded (the next request makes a fresh one) and the
// answer is null.
HMENU WINAPI GetSystemMenu(HWND window, BOOL revert) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    MenuTable& table = Table();
    auto found = SystemMenuOf(window);
    if (revert) {
        if (found != table.Menus.end()) {
            table.Menus.erase(found);
        }
        return nullptr;
    }
    if (found == table.Menus.end()) {
        // Menus of windows destroyed meanwhile are dropped here, so the table holds no more
        // menus than there are windows.
        std::erase_if(table.Menus,
                      [](const auto& entry) { return !IsWindow(entry.second.Window); });
        const std::uintptr_t handle = table.NextHandle;
        table.NextHandle += 4;
        found = table.Menus
                    .emplace(handle,
                             Menu{window,
                                  {std::begin(standardSystemMenu), std::end(standardSystemMenu)}})
                    .first;
    }
    return reinterpret_cast<HMENU>(found->first);
}

BOOL WINAPI DeleteMenu(HMENU handle, UINT item, UINT flags) {
    Menu* menu = Find(handle);
    if (menu == nullptr) {
        return FALSE;
    }
    const std::optional<std::size_t> index = IndexOf(*menu, item, flags);
    if (!index) {
        return FALSE;
    }
    menu->Items.erase(menu->Items.begin() + static_cast<std::ptrdiff_t>(*index));
    return TRUE;
}

BOOL WINAPI EnableMenuItem(HMENU handle, UINT item, UINT enable) {
    MenuItem* entry = ItemOf(handle, item, enable);
    if (entry == nullptr) {
        return -1;
    }
    const UINT previous = entry->State & stateMask;
    entry->State = (entry->State & ~stateMask) | (enable & stateMask);
    return static_cast<BOOL>(previous);
}

UINT WINAPI GetMenuState(HMENU handle, UINT item, UINT flags) {
    const MenuItem* entry = ItemOf(handle, item, flags);
    if (entry == nullptr) {
        return UINT(-1);
    }
    return entry->Type | entry->State;
}

int WINAPI GetMenuItemCount(HMENU handle) {
    const Menu* menu = Find(handle);
    return menu != nullptr ? static_cast<int>(menu->Items.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU handle, int position) {
    if (position < 0) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return UINT(-1);
    }
    const MenuItem* entry = ItemOf(handle, static_cast<UINT>(position), MF_BYPOSITION);
    return entry != nullptr ? entry->Id : UINT(-1);
}
