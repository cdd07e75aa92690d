#pragma once

#include <cstdint>

#include "toolkit/TCallback.h"

// Base of every toolkit object. Objects are made by their class's create function, which
// runs InitFields after construction, and end only through Free or DropHold.
//
// The hold count lets code keep an object alive while something it calls may free it:
// 2 for every current holder, plus 1 once destruction was requested while it was held.
class TObj {
public:
    TObj(const TObj&) = delete;
    TObj& operator=(const TObj&) = delete;

    std::int32_t HoldCount() const { return holdCount; }

    // Called once while the object is destroyed, after the class's own clean-up.
    TCallback DestroyNotify;

    friend void Free(TObj* object);
    friend void AddHold(TObj* object);
    friend void DropHold(TObj* object);

protected:
    TObj() = default;
    virtual ~TObj();

    // Sets the defaults of a freshly constructed object. Overrides call their base first.
    virtual void InitFields() {}

    // Completes creation: runs InitFields and hands the object out, or destroys it when
    // InitFields fails and lets the failure propagate.
    template <class T> static T* Created(T* object) {
        try {
            static_cast<TObj*>(object)->InitFields();
        } catch (...) {
            Destroy(object);
            throw;
        }
        return object;
    }

private:
    static void Destroy(TObj* object);

    std::int32_t holdCount = 0;
};

// Destroys the object now, or once its last holder lets go. Null is accepted.
void Free(TObj* object);
void AddHold(TObj* object);
void DropHold(TObj* object);
