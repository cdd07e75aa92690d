#include "toolkit/TList.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int32_t DefaultGrowBy = 4;
constexpr std::int32_t MaxSlots = std::numeric_limits<std::int32_t>::max();

} // namespace

TList* CreateList() {
    return TList::Created(new TList);
}

TList::~TList() {
    Clear();
}

void TList::InitFields() {
    TObj::InitFields();
    GrowBy = DefaultGrowBy;
}

bool TList::Add(void* item) {
    if (GrowBy <= 0) {
        GrowBy = DefaultGrowBy;
    }
    if (count >= capacity) {
        if (count == MaxSlots) {
            return false;
        }
        SetCapacity(count + std::min(GrowBy, MaxSlots - count));
    }
    items[count] = item;
    ++count;
    return true;
}

bool TList::Insert(std::int32_t index, void* item) {
    if (index < 0 || index > count || !Add(nullptr)) {
        return false;
    }
    void** slots = items.get();
    std::copy_backward(slots + index, slots + count - 1, slots + count);
    items[index] = item;
    return true;
}

void* TList::Get(std::int32_t index) const {
    if (index < 0 || index >= count) {
        return nullptr;
    }
    return items[index];
}

std::int32_t TList::IndexOf(const void* item) const {
    for (std::int32_t index = 0; index < count; ++index) {
        if (items[index] == item) {
            return index;
        }
    }
    return -1;
}

void TList::Delete(std::int32_t index) {
    DeleteRange(index, 1);
}

void TList::DeleteRange(std::int32_t index, std::int32_t n) {
    if (n <= 0 || index < 0 || index >= count) {
        return;
    }
    n = std::min(n, count - index);
    void** slots = items.get();
    std::copy(slots + index + n, slots + count, slots + index);
    count -= n;
}

void TList::Remove(const void* item) {
    Delete(IndexOf(item));
}

void TList::SetCapacity(std::int32_t n) {
    n = std::max(n, count);
    if (n == capacity) {
        return;
    }
    std::unique_ptr<void*[]> resized;
    if (n > 0) {
        resized = std::make_unique<void*[]>(static_cast<std::size_t>(n));
        std::copy(items.get(), items.get() + count, resized.get());
    }
    items = std::move(resized);
    capacity = n;
}

void TList::Clear() {
    items.reset();
    count = 0;
    capacity = 0;
}
