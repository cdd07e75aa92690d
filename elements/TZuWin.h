#pragma once

#include <cstdint>
#include <string>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "platform/win32.h"
#include "toolkit/ControlEvents.h"

class TControl;
class TNyHint;
class TObj;

// Base of every element that owns a window. The form sets the plain property fields after
// construction and then calls Init, which hands them to Control and turns the control's
// mouse, key, focus and double-click events into the element's outputs. Subclasses make
// Control; this class never does, but frees it when the element goes.
class TZuWin {
public:
    explicit TZuWin(TControl* parentControl);
    virtual ~TZuWin();
    TZuWin(const TZuWin&) = delete;
    TZuWin& operator=(const TZuWin&) = delete;

    // The control's event routines; overrides take effect through Init's binding.
    virtual void DoKeyDown(TObj* sender, std::uint32_t& key, std::uint32_t shift);
    virtual void DoMouseDown(TObj* sender, MouseEventData& mouse);
    virtual void DoMouseMove(TObj* sender, MouseEventData& mouse);
    virtual void DoMouseUp(TObj* sender, MouseEventData& mouse);
    // Fires OnEnter and OnExit, then answers what the control's earlier MessageEvent answers.
    virtual bool DoMessage(TObj* sender, WindowMessage& message, LRESULT& result);
    // Applies the properties to Control; called once, after they were set.
    virtual void Init();

    void DoKeyUp(TObj* sender, std::uint32_t& key, std::uint32_t shift);
    void DoDblClick(TObj* sender, MouseEventData& mouse);

    TControl* ParentControl = nullptr;  // the parent's control (null for a main form)
    TMessageEvent PreviousMessageEvent; // Control's MessageEvent as it was before Init
    MouseEventData LastMouse;           // the last mouse record seen
    TNyHint* HintObject = nullptr;      // owned; made when a hint is first set
    TControl* Control = nullptr;        // owned; null once someone else destroyed it
    std::int32_t Left = 0;              // position in the parent's client area
    std::int32_t Top = 0;               //
    std::int32_t Width = 0;             // 0 keeps the size the control's kind gave it
    std::int32_t Height = 0;            //
    std::uint8_t Align = 0;             // AlignNone ... AlignClient of the toolkit
    std::int32_t TabOrder = 0;          // above 0: a tab stop at this position
    std::uint32_t Color = 0;            // 0x80000000 | n is system colour n, else RGB
    bool Flat = true;                   // false asks for the sunken 3-D edge
    std::string Hint;                   // tooltip text; empty = none
    TFontRec Font;                      //
    bool ParentFont = false;            // take the parent control's font instead of Font
    bool Transparent = false;           //
    bool Visible = true;                //
    bool Enabled = true;                //
    HCURSOR Cursor = nullptr;           // cursor over the control; null = class arrow
    bool MouseCapture = false;          // hold the capture from a press to its release
    bool FlatStyle = false;             // adds style bit 0x8000 (flat push button)
    TZu_Event OnKeyDown;                // output: virtual-key code
    TZu_Event OnKeyUp;                  // output: virtual-key code
    TZu_Event OnMouseDown;              // output: 0 left, 1 right, 2 middle
    TZu_Event OnMouseMove;              // output: button held at the previous record
    TZu_Event OnMouseUp;                // output: 0 left, 1 right, 2 middle
    TZu_Event OnEnter;                  // output: focus gained, no value
    TZu_Event OnExit;                   // output: focus lost, no value
    TZu_Event OnDblClick;               // output: no value

protected:
    // Keeps the control's MessageEvent and points the mouse, key, double-click and message
    // events at this element.
    void BindControlEvents();
    // Makes the control tell this element when it is destroyed by someone else.
    void WatchControlDestruction();
    // Lets go of Control without destroying it. The events bound by Init are unbound, so the
    // control, which may outlive the element, never reaches back to it.
    void DetachControl();
};

// The window that system dialogs and devices take as their owner: the application control's
// last focused control, else its first child; null without an application control.
HWND OwnerWindow();
