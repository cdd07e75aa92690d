// Region objects.

#include "platform/posix/gdi32/GdiObjects.h"
#include "platform/posix/gdi32/gdi.h"
#include "platform/win32.h"

#include <algorithm>

using posix::gdi::ObjectTable;
using posix::gdi::Region;
using posix::gdi::RegionObject;

namespace {

RegionObject* FindRegion(HRGN region) {
    return ObjectTable::Instance().FindAs<RegionObject>(region);
}

// Win32 accepts the corners of a region's rectangle in either order.
RECT Ordered(int left, int top, int right, int bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
}

} // namespace

namespace posix::gdi {

std::optional<Region> RegionOf(HRGN region) {
    const RegionObject* object = FindRegion(region);
    return object != nullptr ? std::optional<Region>(object->Value) : std::nullopt;
}

bool SetRegion(HRGN region, const Region& value) {
    RegionObject* object = FindRegion(region);
    if (object == nullptr) {
        return false;
    }
    object->Value = value;
    return true;
}

} // namespace posix::gdi

HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom) {
    auto object = std::make_unique<RegionObject>(Region(Ordered(left, top, right, bottom)));
    return static_cast<HRGN>(ObjectTable::Instance().Add(std::move(object)));
}

HRGN WINAPI CreateRectRgnIndirect(const RECT* rect) {
    if (rect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

BOOL WINAPI SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    return posix::gdi::SetRegion(region, Region(Ordered(left, top, right, bottom))) ? TRUE : FALSE;
}

int WINAPI CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
    RegionObject* target = FindRegion(destination);
    const RegionObject* first = FindRegion(source1);
    if (target == nullptr || first == nullptr) {
        return ERROR;
    }
    if (mode == RGN_COPY) {
        target->Value = first->Value;
        return target->Value.Complexity();
    }
    const RegionObject* second = FindRegion(source2);
    if (second == nullptr) {
        return ERROR;
    }
    Region::Operation operation{};
    switch (mode) {
    case RGN_AND:
        operation = Region::Operation::And;
        break;
    case RGN_OR:
        operation = Region::Operation::Or;
        break;
    case RGN_XOR:
        operation = Region::Operation::Xor;
        break;
    case RGN_DIFF:
        operation = Region::Operation::Diff;
        break;
    default:
        return ERROR;
    }
    target->Value = first->Value.Combined(second->Value, operation);
    return target->Value.Complexity();
}

int WINAPI OffsetRgn(HRGN region, int x, int y) {
    RegionObject* object = FindRegion(region);
    if (object == nullptr) {
        return ERROR;
    }
    object->Value.Offset(x, y);
    return object->Value.Complexity();
}

int WINAPI GetRgnBox(HRGN region, LPRECT rect) {
    const RegionObject* object = FindRegion(region);
    if (object == nullptr || rect == nullptr) {
        return ERROR;
    }
    *rect = object->Value.Bounds();
    return object->Value.Complexity();
}

BOOL WINAPI PtInRegion(HRGN region, int x, int y) {
    const RegionObject* object = FindRegion(region);
    return object != nullptr && object->Value.Contains(x, y) ? TRUE : FALSE;
}
