#pragma once

#include <cstdint>
#include <string>

#include "core/TData.h"

// A bound operation: (receiving element, value by reference, index).
using TZu_Handler = void (*)(void* receiver, TData& value, std::uint16_t index);

// An output point or data point of an element. Zero (unbound) until the form binds it.
struct TZu_Event {
    TZu_Handler Handler = nullptr;
    void* Receiver = nullptr;
    std::uint16_t Index = 0;
};

TZu_Event MakeEvent(TZu_Handler handler, void* receiver, std::uint16_t index);

// Adapts a member operation `void Class::Op(TData&, std::uint16_t)` to a TZu_Handler,
// so a link calls the element directly: Bind<&TZuHub::Pass>.
template <auto Operation> struct MemberHandler;
template <class Class, void (Class::*Operation)(TData&, std::uint16_t)>
struct MemberHandler<Operation> {
    static void Call(void* receiver, TData& value, std::uint16_t index) {
        (static_cast<Class*>(receiver)->*Operation)(value, index);
    }
};
template <auto Operation> inline constexpr TZu_Handler Bind = &MemberHandler<Operation>::Call;

template <auto Operation, class Class> TZu_Event MakeEvent(Class* receiver, std::uint16_t index) {
    return MakeEvent(Bind<Operation>, receiver, index);
}

// The process-wide hook through which every point is fired or read.
using TDispatcher = void (*)(const TZu_Event& point, TData& value);
extern TDispatcher Dispatch;

void DispatchOn();
void DispatchOff();
void LiveDispatch(const TZu_Event& point, TData& value);
void NoDispatch(const TZu_Event& point, TData& value);

void FireNone(const TZu_Event& point);
void FireInteger(const TZu_Event& point, std::int32_t value);
void FireString(const TZu_Event& point, const std::string& value);
void FireReal(const TZu_Event& point, double value);

std::string PullString(TData& value, const TZu_Event& point, const std::string& fallback);
std::int32_t PullInteger(TData& value, const TZu_Event& point, std::int32_t fallback);
double PullReal(TData& value, const TZu_Event& point, double fallback);
void PullData(TData& value, const TZu_Event& point);
// `fallback` may be null (no default).
TData PullDataDefault(TData& value, const TZu_Event& point, const TData* fallback);
ArrayAccessor* PullArray(const TZu_Event& point);
MatrixAccessor* PullMatrix(const TZu_Event& point);
