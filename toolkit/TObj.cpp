#include "toolkit/TObj.h"

namespace {

// Hold arithmetic wraps instead of overflowing, so no count can cause undefined behaviour.
std::int32_t Plus(std::int32_t count, std::int32_t delta) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(count) +
                                     static_cast<std::uint32_t>(delta));
}

bool IsOdd(std::int32_t count) {
    return (static_cast<std::uint32_t>(count) & 1u) != 0;
}

} // namespace

TObj::~TObj() {
    TCallback notify = DestroyNotify;
    DestroyNotify = TCallback{};
    notify.Call(this);
}

void TObj::Destroy(TObj* object) {
    delete object;
}

void Free(TObj* object) {
    if (object == nullptr) {
        return;
    }
    if (object->holdCount == 0) {
        TObj::Destroy(object);
    } else if (!IsOdd(object->holdCount)) {
        object->holdCount = Plus(object->holdCount, -1);
    }
}

void AddHold(TObj* object) {
    if (object != nullptr) {
        object->holdCount = Plus(object->holdCount, 2);
    }
}

void DropHold(TObj* object) {
    if (object == nullptr) {
        return;
    }
    object->holdCount = Plus(object->holdCount, -2);
    if (object->holdCount < 0 && IsOdd(object->holdCount)) {
        TObj::Destroy(object);
    }
}
