#include "toolkit/WindowProc.h"

#include "toolkit/BuiltInRules.h"
#include "toolkit/TControl.h"
#include "toolkit/TList.h"

TControl* MainControl = nullptr;
bool AppTerminated = false;
bool LoopRunning = false;
bool AppControlExists = false;
TControl* CreatingControl = nullptr;

namespace {

TControl* ControlOfWindow(HWND window) {
    if (CreatingControl != nullptr) {
        TControl* control = CreatingControl;
        CreatingControl = nullptr;
        control->Handle = window;
        SetPropA(window, SelfProperty, control);
        return control;
    }
    return static_cast<TControl*>(GetPropA(window, SelfProperty));
}

void* AsListItem(MessageHandler handler) {
    return reinterpret_cast<void*>(handler);
}

MessageHandler AsHandler(void* item) {
    return reinterpret_cast<MessageHandler>(item);
}

bool DestructionRequested(const TControl* control) {
    return (static_cast<std::uint32_t>(control->HoldCount()) & 1u) != 0;
}

// Runs the attached handlers from the last attached to the first, holding the control so that
// a handler may free it. Answers true when a handler handled the message or the control was
// freed during the walk; in the latter case the control must not be touched any more. A
// control already on its way out before the walk goes on to its rules as usual.
bool RunAttachedHandlers(TControl* control, WindowMessage& message, LRESULT& result) {
    TList* handlers = control->AttachedHandlers;
    if (control->HoldCount() < 0 || handlers == nullptr || handlers->Count() == 0) {
        return false;
    }
    const bool requestedBefore = DestructionRequested(control);
    AddHold(control);
    for (std::int32_t i = handlers->Count() - 1; i >= 0; --i) {
        if (AppTerminated || i >= handlers->Count()) {
            continue;
        }
        if (AsHandler(handlers->Get(i))(control, message, result)) {
            DropHold(control);
            return true;
        }
    }
    const bool freed = !requestedBefore && DestructionRequested(control);
    DropHold(control);
    return freed;
}

} // namespace

LRESULT CALLBACK ClassWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TControl* control = window != nullptr ? ControlOfWindow(window) : nullptr;
    if (control == nullptr) {
        control = MainControl;
    }
    if (control == nullptr) {
        return DefWindowProcA(window, msg, wParam, lParam);
    }
    WindowMessage message{window, msg, wParam, lParam};
    LRESULT result = 0;
    return control->HandleMessage(message, result);
}

LRESULT TControl::HandleMessage(WindowMessage& message, LRESULT& result) {
    if (message.Window != nullptr && Handle == nullptr) {
        Handle = message.Window;
    }
    if (LoopRunning && MainControl != nullptr && MainControl != this &&
        MainControl->MessageEvent.IsSet() &&
        MainControl->MessageEvent.Call(MainControl, message, result)) {
        return result;
    }
    if (MessageEvent.IsSet() && MessageEvent.Call(this, message, result)) {
        return result;
    }
    if (RunAttachedHandlers(this, message, result)) {
        return result;
    }
    result = ApplyBuiltInRule(this, message);
    return result;
}

LRESULT CallDefault(TControl* control, const WindowMessage& message) {
    if (control->PrevWindowProc != nullptr) {
        return CallWindowProcA(control->PrevWindowProc, control->Handle, message.Msg,
                               message.WParam, message.LParam);
    }
    return DefWindowProcA(message.Window, message.Msg, message.WParam, message.LParam);
}

void AttachHandler(TControl* control, MessageHandler handler) {
    TList* handlers = control->AttachedHandlers;
    if (handlers != nullptr && handlers->IndexOf(AsListItem(handler)) < 0) {
        handlers->Add(AsListItem(handler));
    }
}

LRESULT SendToControl(TControl* control, UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(control->GetHandle(), msg, wParam, lParam);
}
