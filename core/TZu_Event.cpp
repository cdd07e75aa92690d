#include "core/TZu_Event.h"

#include "core/Convert.h"

TDispatcher Dispatch = NoDispatch;

namespace {

bool IsBound(const TZu_Event& point) {
    return point.Handler != nullptr;
}

bool IsEmptyDefault(const std::string& fallback) {
    return fallback.empty();
}
bool IsEmptyDefault(std::int32_t fallback) {
    return fallback == 0;
}
bool IsEmptyDefault(double fallback) {
    return fallback == 0.0;
}

// A bound point asks its provider; an unbound one yields a non-empty default, or else
// takes over the value the reading input was fired with, so a second read sees nothing.
template <class Result, Result (*Convert)(const TData&)>
Result PullConverted(TData& value, const TZu_Event& point, const Result& fallback) {
    if (IsBound(point)) {
        TData answer;
        Dispatch(point, answer);
        return Convert(answer);
    }
    if (!IsEmptyDefault(fallback) || TagType(value) == TagNone) {
        return fallback;
    }
    Result result = Convert(value);
    value.Tag = TagNone;
    return result;
}

// Returns the accessor of a provider's answer when it carries the wanted tag.
void* PullAccessor(const TZu_Event& point, std::uint8_t wanted) {
    if (!IsBound(point)) {
        return nullptr;
    }
    TData answer;
    Dispatch(point, answer);
    return TagType(answer) == wanted ? answer.Accessor : nullptr;
}

} // namespace

TZu_Event MakeEvent(TZu_Handler handler, void* receiver, std::uint16_t index) {
    TZu_Event point;
    point.Handler = handler;
    point.Receiver = receiver;
    point.Index = index;
    return point;
}

void DispatchOn() {
    Dispatch = LiveDispatch;
}

void DispatchOff() {
    Dispatch = NoDispatch;
}

// A receiving operation may ask to continue the chain at another point by setting the
// forward flag and Forward; a flag without a point simply ends the chain.
void LiveDispatch(const TZu_Event& point, TData& value) {
    const TZu_Event* current = &point;
    while (current != nullptr && IsBound(*current)) {
        current->Handler(current->Receiver, value, current->Index);
        if ((value.Tag & TagForwardFlag) == 0) {
            return;
        }
        value.Tag = TagType(value);
        current = value.Forward;
    }
}

void NoDispatch(const TZu_Event&, TData&) {}

void FireNone(const TZu_Event& point) {
    TData value;
    Dispatch(point, value);
}

void FireInteger(const TZu_Event& point, std::int32_t value) {
    TData data = MakeInteger(value);
    Dispatch(point, data);
}

void FireString(const TZu_Event& point, const std::string& value) {
    TData data = MakeString(value);
    Dispatch(point, data);
}

void FireReal(const TZu_Event& point, double value) {
    TData data = MakeReal(value);
    Dispatch(point, data);
}

std::string PullString(TData& value, const TZu_Event& point, const std::string& fallback) {
    return PullConverted<std::string, ValueToText>(value, point, fallback);
}

std::int32_t PullInteger(TData& value, const TZu_Event& point, std::int32_t fallback) {
    return PullConverted<std::int32_t, ValueToInteger>(value, point, fallback);
}

double PullReal(TData& value, const TZu_Event& point, double fallback) {
    return PullConverted<double, ValueToReal>(value, point, fallback);
}

void PullData(TData& value, const TZu_Event& point) {
    if (IsBound(point)) {
        Dispatch(point, value);
    } else {
        value.Tag = TagNone;
    }
}

TData PullDataDefault(TData& value, const TZu_Event& point, const TData* fallback) {
    if (IsBound(point)) {
        TData answer;
        Dispatch(point, answer);
        return answer;
    }
    if (fallback != nullptr && TagType(*fallback) != TagNone) {
        return *fallback;
    }
    TData taken = value;
    value.Tag = TagNone;
    return taken;
}

ArrayAccessor* PullArray(const TZu_Event& point) {
    return static_cast<ArrayAccessor*>(PullAccessor(point, TagArray));
}

MatrixAccessor* PullMatrix(const TZu_Event& point) {
    return static_cast<MatrixAccessor*>(PullAccessor(point, TagMatrix));
}
