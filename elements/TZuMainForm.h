#pragma once

#include <cstdint>
#include <string_view>

#include "core/TZu_Event.h"
#include "elements/TZuWin.h"
#include "platform/win32.h"

// A routine bound with its context, called with one 8-bit flag; unset does nothing.
struct TFlagHook {
    void (*Code)(void* context, std::uint8_t flag) = nullptr;
    void* Context = nullptr;

    void Call(std::uint8_t flag) const {
        if (Code != nullptr) {
            Code(Context, flag);
        }
    }
};

// A routine bound with its context; unset does nothing.
struct THook {
    void (*Code)(void* context) = nullptr;
    void* Context = nullptr;

    void Call() const {
        if (Code != nullptr) {
            Code(Context);
        }
    }
};

// The element of a top-level window. The first one made in the process also makes the
// application control (MainControl), so its window is the main window: closing it ends the
// message loop. It registers a start-up routine that fires OnCreate when the application
// starts, and turns activation, show, size, move, paint and close into outputs.
class TZuMainForm : public TZuWin {
public:
    // A null parent makes the form a child of the application control.
    explicit TZuMainForm(TControl* parentControl);
    // A start-up routine that has not run yet is dropped, so it never reaches a freed form.
    ~TZuMainForm() override;

    void Init() override;
    // Drags the window by a press anywhere on its client area when DragAnywhere is set.
    void DoMouseDown(TObj* sender, MouseEventData& mouse) override;
    // Follows moves and sizes with the application window, fires the activation outputs and
    // answers WM_CLOSE with the close query; only a refused close counts as handled.
    bool DoMessage(TObj* sender, WindowMessage& message, LRESULT& result) override;

    // The window text, also given to the application window when this form owns it.
    void SetCaption(std::string_view caption);
    // 0 no caption or frame, 1 single, 2 sizeable, 3 dialog, 4 tool window, 5 sizeable tool
    // window, 6 frame without caption, 7 no caption; other values change nothing. Bits are
    // only removed or added, never restored.
    void SetBorderStyle(std::uint8_t style);
    void SetIcon(HICON icon);
    // 1 turns the application window into a tool window, which has no taskbar button.
    void HideFromTaskbar(std::uint8_t value);
    void SetAlphaBlend(std::uint8_t alpha);
    // 1 minimizes, 2 maximizes; 0 does nothing.
    void ApplyWindowState(std::uint8_t state);

    // Run once when the application starts.
    void StartUp();
    // Applies WindowState and tells ShowCloseHook at the first show; fires OnShow every time.
    void FirstShow();
    // Draws BackgroundImage and fires OnPaint with the window handle.
    void Paint(HDC dc);

    bool OwnsMainControl = false;      // this element made MainControl
    bool FirstShowDone = false;        // FirstShow has applied the window state
    HBITMAP BackgroundImage = nullptr; // drawn at 0, 0 when the window paints; not owned
    bool HasIcon = false;              // SetIcon was given an icon
    bool StartHidden = false;          // starts hidden; a close of a second form closes it
    bool DragAnywhere = true;          // a press on the client area drags the window
    std::uint8_t AlphaBlend = 255;     // opacity, 255 opaque
    std::uint8_t WindowState = 0;      // 0 normal, 1 minimized, 2 maximized, at the first show
    TFlagHook ShowCloseHook;           // 0 at the first show, 1 when a close goes through
    bool SizeIsClient = false;         // Width and Height give the client area
    THook InitHook;                    // called at the end of Init
    TZu_Event CanClose;                // data point: non-zero refuses a close
    TZu_Event OnActivate;              // output: activated, no value
    TZu_Event OnDeactivate;            // output: deactivated, no value
    TZu_Event OnResize;                // output: every size change, no value
    TZu_Event OnShow;                  // output: being shown, no value
    TZu_Event OnCreate;                // output: the application has started, no value
    TZu_Event OnMove;                  // output: moved, no value
    TZu_Event OnPaint;                 // output: painted, the window handle
    TZu_Event OnClose;                 // output: the main window accepted closing

private:
    // True when the close is refused.
    bool RefuseClose();
    void ApplyFormFont();
};
