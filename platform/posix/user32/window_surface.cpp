// Top-level surfaces and window device contexts.

#include "platform/posix/user32/window_surface.h"

#include "platform/posix/display/display.h"
#include "platform/posix/gdi32/gdi.h"
#include "platform/posix/testing/driver_hooks.h"
#include "platform/posix/user32/message_queue.h"
#include "platform/posix/user32/paint.h"
#include "platform/posix/user32/window_manager.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace {

using posix::Window;
using posix::gdi::Region;

struct SurfacePixels {
    std::vector<std::uint32_t> Pixels;
    std::vector<std::uint32_t> DetailPixels; // empty at detail 1
    posix::gdi::Surface Surface;
};

struct OpenDC {
    HWND Window = nullptr;
    HWND TopLevel = nullptr;
    RECT Area{}; // surface coordinates it may draw on
    std::shared_ptr<SurfacePixels> Pixels;
};

std::map<HWND, std::shared_ptr<SurfacePixels>> surfaces;
std::map<HDC, OpenDC> openDCs;

void ForgetAll() {
    for (const auto& [dc, open] : openDCs) {
        DeleteDC(dc);
    }
    openDCs.clear();
    surfaces.clear();
}

bool InUse(const std::shared_ptr<SurfacePixels>& pixels) {
    return std::any_of(openDCs.begin(), openDCs.end(),
                       [&](const auto& entry) { return entry.second.Pixels == pixels; });
}

// The detail the display shows windows at.
int DisplayDetail() {
    const posix::Display* display = posix::ChosenDisplay();
    return display != nullptr ? std::clamp(display->Scale(), 1, posix::kLargestScale) : 1;
}

// Copies the pixels of the top-left width by height of one picture to another.
void CopyCorner(const std::uint32_t* from, int fromStride, std::uint32_t* to, int toStride,
                int width, int height) {
    for (int y = 0; y < height; ++y) {
        std::copy_n(from + static_cast<std::size_t>(y) * fromStride, width,
                    to + static_cast<std::size_t>(y) * toStride);
    }
}

// New pixels start as the classic window colour; the old ones that still fit are kept, with
// their detail when it is as fine.
std::shared_ptr<SurfacePixels> Resized(const SurfacePixels* old, int width, int height,
                                       int detail) {
    const std::uint32_t background = posix::gdi::PixelFromColor(GetSysColor(COLOR_WINDOW));
    auto made = std::make_shared<SurfacePixels>();
    made->Pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                        background);
    made->Surface = {made->Pixels.data(), width, height, width};
    if (detail > 1) {
        made->DetailPixels.assign(made->Pixels.size() * static_cast<std::size_t>(detail * detail),
                                  background);
        made->Surface.DetailPixels = made->DetailPixels.data();
        made->Surface.Detail = detail;
    }
    if (old == nullptr) {
        return made;
    }
    const posix::gdi::Surface& was = old->Surface;
    const int keepWidth = std::min(width, was.Width);
    const int keepHeight = std::min(height, was.Height);
    CopyCorner(was.Pixels, was.Stride, made->Pixels.data(), width, keepWidth, keepHeight);
    if (was.Detail == detail && was.HasDetail()) {
        CopyCorner(was.DetailPixels, was.Stride * detail, made->DetailPixels.data(), width * detail,
                   keepWidth * detail, keepHeight * detail);
    } else if (detail > 1) {
        for (int y = 0; y < keepHeight * detail; ++y) {
            for (int x = 0; x < keepWidth * detail; ++x) {
                made->Surface.DetailAt(x, y) = made->Surface.At(x / detail, y / detail);
            }
        }
    }
    return made;
}

std::shared_ptr<SurfacePixels> PixelsOf(HWND topLevel) {
    const Window* window = posix::FindWindowRecord(topLevel);
    if (window == nullptr || !posix::IsTopLevel(*window)) {
        return nullptr;
    }
    const int width = window->Client.right - window->Client.left;
    const int height = window->Client.bottom - window->Client.top;
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    posix::AddResetHandler(&ForgetAll);
    std::shared_ptr<SurfacePixels>& slot = surfaces[topLevel];
    // The pixels under an open context stay where they are until it is released.
    const int detail = DisplayDetail();
    const bool differs = slot == nullptr || slot->Surface.Width != width ||
                         slot->Surface.Height != height || slot->Surface.Detail != detail;
    if (differs && (slot == nullptr || !InUse(slot))) {
        slot = Resized(slot.get(), width, height, detail);
    }
    return slot;
}

RECT Offset(const RECT& rect, POINT by) {
    return {rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y};
}

// A child's window rectangle in surface coordinates.
RECT SurfaceRectOfChild(const Window& child) {
    return Offset(child.Rect, posix::SurfaceOrigin(child.Parent));
}

Region WithoutWindows(Region region, const std::vector<HWND>& windows) {
    for (HWND handle : windows) {
        const Window* other = posix::FindWindowRecord(handle);
        if ((other->Style & WS_VISIBLE) != 0) {
            region = region.Combined(Region(SurfaceRectOfChild(*other)), Region::Operation::Diff);
        }
    }
    return region;
}

// The siblings above a child: earlier in its parent's list.
std::vector<HWND> SiblingsAbove(const Window& child) {
    const std::vector<HWND>& siblings = posix::SiblingsOf(child);
    const auto self = std::find(siblings.begin(), siblings.end(), child.Handle);
    return {siblings.begin(), self};
}

} // namespace

