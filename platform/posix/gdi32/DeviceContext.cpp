#include "platform/posix/gdi32/DeviceContext.h"

#include "platform/posix/gdi32/RealizedFont.h"

#include <algorithm>
#include <cstdint>

namespace posix::gdi {

namespace {

// Surface coordinates are held within this distance of 0, far beyond any surface, so that
// sums and differences of them never overflow.
constexpr std::int64_t coordinateLimit = std::int64_t{1} << 29;

LONG Shifted(LONG value, std::int64_t by) {
    const std::int64_t sum = std::int64_t{value} + by;
    return static_cast<LONG>(std::clamp(sum, -coordinateLimit, coordinateLimit));
}

} // namespace

DeviceContext::DeviceContext(const Surface& target, POINT origin, Region visible)
    : GdiObject(KindValue) {
    SetTarget(target, origin, std::move(visible));
}

void DeviceContext::SetTarget(const Surface& target, POINT origin, Region visible) {
    Target = target;
    Origin = origin;
    visible_ = std::move(visible);
    drawable_.reset();
}

void DeviceContext::SetClip(std::optional<Region> clip) {
    clip_ = std::move(clip);
    drawable_.reset();
}

const Region& DeviceContext::Drawable() {
    if (!drawable_) {
        Region drawable = visible_.Combined(Region(Target.Bounds()), Region::Operation::And);
        if (clip_) {
            Region clip = *clip_;
            clip.Offset(Origin.x, Origin.y);
            drawable = drawable.Combined(clip, Region::Operation::And);
        }
        drawable_ = std::move(drawable);
    }
    return *drawable_;
}

RECT DeviceContext::ToSurface(const RECT& rect) const {
    return RECT{Shifted(rect.left, Origin.x), Shifted(rect.top, Origin.y),
                Shifted(rect.right, Origin.x), Shifted(rect.bottom, Origin.y)};
}

RECT DeviceContext::FromSurface(const RECT& rect) const {
    const std::int64_t dx = -std::int64_t{Origin.x};
    const std::int64_t dy = -std::int64_t{Origin.y};
    return RECT{Shifted(rect.left, dx), Shifted(rect.top, dy), Shifted(rect.right, dx),
                Shifted(rect.bottom, dy)};
}

RealizedFont& DeviceContext::Font() const {
    return ObjectTable::Instance().FindAs<FontObject>(SelectedFont)->Realized();
}

} // namespace posix::gdi
