#pragma once

#include <string_view>

#include "toolkit/TObj.h"

class TControl;
class TNyToolTip;

// The tooltip text of one control: the control is registered as a tool of the shared tooltip
// window the first time a text is set, and its text is updated afterwards.
class TNyHint : public TObj {
public:
    TNyToolTip* ToolTip = nullptr; // not owned; null until first needed
    bool Registered = false;       // the control was added as a tool
    TControl* Control = nullptr;

    friend TNyHint* NewHint(TControl* control);

protected:
    TNyHint() = default;
};

TNyHint* NewHint(TControl* control);
// Registers the control with the tooltip window or updates its text.
void SetHintText(TNyHint* hint, std::string_view text);
// Removes the control's tool from the tooltip window.
void RemoveHint(TNyHint* hint);
