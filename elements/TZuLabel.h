#pragma once

#include <cstdint>
#include <string>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "elements/TZuWin.h"
#include "platform/win32.h"

// A line of static text showing whatever value it is sent. While the mouse is over it, it
// can change its font colour, cursor and underline; a click fires OnClick.
class TZuLabel : public TZuWin {
public:
    explicit TZuLabel(TControl* parentControl);

    // Applies the window element properties, then shows Caption.
    void Init() override;
    void SetAutoSize(bool on);
    // 0 left, 1 right, 2 centre.
    void SetAlignment(std::uint8_t alignment);

    // Shows the value pulled from Text when bound, else the value received, as text.
    void SetText(TData& value, std::uint16_t index);

    void HoverOn();
    // Restores the font colour from Font and the cursor to the class arrow.
    void HoverOff();

    TZu_Event OnClick;             // output: clicked, no value
    std::uint32_t HoverColor = 0;  // font colour while hovered; 0 = unchanged
    HCURSOR HoverCursor = nullptr; // cursor while hovered; null = unchanged
    bool HoverUnderline = false;   // underline the font while hovered
    std::string Caption;           // text shown from Init on
    TZu_Event Text;                // data point: the text SetText shows
};
