#pragma once

#include "core/TData.h"

// Read access to a one-dimensional collection that an element hands out in a TagArray
// value. The element that produced the value owns the accessor.
class ArrayAccessor {
public:
    virtual ~ArrayAccessor() = default;
    // `index` is a TagReal value. Fills `item` and returns true when the item exists.
    virtual bool GetItem(const TData& index, TData& item) = 0;
};
