#pragma once

#include <cstdint>

#include "core/TData.h"

// Read access to a two-dimensional collection that an element hands out in a TagMatrix
// value. The element that produced the value owns the accessor.
class MatrixAccessor {
public:
    virtual ~MatrixAccessor() = default;
    // Returns the cell, or a TagNone value when there is no such cell.
    virtual TData GetItem(std::int32_t col, std::int32_t row) = 0;
};
