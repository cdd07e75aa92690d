// Drawing objects: stock objects, brushes, pens, fonts, bitmaps; deletion and read-back.

#include "platform/posix/gdi32/DeviceContext.h"
#include "platform/posix/gdi32/GdiObjects.h"
#include "platform/posix/gdi32/RealizedFont.h"
#include "platform/posix/gdi32/gdi.h"
#include "platform/win32.h"

#include <algorithm>
#include <array>
#include <cstring>

using posix::gdi::BitmapObject;
using posix::gdi::BitmapPixels;
using posix::gdi::BrushObject;
using posix::gdi::FontObject;
using posix::gdi::GdiObject;
using posix::gdi::ObjectKind;
using posix::gdi::ObjectTable;
using posix::gdi::PenObject;

namespace {

constexpr int maximumBitmapSide = 16384;
constexpr std::int64_t maximumBitmapPixels = std::int64_t{1} << 26;

LOGFONTA StockFont(LONG height, LONG weight, BYTE pitchAndFamily, const char* face) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return font;
}

std::unique_ptr<GdiObject> MakeStockObject(int index) {
    const auto brush = [](UINT style, COLORREF color) {
        return std::make_unique<BrushObject>(LOGBRUSH{style, color, 0});
    };
    const auto pen = [](int style, COLORREF color) {
        return std::make_unique<PenObject>(LOGPEN{static_cast<UINT>(style), POINT{0, 0}, color});
    };
    const auto font = [](LONG height, LONG weight, BYTE pitchAndFamily, const char* face) {
        return std::make_unique<FontObject>(StockFont(height, weight, pitchAndFamily, face));
    };
    switch (index) {
    case WHITE_BRUSH:
        return brush(BS_SOLID, RGB(255, 255, 255));
    case LTGRAY_BRUSH:
        return brush(BS_SOLID, RGB(192, 192, 192));
    case GRAY_BRUSH:
        return brush(BS_SOLID, RGB(128, 128, 128));
    case DKGRAY_BRUSH:
        return brush(BS_SOLID, RGB(64, 64, 64));
    case BLACK_BRUSH:
        return brush(BS_SOLID, RGB(0, 0, 0));
    case NULL_BRUSH:
        return brush(BS_NULL, 0);
    case WHITE_PEN:
        return pen(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN:
        return pen(PS_SOLID, RGB(0, 0, 0));
    case NULL_PEN:
        return pen(PS_NULL, 0);
    case OEM_FIXED_FONT:
        return font(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Terminal");
    case ANSI_FIXED_FONT:
        return font(13, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier");
    case ANSI_VAR_FONT:
        return font(13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
        return font(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System");
    case SYSTEM_FIXED_FONT:
        return font(15, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Fixedsys");
    case DEFAULT_GUI_FONT:
        return font(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Shell Dlg");
    default:
        return nullptr;
    }
}

template <class Handle> Handle Register(std::unique_ptr<GdiObject> object) {
    return static_cast<Handle>(ObjectTable::Instance().Add(std::move(object)));
}

bool IsValidHatch(ULONG_PTR hatch) {
    return hatch <= static_cast<ULONG_PTR>(HS_DIAGCROSS);
}

// Unpacks Win32 bitmap bits: 1 bit per pixel in rows padded to 16 bits (set bits white), or
// 4 bytes per pixel (blue, green, red, unused).
void UnpackBits(BitmapPixels& bitmap, UINT bitsPerPixel, const void* bits) {
    const auto* bytes = static_cast<const unsigned char*>(bits);
    const auto width = static_cast<std::size_t>(bitmap.Width);
    const std::size_t rowBytes = bitsPerPixel == 1 ? (width + 15) / 16 * 2 : width * 4;
    for (std::size_t y = 0; y < static_cast<std::size_t>(bitmap.Height); ++y) {
        const unsigned char* row = bytes + y * rowBytes;
        for (std::size_t x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            if (bitsPerPixel == 1) {
                pixel = (row[x / 8] & (0x80u >> (x % 8))) != 0 ? 0xFFFFFFu : 0;
            } else {
                const unsigned char* p = row + x * 4;
                pixel =
                    std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16);
            }
            bitmap.Pixels[y * width + x] = pixel;
        }
    }
}

HBITMAP MakeBitmap(int width, int height, bool monochrome, UINT bitsPerPixel, const void* bits) {
    if (width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // An empty size gives the smallest bitmap there is, as Win32 does.
    if (width == 0 || height == 0) {
        width = 1;
        height = 1;
        monochrome = true;
        bits = nullptr;
    }
    if (width > maximumBitmapSide || height > maximumBitmapSide ||
        std::int64_t{width} * height > maximumBitmapPixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto pixels = std::make_shared<BitmapPixels>();
    pixels->Width = width;
    pixels->Height = height;
    pixels->Monochrome = monochrome;
    pixels->Pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    if (bits != nullptr) {
        UnpackBits(*pixels, bitsPerPixel, bits);
    }
    return Register<HBITMAP>(std::make_unique<BitmapObject>(std::move(pixels)));
}

template <class Record> int CopyRecord(const Record& record, int size, LPVOID buffer) {
    if (buffer == nullptr) {
        return static_cast<int>(sizeof(Record));
    }
    if (size <= 0) {
        return 0;
    }
    const std::size_t count = std::min(sizeof(Record), static_cast<std::size_t>(size));
    std::memcpy(buffer, &record, count);
    return static_cast<int>(count);
}

BITMAP BitmapRecord(const BitmapPixels& pixels) {
    BITMAP record{};
    record.bmWidth = pixels.Width;
    record.bmHeight = pixels.Height;
    record.bmPlanes = 1;
    record.bmBitsPixel = pixels.Monochrome ? 1 : 32;
    record.bmWidthBytes = pixels.Monochrome ? (pixels.Width + 15) / 16 * 2 : pixels.Width * 4;
    return record;
}

} // namespace

namespace posix::gdi {

HGDIOBJ StockObject(int index) {
    static std::array<HGDIOBJ, DEFAULT_GUI_FONT + 1> stock{};
    if (index < 0 || static_cast<std::size_t>(index) >= stock.size()) {
        return nullptr;
    }
    HGDIOBJ& handle = stock[static_cast<std::size_t>(index)];
    if (handle == nullptr) {
        std::unique_ptr<GdiObject> object = MakeStockObject(index);
        if (object == nullptr) {
            return nullptr;
        }
        object->Stock = true;
        handle = ObjectTable::Instance().Add(std::move(object));
    }
    return handle;
}

std::string FontFamilyOf(HFONT font) {
    FontObject* object = ObjectTable::Instance().FindAs<FontObject>(font);
    return object != nullptr ? object->Realized().Family() : std::string();
}

HBITMAP DefaultBitmap() {
    static HBITMAP bitmap = [] {
        HBITMAP made = MakeBitmap(1, 1, true, 1, nullptr);
        ObjectTable::Instance().Find(made)->Stock = true;
        return made;
    }();
    return bitmap;
}

HBRUSH CreateStockBrush(COLORREF color) {
    auto object = std::make_unique<BrushObject>(LOGBRUSH{BS_SOLID, color, 0});
    object->Stock = true;
    return static_cast<HBRUSH>(ObjectTable::Instance().Add(std::move(object)));
}

void SetBrushColor(HBRUSH brush, COLORREF color) {
    if (auto* object = ObjectTable::Instance().FindAs<BrushObject>(brush); object != nullptr) {
        object->Brush.lbColor = color;
    }
}

} // namespace posix::gdi

HGDIOBJ WINAPI GetStockObject(int object) {
    return posix::gdi::StockObject(object);
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    return Register<HBRUSH>(std::make_unique<BrushObject>(LOGBRUSH{BS_SOLID, color, 0}));
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* brush) {
    if (brush == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto object = std::make_unique<BrushObject>(*brush);
    switch (brush->lbStyle) {
    case BS_SOLID:
    case BS_NULL:
        break;
    case BS_HATCHED:
        if (!IsValidHatch(brush->lbHatch)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        break;
    case BS_PATTERN: {
        // The brush keeps its own copy of the pixels, so the bitmap may be deleted at once.
        const auto* bitmap =
            ObjectTable::Instance().FindAs<BitmapObject>(reinterpret_cast<HGDIOBJ>(brush->lbHatch));
        if (bitmap == nullptr) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        object->Pattern = std::make_shared<const BitmapPixels>(*bitmap->Data);
        break;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Register<HBRUSH>(std::move(object));
}

HPEN WINAPI CreatePen(int style, int width, COLORREF color) {
    if (style < PS_SOLID || style > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const LOGPEN pen{static_cast<UINT>(style), POINT{std::max(0, width), 0}, color};
    return Register<HPEN>(std::make_unique<PenObject>(pen));
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* font) {
    if (font == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return Register<HFONT>(std::make_unique<FontObject>(*font));
}

HBITMAP WINAPI CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel,
                            const void* bits) {
    if (planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return MakeBitmap(width, height, bitsPerPixel == 1, bitsPerPixel, bits);
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC dc, int width, int height) {
    if (ObjectTable::Instance().FindAs<posix::gdi::DeviceContext>(dc) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return MakeBitmap(width, height, false, 32, nullptr);
}

BOOL WINAPI DeleteObject(HGDIOBJ handle) {
    GdiObject* object = ObjectTable::Instance().Find(handle);
    if (object == nullptr || object->Kind == ObjectKind::DeviceContext || object->Stock ||
        object->DeletePending) {
        return FALSE;
    }
    if (object->Selections > 0) {
        // A bitmap cannot go while a memory context draws on it; other objects wait for
        // their last deselection.
        if (object->Kind == ObjectKind::Bitmap) {
            return FALSE;
        }
        object->DeletePending = true;
        return TRUE;
    }
    ObjectTable::Instance().Remove(handle);
    return TRUE;
}

int WINAPI GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
    GdiObject* object = ObjectTable::Instance().Find(handle);
    if (object == nullptr) {
        return 0;
    }
    switch (object->Kind) {
    case ObjectKind::Font:
        return CopyRecord(static_cast<FontObject*>(object)->Font, size, buffer);
    case ObjectKind::Brush:
        return CopyRecord(static_cast<BrushObject*>(object)->Brush, size, buffer);
    case ObjectKind::Pen:
        return CopyRecord(static_cast<PenObject*>(object)->Pen, size, buffer);
    case ObjectKind::Bitmap:
        return CopyRecord(BitmapRecord(*static_cast<BitmapObject*>(object)->Data), size, buffer);
    default:
        return 0;
    }
}