namespace posix {

const gdi::Surface* SurfaceOf(HWND topLevel) {
    const std::shared_ptr<SurfacePixels> pixels = PixelsOf(topLevel);
    return pixels != nullptr ? &pixels->Surface : nullptr;
}

POINT SurfaceOrigin(HWND handle) {
    POINT origin{0, 0};
    for (const Window* window = FindWindowRecord(handle); window != nullptr && !IsTopLevel(*window);
         window = FindWindowRecord(window->Parent)) {
        origin.x += window->Client.left;
        origin.y += window->Client.top;
    }
    return origin;
}

const gdi::Surface* ClientAreaOnSurface(HWND handle, RECT* area) {
    const Window* window = FindWindowRecord(handle);
    const gdi::Surface* surface = window != nullptr ? SurfaceOf(RootOf(handle)) : nullptr;
    if (surface == nullptr) {
        return nullptr;
    }
    const POINT origin = SurfaceOrigin(handle);
    // Both lie within the coordinate limit, so the sums fit.
    *area = {origin.x, origin.y, origin.x + (window->Client.right - window->Client.left),
             origin.y + (window->Client.bottom - window->Client.top)};
    return surface;
}

gdi::Region VisiblePart(HWND handle) {
    const Window* window = FindWindowRecord(handle);
    if (window == nullptr || !IsReallyVisible(handle)) {
        return {};
    }
    const std::shared_ptr<SurfacePixels> pixels = PixelsOf(RootOf(handle));
    if (pixels == nullptr || (FindWindowRecord(RootOf(handle))->Style & WS_MINIMIZE) != 0) {
        return {};
    }
    const POINT origin = SurfaceOrigin(handle);
    const RECT client = {origin.x, origin.y,
                         origin.x + (window->Client.right - window->Client.left),
                         origin.y + (window->Client.bottom - window->Client.top)};
    Region visible(gdi::IntersectRects(client, pixels->Surface.Bounds()));
    for (const Window* inner = window; !IsTopLevel(*inner);
         inner = FindWindowRecord(inner->Parent)) {
        const Window* parent = FindWindowRecord(inner->Parent);
        const POINT parentOrigin = SurfaceOrigin(inner->Parent);
        const RECT parentClient = {parentOrigin.x, parentOrigin.y,
                                   parentOrigin.x + (parent->Client.right - parent->Client.left),
                                   parentOrigin.y + (parent->Client.bottom - parent->Client.top)};
        visible = visible.Combined(Region(parentClient), Region::Operation::And);
        if ((inner->Style & WS_CLIPSIBLINGS) != 0) {
            visible = WithoutWindows(visible, SiblingsAbove(*inner));
        }
    }
    if ((window->Style & WS_CLIPCHILDREN) != 0) {
        visible = WithoutWindows(visible, window->Children);
    }
    return visible;
}

HDC OpenWindowDC(HWND handle, const std::optional<gdi::Region>& limit) {
    if (handle != nullptr && FindWindowRecord(handle) == nullptr) {
        return nullptr;
    }
    const HWND topLevel = handle != nullptr ? RootOf(handle) : nullptr;
    const std::shared_ptr<SurfacePixels> pixels = PixelsOf(topLevel);
    if (pixels == nullptr) {
        // Without pixels (the screen, or a window of no size) a context still measures text.
        const HDC dc = gdi::CreateSurfaceDC(gdi::Surface{}, POINT{0, 0}, Region());
        if (dc != nullptr) {
            openDCs[dc] = OpenDC{handle, topLevel, RECT{}, nullptr};
        }
        return dc;
    }
    const POINT origin = SurfaceOrigin(handle);
    Region visible = VisiblePart(handle);
    if (limit.has_value()) {
        Region inSurface = *limit;
        inSurface.Offset(origin.x, origin.y);
        visible = visible.Combined(inSurface, Region::Operation::And);
    }
    visible = visible.Combined(Region(pixels->Surface.Bounds()), Region::Operation::And);
    const HDC dc = gdi::CreateSurfaceDC(pixels->Surface, origin, visible);
    if (dc != nullptr) {
        openDCs[dc] = OpenDC{handle, topLevel, visible.Bounds(), pixels};
    }
    return dc;
}

bool CloseWindowDC(HWND handle, HDC dc) {
    const auto found = openDCs.find(dc);
    if (found == openDCs.end() || (handle != nullptr && found->second.Window != handle)) {
        return false;
    }
    const OpenDC open = found->second;
    openDCs.erase(found);
    DeleteDC(dc);
    const auto current = surfaces.find(open.TopLevel);
    if (open.Pixels != nullptr && current != surfaces.end() && current->second == open.Pixels &&
        !gdi::IsEmptyRect(open.Area)) {
        CurrentDisplay().SurfaceChanged(open.TopLevel, open.Area);
    }
    return true;
}

void ForgetSurfaceOf(HWND window) {
    surfaces.erase(window);
}

} // namespace posix

// The screen (a null window) has no pixels of its own here: its context only measures.
HDC WINAPI GetDC(HWND window) {
    if (window != nullptr && posix::CheckedWindow(window) == nullptr) {
        return nullptr;
    }
    return posix::OpenWindowDC(window, std::nullopt);
}

HDC WINAPI GetWindowDC(HWND window) {
    return GetDC(window);
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
    if (!posix::CloseWindowDC(window, dc)) {
        return 0;
    }
    // Drawing outside any message (the program's own code) shows at once; drawing while a
    // message is handled shows when it has been.
    if (!posix::DispatchingMessage()) {
        posix::PresentWhenPainted();
    }
    return 1;
}
