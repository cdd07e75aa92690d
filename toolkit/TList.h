#pragma once

#include <cstdint>
#include <memory>

#include "toolkit/TObj.h"

// A growable array of untyped pointers. It owns its slot array, never what the slots point
// at. Indices outside the valid range are ignored.
class TList : public TObj {
public:
    void** Items() const { return items.get(); }
    std::int32_t Count() const { return count; }
    std::int32_t Capacity() const { return capacity; }

    // Slots added when Add finds the list full; values below 1 mean 4.
    std::int32_t GrowBy = 0;

    // Appends; false only when the list cannot grow any further.
    bool Add(void* item);
    // Inserts before position index, 0 <= index <= Count; false when index is out of range.
    bool Insert(std::int32_t index, void* item);
    // The pointer at index, or null when index is out of range.
    void* Get(std::int32_t index) const;
    // The first index holding exactly this pointer, or -1.
    std::int32_t IndexOf(const void* item) const;
    void Delete(std::int32_t index);
    // Removes up to n slots from index.
    void DeleteRange(std::int32_t index, std::int32_t n);
    void Remove(const void* item);
    // Reallocates to n slots, never below Count.
    void SetCapacity(std::int32_t n);
    // Releases the slot array; GrowBy stays.
    void Clear();

    friend TList* CreateList();

protected:
    TList() = default;
    ~TList() override;
    void InitFields() override;

private:
    std::unique_ptr<void*[]> items;
    std::int32_t count = 0;
    std::int32_t capacity = 0;
};

// An empty list that grows by 4.
TList* CreateList();
