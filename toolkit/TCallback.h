#pragma once

class TObj;

// A bound callback: code plus the context it was bound with, called as
// Code(Context, sender). No allocation; null code means unset.
struct TCallback {
    void (*Code)(void* context, TObj* sender) = nullptr;
    void* Context = nullptr;

    bool IsSet() const { return Code != nullptr; }
    void Call(TObj* sender) const {
        if (Code != nullptr) {
            Code(Context, sender);
        }
    }
};
