#pragma once

#include <string_view>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "elements/TZuWin.h"

// A push button that sends its design-time value on every click. Its control exists from
// construction, captioned "Push" until SetCaption.
class TZuButton : public TZuWin {
public:
    explicit TZuButton(TControl* parentControl);

    void SetCaption(std::string_view caption);
    // Fires OnClick with a copy of Data, so a receiver that takes the value over leaves
    // Data as it was.
    void Click();

    TZu_Event OnClick; // output: clicked, a copy of Data
    TData Data;        // value sent with OnClick
};
