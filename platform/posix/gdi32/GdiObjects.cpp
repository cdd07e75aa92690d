#include "platform/posix/gdi32/GdiObjects.h"

#include "platform/posix/gdi32/RealizedFont.h"

namespace posix::gdi {

namespace {

constexpr unsigned indexBits = 24;
constexpr std::uint64_t indexMask = (std::uint64_t{1} << indexBits) - 1;
constexpr std::size_t maximumSlots = std::size_t{1} << 20;

HGDIOBJ MakeHandle(std::size_t index, std::uint32_t generation) {
    const std::uint64_t value = (std::uint64_t{generation} << indexBits) | index;
    return reinterpret_cast<HGDIOBJ>(static_cast<std::uintptr_t>(value));
}

} // namespace

FontObject::FontObject(const LOGFONTA& font) : GdiObject(KindValue), Font(font) {}

FontObject::~FontObject() = default;

RealizedFont& FontObject::Realized() {
    if (!realized_) {
        realized_ = std::make_unique<RealizedFont>(Font);
    }
    return *realized_;
}

Surface BitmapObject::AsSurface() const {
    return Surface{Data->Pixels.data(), Data->Width, Data->Height, Data->Width};
}

ObjectTable& ObjectTable::Instance() {
    static ObjectTable table;
    return table;
}

HGDIOBJ ObjectTable::Add(std::unique_ptr<GdiObject> object) {
    std::size_t index = 0;
    if (!free_.empty()) {
        index = free_.back();
        free_.pop_back();
    } else if (slots_.size() < maximumSlots) {
        index = slots_.size();
        slots_.emplace_back();
    } else {
        return nullptr;
    }
    slots_[index].Object = std::move(object);
    ++live_;
    return MakeHandle(index, slots_[index].Generation);
}

GdiObject* ObjectTable::Find(HGDIOBJ handle) const {
    const auto value = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
    const std::uint64_t index = value & indexMask;
    const std::uint64_t generation = value >> indexBits;
    if (index >= slots_.size()) {
        return nullptr;
    }
    const Slot& slot = slots_[index];
    return slot.Generation == generation ? slot.Object.get() : nullptr;
}

void ObjectTable::Remove(HGDIOBJ handle) {
    if (Find(handle) == nullptr) {
        return;
    }
    const auto value = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
    const auto index = static_cast<std::size_t>(value & indexMask);
    Slot& slot = slots_[index];
    // Taken out of the table before it is destroyed, so nothing can find it half destroyed.
    const std::unique_ptr<GdiObject> doomed = std::move(slot.Object);
    slot.Generation = slot.Generation == UINT32_MAX ? 1 : slot.Generation + 1;
    free_.push_back(static_cast<std::uint32_t>(index));
    --live_;
}

void AddSelection(HGDIOBJ handle) {
    if (GdiObject* object = ObjectTable::Instance().Find(handle)) {
        ++object->Selections;
    }
}

void DropSelection(HGDIOBJ handle) {
    GdiObject* object = ObjectTable::Instance().Find(handle);
    if (object == nullptr) {
        return;
    }
    if (object->Selections > 0) {
        --object->Selections;
    }
    if (object->Selections == 0 && object->DeletePending) {
        ObjectTable::Instance().Remove(handle);
    }
}

} // namespace posix::gdi
