// Device contexts: making and deleting them, selecting objects, drawing state and clipping.

#include "platform/posix/gdi32/DeviceContext.h"
#include "platform/posix/gdi32/gdi.h"
#include "platform/win32.h"

using posix::gdi::BitmapObject;
using posix::gdi::DeviceContext;
using posix::gdi::GdiObject;
using posix::gdi::ObjectKind;
using posix::gdi::ObjectTable;
using posix::gdi::Region;

namespace {

DeviceContext* FindDC(HDC dc) {
    return ObjectTable::Instance().FindAs<DeviceContext>(dc);
}

HDC Register(std::unique_ptr<DeviceContext> context) {
    context->Pen = GetStockObject(BLACK_PEN);
    context->Brush = GetStockObject(WHITE_BRUSH);
    context->SelectedFont = GetStockObject(SYSTEM_FONT);
    for (HGDIOBJ selected :
         {context->Pen, context->Brush, context->SelectedFont, context->Bitmap}) {
        posix::gdi::AddSelection(selected);
    }
    return static_cast<HDC>(ObjectTable::Instance().Add(std::move(context)));
}

void ShowBitmap(DeviceContext& context, const BitmapObject& bitmap) {
    const posix::gdi::Surface surface = bitmap.AsSurface();
    context.SetTarget(surface, POINT{0, 0}, Region(surface.Bounds()));
}

// Swaps the object in a selection slot, keeping the selection counts right.
HGDIOBJ Exchange(HGDIOBJ& slot, HGDIOBJ object) {
    const HGDIOBJ previous = slot;
    posix::gdi::AddSelection(object);
    slot = object;
    posix::gdi::DropSelection(previous);
    return previous;
}

HGDIOBJ SelectBitmap(DeviceContext& context, HGDIOBJ handle, BitmapObject& bitmap) {
    // A bitmap is drawn on by one memory context at a time; the default one is shared.
    if (!context.Memory || (bitmap.Selections > 0 && !bitmap.Stock)) {
        return nullptr;
    }
    const HGDIOBJ previous = Exchange(context.Bitmap, handle);
    ShowBitmap(context, bitmap);
    return previous;
}

int ClipComplexity(DeviceContext& context) {
    return context.Drawable().Complexity();
}

} // namespace

namespace posix::gdi {

HDC CreateSurfaceDC(const Surface& surface, POINT origin, const Region& visible) {
    return Register(std::make_unique<DeviceContext>(surface, origin, visible));
}

std::size_t LiveObjectCount() {
    return ObjectTable::Instance().LiveCount();
}

} // namespace posix::gdi

HDC WINAPI CreateCompatibleDC(HDC dc) {
    if (dc != nullptr && FindDC(dc) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    const HBITMAP bitmap = posix::gdi::DefaultBitmap();
    auto context = std::make_unique<DeviceContext>(posix::gdi::Surface{}, POINT{0, 0}, Region());
    context->Memory = true;
    context->Bitmap = bitmap;
    ShowBitmap(*context, *ObjectTable::Instance().FindAs<BitmapObject>(bitmap));
    return Register(std::move(context));
}

BOOL WINAPI DeleteDC(HDC dc) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return FALSE;
    }
    const HGDIOBJ selected[] = {context->Pen, context->Brush, context->SelectedFont,
                                context->Bitmap};
    ObjectTable::Instance().Remove(dc);
    for (HGDIOBJ object : selected) {
        posix::gdi::DropSelection(object);
    }
    return TRUE;
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ handle) {
    DeviceContext* context = FindDC(dc);
    GdiObject* object = ObjectTable::Instance().Find(handle);
    if (context == nullptr || object == nullptr || object->DeletePending) {
        return nullptr;
    }
    switch (object->Kind) {
    case ObjectKind::Pen:
        return Exchange(context->Pen, handle);
    case ObjectKind::Brush:
        return Exchange(context->Brush, handle);
    case ObjectKind::Font:
        return Exchange(context->SelectedFont, handle);
    case ObjectKind::Bitmap:
        return SelectBitmap(*context, handle, *static_cast<BitmapObject*>(object));
    case ObjectKind::Region: {
        // Selecting a region sets the clip region and answers its complexity, as Win32 does.
        const int complexity = SelectClipRgn(dc, static_cast<HRGN>(handle));
        return complexity == ERROR ? HGDI_ERROR
                                   : reinterpret_cast<HGDIOBJ>(static_cast<LONG_PTR>(complexity));
    }
    case ObjectKind::DeviceContext:
        return nullptr;
    }
    return nullptr;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return CLR_INVALID;
    }
    const COLORREF previous = context->TextColor;
    context->TextColor = color;
    return previous;
}

COLORREF WINAPI GetTextColor(HDC dc) {
    const DeviceContext* context = FindDC(dc);
    return context == nullptr ? CLR_INVALID : context->TextColor;
}

COLORREF WINAPI SetBkColor(HDC dc, COLORREF color) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return CLR_INVALID;
    }
    const COLORREF previous = context->BkColor;
    context->BkColor = color;
    return previous;
}

COLORREF WINAPI GetBkColor(HDC dc) {
    const DeviceContext* context = FindDC(dc);
    return context == nullptr ? CLR_INVALID : context->BkColor;
}

int WINAPI SetBkMode(HDC dc, int mode) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) {
        return 0;
    }
    const int previous = context->BkMode;
    context->BkMode = mode;
    return previous;
}

int WINAPI GetBkMode(HDC dc) {
    const DeviceContext* context = FindDC(dc);
    return context == nullptr ? 0 : context->BkMode;
}

UINT WINAPI SetTextAlign(HDC dc, UINT align) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return GDI_ERROR;
    }
    const UINT previous = context->TextAlign;
    context->TextAlign = align;
    return previous;
}

UINT WINAPI GetTextAlign(HDC dc) {
    const DeviceContext* context = FindDC(dc);
    return context == nullptr ? GDI_ERROR : context->TextAlign;
}

BOOL WINAPI SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return FALSE;
    }
    if (previous != nullptr) {
        *previous = context->BrushOrigin;
    }
    context->BrushOrigin = POINT{x, y};
    return TRUE;
}

BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return FALSE;
    }
    if (previous != nullptr) {
        *previous = context->Position;
    }
    context->Position = POINT{x, y};
    return TRUE;
}

int WINAPI SelectClipRgn(HDC dc, HRGN region) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return ERROR;
    }
    if (region == nullptr) {
        context->SetClip(std::nullopt);
        return ClipComplexity(*context);
    }
    std::optional<Region> value = posix::gdi::RegionOf(region);
    if (!value) {
        return ERROR;
    }
    context->SetClip(std::move(value));
    return ClipComplexity(*context);
}

int WINAPI IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr) {
        return ERROR;
    }
    const Region rect(RECT{left, top, right, bottom});
    const std::optional<Region>& clip = context->Clip();
    context->SetClip(clip ? clip->Combined(rect, Region::Operation::And) : rect);
    return ClipComplexity(*context);
}

int WINAPI GetClipBox(HDC dc, LPRECT rect) {
    DeviceContext* context = FindDC(dc);
    if (context == nullptr || rect == nullptr) {
        return ERROR;
    }
    const Region& drawable = context->Drawable();
    *rect = drawable.IsEmpty() ? RECT{0, 0, 0, 0} : context->FromSurface(drawable.Bounds());
    return drawable.Complexity();
}
