#pragma once

// The drawing objects behind GDI handles, and the table that hands out the handles.

#include "platform/posix/gdi32/Region.h"
#include "platform/posix/gdi32/Surface.h"
#include "platform/win32.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace posix::gdi {

class RealizedFont;

enum class ObjectKind { Pen, Brush, Font, Region, Bitmap, DeviceContext };

struct GdiObject {
    explicit GdiObject(ObjectKind kind) : Kind(kind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    const ObjectKind Kind;
    bool Stock = false;         // a stock object: never deleted
    int Selections = 0;         // device contexts it is selected into
    bool DeletePending = false; // deleted while selected: destroyed at the last deselection
};

struct PenObject : GdiObject {
    static constexpr ObjectKind KindValue = ObjectKind::Pen;
    explicit PenObject(const LOGPEN& pen) : GdiObject(KindValue), Pen(pen) {}
    LOGPEN Pen;
};

// Pixels of a bitmap, shared by the bitmap and the pattern brushes made from it.
struct BitmapPixels {
    int Width = 0;
    int Height = 0;
    bool Monochrome = false;           // made with 1 bit per pixel: black or white only
    std::vector<std::uint32_t> Pixels; // 0x00RRGGBB, Width * Height, rows top to bottom
};

struct BrushObject : GdiObject {
    static constexpr ObjectKind KindValue = ObjectKind::Brush;
    explicit BrushObject(const LOGBRUSH& brush) : GdiObject(KindValue), Brush(brush) {}
    LOGBRUSH Brush;
    std::shared_ptr<const BitmapPixels> Pattern; // copy of the bitmap of a BS_PATTERN brush
};

struct FontObject : GdiObject {
    static constexpr ObjectKind KindValue = ObjectKind::Font;
    explicit FontObject(const LOGFONTA& font);
    ~FontObject() override;
    // Matches and loads the face on first use, so that making a font costs nothing.
    RealizedFont& Realized();

    LOGFONTA Font;

private:
    std::unique_ptr<RealizedFont> realized_;
};

struct RegionObject : GdiObject {
    static constexpr ObjectKind KindValue = ObjectKind::Region;
    explicit RegionObject(Region value) : GdiObject(KindValue), Value(std::move(value)) {}
    Region Value;
};

struct BitmapObject : GdiObject {
    static constexpr ObjectKind KindValue = ObjectKind::Bitmap;
    explicit BitmapObject(std::shared_ptr<BitmapPixels> pixels)
        : GdiObject(KindValue), Data(std::move(pixels)) {}
    Surface AsSurface() const;
    std::shared_ptr<BitmapPixels> Data;
};

// Handles carry a slot index and the slot's generation, so a handle of a deleted object
// never reaches the object that later takes its slot. Handle values are far above the
// small integers that FillRect accepts as system colours.
class ObjectTable {
public:
    static ObjectTable& Instance();

    // The new object's handle; 0 when the table is full.
    HGDIOBJ Add(std::unique_ptr<GdiObject> object);
    GdiObject* Find(HGDIOBJ handle) const;
    template <class T> T* FindAs(HGDIOBJ handle) const {
        GdiObject* object = Find(handle);
        return object != nullptr && object->Kind == T::KindValue ? static_cast<T*>(object)
                                                                 : nullptr;
    }
    void Remove(HGDIOBJ handle);
    std::size_t LiveCount() const { return live_; }

private:
    struct Slot {
        std::unique_ptr<GdiObject> Object;
        std::uint32_t Generation = 1;
    };
    std::vector<Slot> slots_;
    std::vector<std::uint32_t> free_;
    std::size_t live_ = 0;
};

// Counts one more selection of the object into a device context.
void AddSelection(HGDIOBJ handle);
// Counts one selection less, destroying an object whose deletion waited for it.
void DropSelection(HGDIOBJ handle);

} // namespace posix::gdi
