#pragma once

// Probes of what a window shows, read back through the test driver: single pixels and the
// bounding box of the pixels that differ from a background colour.

#include "platform/testing.h"

#include <algorithm>
#include <optional>
#include <string>

namespace probe {

inline COLORREF Sys(int index) {
    return GetSysColor(index);
}

// The box (client coordinates, right and bottom exclusive) of the pixels inside 'area' whose
// colour is not 'background'; nothing when all of them are.
inline std::optional<RECT> InkBox(HWND window, const RECT& area, COLORREF background) {
    std::optional<RECT> box;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (testdriver::ClientPixel(window, x, y) == static_cast<std::int64_t>(background)) {
                continue;
            }
            if (!box) {
                box = RECT{x, y, x + 1, y + 1};
            }
            box->left = std::min<LONG>(box->left, x);
            box->top = std::min<LONG>(box->top, y);
            box->right = std::max<LONG>(box->right, x + 1);
            box->bottom = std::max<LONG>(box->bottom, y + 1);
        }
    }
    return box;
}

inline RECT ClientOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

// How many pixels of a row segment have the colour.
inline int CountInRow(HWND window, int y, int left, int right, COLORREF colour) {
    int count = 0;
    for (int x = left; x < right; ++x) {
        count += testdriver::ClientPixel(window, x, y) == static_cast<std::int64_t>(colour) ? 1 : 0;
    }
    return count;
}

inline std::string Text(const RECT& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
           std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

} // namespace probe
