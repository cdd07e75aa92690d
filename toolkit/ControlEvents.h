#pragma once

#include <cstdint>
#include <type_traits>

#include "toolkit/WindowMessage.h"

class TObj;

// A bound control event with arguments after the sender: code plus context, called as
// Code(Context, sender, args...). Null code means unset; calling an unset event does nothing
// and answers a value-initialised result.
template <class Signature> struct TBoundEvent;

template <class Result, class... Args> struct TBoundEvent<Result(Args...)> {
    Result (*Code)(void* context, TObj* sender, Args... args) = nullptr;
    void* Context = nullptr;

    bool IsSet() const { return Code != nullptr; }
    Result Call(TObj* sender, Args... args) const {
        if (Code == nullptr) {
            if constexpr (std::is_void_v<Result>) {
                return;
            } else {
                return Result{};
            }
        }
        return Code(Context, sender, args...);
    }
};

// Shift-state bits: for mouse messages the message's WParam plus ShiftAlt; for keys only
// ShiftShift, ShiftCtrl and ShiftAlt.
constexpr std::uint32_t ShiftShift = 4;
constexpr std::uint32_t ShiftCtrl = 8;
constexpr std::uint32_t ShiftAlt = 32;

// What a mouse event sees of its message.
struct MouseEventData {
    std::uint8_t Button = 0;   // 1 left, 2 right, 3 middle; 0 for moves and the wheel
    bool StopHandling = false; // set by the event to end processing of the message
    std::uint32_t Shift = 0;   // shift state
    std::uint16_t X = 0;       // low word of LParam, client coordinates
    std::uint16_t Y = 0;       // high word of LParam
};

// Sees every message of a control first; true when it handled it and set the result.
using TMessageEvent = TBoundEvent<bool(WindowMessage& message, LRESULT& result)>;
using TMouseEvent = TBoundEvent<void(MouseEventData& data)>;
// The key may be changed; 0 swallows it.
using TKeyEvent = TBoundEvent<void(std::uint32_t& key, std::uint32_t shift)>;
using TKeyCharEvent = TBoundEvent<void(std::uint8_t& character, std::uint32_t shift)>;
// Asked on WM_CLOSE; clearing allow refuses the close.
using TCloseRequest = TBoundEvent<void(bool& allow)>;
// Answers whether the mouse is inside the control, for hover tracking.
using THitTestEvent = TBoundEvent<bool()>;
