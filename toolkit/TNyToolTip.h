#pragma once

#include <cstdint>

#include "platform/win32.h"
#include "toolkit/TObj.h"

// One tooltip window of the common tooltip control, topmost and owned by the application
// window. The control does all timing and showing itself.
class TNyToolTip : public TObj {
public:
    HWND Handle = nullptr;      // the tooltip window
    std::int32_t ToolCount = 0; // tools registered with it

    friend TNyToolTip* NewToolTip();

protected:
    TNyToolTip() = default;
    ~TNyToolTip() override;
};

// Registers the common controls and makes a tooltip window; its Handle is null when the window
// could not be made.
TNyToolTip* NewToolTip();
