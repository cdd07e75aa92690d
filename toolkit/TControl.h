#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/win32.h"
#include "toolkit/ControlEvents.h"
#include "toolkit/TCallback.h"
#include "toolkit/TObj.h"
#include "toolkit/WindowMessage.h"

class TCanvas;
class TControl;
class TGraphicTool;
class TList;

// A procedure that works on one control: clearing a kind's content, hooks, realignment.
using ControlProc = void (*)(TControl* control);
// Appends a line to a kind whose descriptor has no add message.
using ControlAddProc = void (*)(TControl* control, std::string_view text);
// Draws the control on the device context of the paint in progress.
using TPaintEvent = TBoundEvent<void(HDC dc)>;

// What tells the generic list and text operations how to talk to one kind of child control.
// Copied by value into the control when it is made; a message number 0 means "not supported".
struct TKindDescriptor {
    ControlProc ClearProc = nullptr;
    ControlAddProc AddProc = nullptr;
    // The five notification codes, compared in this order by the window procedure.
    std::uint16_t ClickCode = 0;
    std::uint16_t SetFocusCode = 0;
    std::uint16_t KillFocusCode = 0;
    std::int16_t ChangeCode = 0;
    std::int16_t SelChangeCode = 0;
    std::uint16_t CountMsg = 0;
    std::uint16_t SetCountMsg = 0;
    std::uint16_t TextLenMsg = 0;
    std::uint16_t GetTextMsg = 0;
    std::uint16_t SetTextMsg = 0;
    std::uint16_t GetDataMsg = 0;
    std::uint16_t SetDataMsg = 0;
    std::uint16_t AddMsg = 0;
    std::uint16_t DeleteMsg = 0;
    std::uint16_t InsertMsg = 0;
    std::uint16_t FindExactMsg = 0;
    std::uint16_t FindMsg = 0;
    // Line/character conversion messages of text kinds, in one byte each.
    std::uint8_t LineFromCharByte = 0;
    std::uint8_t CharFromLineByte = 0;
    std::uint16_t SelCountMsg = 0;
    std::uint16_t GetSelMsg = 0;
    std::uint16_t Reserved1[2] = {};
    std::uint16_t GetCurMsg = 0;
    std::uint16_t SetSelMsg = 0;
    std::uint16_t SetCurMsg = 0;
    std::uint16_t SetCurAltMsg = 0;
    std::uint16_t SetCurRangeMsg = 0;
    std::uint16_t Reserved2[2] = {};
    // Style bits for horizontal text alignment 0 left, 1 right, 2 centre.
    std::uint16_t AlignLeftBits = 0;
    std::uint16_t AlignRightBits = 0;
    std::uint16_t AlignCenterBits = 0;
    // Style bits cleared whenever the horizontal alignment is set.
    std::uint8_t AlignClearMask = 0;
    // Carried with the kind; nothing reads them.
    std::uint8_t ExtraAlignBytes[3] = {};
    std::uint16_t DirMsg = 0;
    std::uint16_t Reserved3[2] = {};
    // Pixels added to the text extent by auto-sizing; 0 leaves that dimension alone.
    std::uint16_t AutoWidthPad = 0;
    std::uint16_t AutoHeightPad = 0;
    std::uint16_t SetBkColorMsg = 0;
};

// Horizontal text alignment codes of SetTextAlign.
enum : std::uint8_t { TextAlignLeft = 0, TextAlignRight = 1, TextAlignCenter = 2 };

// Alignment codes of SetAlign.
enum : std::uint8_t {
    AlignNone = 0,
    AlignLeft = 1,
    AlignTop = 2,
    AlignRight = 3,
    AlignBottom = 4,
    AlignClient = 5
};

// The toolkit's one class for every window: the application window, forms and child controls.
// The object exists first; its window is made on demand (GetHandle, MakeWindow). Every setter
// stores into the fields while there is no window, and MakeWindow hands them to the window.
//
// Fields are public: the window procedure, painting and the window elements read and set them
// directly. Operations that must keep the window in step go through the setters. Fields start
// zero; InitFields sets the defaults.
class TControl : public TObj {
public:
    // ---- Fields, in declaration order -------------------------------------------------------

    HWND Handle = nullptr;
    UINT ClassStyle = 0;              // class style used when the control registers its class
    DWORD Style = 0;                  // window style
    DWORD ExStyle = 0;                // extended window style
    HCURSOR Cursor = nullptr;         // cursor over the client area; null = the class arrow
    HICON Icon = nullptr;             // big icon; null = default icon, NoIcon() = no icon
    std::string Caption;              // the window text while there is no window
    std::uint8_t WindowState = 0;     // 0 normal, 1 minimized, 2 maximized
    TCanvas* Canvas = nullptr;        // owned; made on first use, released when the font is applied
    WNDPROC PrevWindowProc = nullptr; // the system class's procedure; null = default processing
    bool Destroying = false;          // the window is going away; do not destroy it again
    TControl* Parent = nullptr;
    bool Enabled = false;
    bool Visible = false;
    bool TabStop = false;
    std::int32_t TabOrder = 0;
    std::uint8_t TextAlign = TextAlignLeft; // last value given to SetTextAlign
    std::uint8_t AlphaBlend = 0;            // 255 = opaque, not layered
    TList* Children = nullptr;              // owned list of child controls in creation order
    WNDPROC RegisteredProc = nullptr;       // procedure registered for the control's class
    HBRUSH BrushHandle = nullptr;           // cached background brush; deleted when Color changes
    // Set when the destructor releases the window, or beforehand by the window procedure when
    // the window is gone already, so that the destructor leaves the window alone.
    bool FieldsReleased = false;
    UINT ControlId = 0; // child id of the window
    bool IsForm = false;
    bool IsChildControl = false;
    std::uint8_t PositionSet = 0;      // bit 0: left was set explicitly, bit 1: top
    std::uint32_t NavigationKeys = 0;  // Nav* bits of toolkit/Navigation.h
    TList* AttachedHandlers = nullptr; // owned list of MessageHandler procedures
    TCallback FocusOutEvent;
    std::string KindName;          // "LISTBOX", "BUTTON", "STATIC", "Form", "App" or empty
    bool KindNameIsClass = false;  // KindName is used as the class name as it is
    bool ChildCtl3D = false;       // what new children take over as their Ctl3D
    bool Ctl3D = false;            // sunken edge instead of a plain border
    std::uint32_t FontColor = 0;   // colour of the text
    TGraphicTool* Font = nullptr;  // owned font tool
    std::uint32_t Color = 0;       // background colour
    TGraphicTool* Brush = nullptr; // owned brush tool
    std::int32_t Border = 0;       // gap kept between aligned children and around a new child
    RECT BoundsRect = {};          // parent's client coordinates (screen without a parent)
    std::int32_t MarginTop = 0;
    std::int32_t MarginBottom = 0;
    std::int32_t MarginLeft = 0;
    std::int32_t MarginRight = 0;
    bool Transparent = false; // paint no background behind text
    TMessageEvent MessageEvent;
    TCallback ClickEvent;
    TControl* LastFocused = nullptr; // on a form: the child that last received the focus
    bool VisibleSet = false;         // SetVisible was called at least once
    bool CreatedHidden = false;      // made hidden because visibility was never set
    std::uint8_t FocusGuard = 0;     // raised while the toolkit itself moves the focus
    TMouseEvent MouseDownEvent;
    TMouseEvent MouseUpEvent;
    TMouseEvent MouseMoveEvent;
    TMouseEvent MouseDblClickEvent;
    TMouseEvent MouseWheelEvent;
    TCallback ChangeEvent;
    TCallback FocusInEvent;
    TKindDescriptor Kind;
    TKeyCharEvent KeyCharEvent;
    TKeyEvent KeyUpEvent;
    TKeyEvent KeyDownEvent;
    std::uint8_t Align = AlignNone;
    TCallback SelChangeEvent;
    bool RepaintOnResize = false; // invalidate after every size change
    TCallback MouseLeaveEvent;
    TCallback MouseEnterEvent;
    ControlProc AfterCreate = nullptr;     // called right after the window was made
    ControlProc AutoSizeProc = nullptr;    // after the font was applied and the text changed
    ControlProc ChildrenChanged = nullptr; // on a parent, when a child is added or removed

    // Fields of the window procedure and the message loop.
    MessageHandler KeyHook = nullptr;        // key translator; null until a key event is set
    NavigationProc NavigationHook = nullptr; // on a form: consulted for navigation keys
    std::uint32_t SavedShowState = 0;        // show command kept while the owner is minimized
    TCloseRequest CloseRequest;              // asked on WM_CLOSE
    bool MouseInside = false;                // hover tracking state
    TCallback ShowEvent;
    TCallback HideEvent;
    TCallback ResizeEvent;
    THitTestEvent HitTestEvent;

    // Fields of painting.
    std::uint32_t BrushHandleColor = 0; // resolved colour BrushHandle was made with
    TPaintEvent PaintEvent;
    HDC PaintDC = nullptr;       // device context of the paint in progress
    HRGN UpdateRegion = nullptr; // region being repainted while PaintEvent runs

    // Current index of kinds that have no message for it.
    std::int32_t StoredIndex = 0;

    // ---- Construction -----------------------------------------------------------------------

    // Joins the parent: SetParent, then takes over the parent's Color.
    virtual void Setup(TControl* parent);

    // ---- Window -----------------------------------------------------------------------------

    // Makes the window and those of the children; false leaves Handle null.
    virtual bool MakeWindow();
    // Runs one message through the control's hooks, handlers and built-in rules.
    virtual LRESULT HandleMessage(WindowMessage& message, LRESULT& result);

    // The window, made first when there is none; null when it cannot be made.
    HWND GetHandle();
    void MakeChildWindows();
    // Asks for a full repaint with erase; nothing without a window or after AppTerminated.
    void Invalidate();

    void SetParent(TControl* parent);

    // ---- Properties -------------------------------------------------------------------------

    void AssignText(std::string_view text);
    std::string WindowText() const;
    void SetStyle(DWORD style);
    void SetExStyle(DWORD exStyle);
    void SetCtl3D(bool on);
    void SetVisible(bool visible);
    void ApplyVisibility(bool visible);
    void SetEnabled(bool enabled);
    bool GetEnabled() const;
    void SetColor(std::uint32_t color);
    void ApplyFont();
    void SetCursor(HCURSOR cursor);
    void SetIcon(HICON icon);
    HICON GetIcon();
    void SetTabOrder(std::int32_t order);
    void SetTextAlign(std::uint8_t align);
    void SetAutoSize(bool on);
    void SetTransparent(bool on);
    void SetAlphaBlend(std::uint8_t alpha);
    void SetWindowState(std::uint8_t state);

    // Event setters that also attach the handlers the events need.
    void SetMouseDownEvent(TMouseEvent event);
    void SetMouseUpEvent(TMouseEvent event);
    void SetMouseMoveEvent(TMouseEvent event);
    void SetMouseDblClickEvent(TMouseEvent event);
    void SetKeyDownEvent(TKeyEvent event);
    void SetKeyUpEvent(TKeyEvent event);
    void SetMouseEnterEvent(TCallback event);
    void SetMouseLeaveEvent(TCallback event);
    void SetShowEvent(TCallback event);
    void SetResizeEvent(TCallback event);

    // ---- Geometry ---------------------------------------------------------------------------

    RECT GetBoundsRect();
    void SetBoundsRect(const RECT& rect);
    void SetLeft(std::int32_t x);
    void SetTop(std::int32_t y);
    void SetPosition(std::int32_t x, std::int32_t y);
    std::int32_t GetWidth();
    std::int32_t GetHeight();
    void SetWidth(std::int32_t width);
    void SetHeight(std::int32_t height);
    // A size that is not positive keeps that dimension.
    void SetSize(std::int32_t width, std::int32_t height);
    RECT ClientRect();
    std::int32_t ClientWidth();
    std::int32_t ClientHeight();
    void SetClientWidth(std::int32_t width);
    void SetClientHeight(std::int32_t height);
    void SetAlign(std::uint8_t align);
    void SendToBack();

    // ---- List operations through the kind descriptor ----------------------------------------

    void ClearItems();
    std::int32_t ItemCount();
    std::string ItemAt(std::int32_t index);
    std::int32_t AddItem(std::string_view text);
    std::int32_t InsertItem(std::int32_t index, std::string_view text);
    std::int32_t CurrentIndex();
    void SetCurrentIndex(std::int32_t index);
    void SetSelected(std::int32_t index, bool selected);

    friend TControl* CreateControl(TControl* parent);

protected:
    TControl() = default;
    ~TControl() override;
    void InitFields() override;

private:
    bool MakeOwnWindow();
    void ShowIfCreatedHidden();
    void StartHoverTracking();
    void FreeChildren();
    void ReleaseWindow();
    void ReleaseFields();
};

// The icon value that means "no icon" (SetIcon removes the window's icon).
HICON NoIcon();

// A bare control object joined to parent (which may be null), with the defaults.
TControl* CreateControl(TControl* parent);

// The common base of every control: joins parent and takes over its border, 3-D setting,
// font, colour and brush, and places the control in the parent's client area.
TControl* MakeWindowedControl(TControl* parent, const char* kindName, bool ctl3D);
// A child control of the given kind, style and descriptor (which may be null).
TControl* MakeChildControl(TControl* parent, const char* kindName, DWORD style,
                           const TKindDescriptor* kind, bool ctl3D);
TControl* MakeAppControl(std::string_view caption);
TControl* MakeFormControl(TControl* parent, std::string_view caption);
// options: bits 0..11 of the list-box option table.
TControl* MakeListBoxControl(TControl* parent, std::uint32_t options);
TControl* MakeButtonControl(TControl* parent, std::string_view caption);
TControl* MakeLabelControl(TControl* parent, std::string_view caption);

// Lays out parent's aligned children in its client area; nothing for null.
void RealignChildren(TControl* parent);
// Fits the control to its text where its kind pads the extent; SetAutoSize installs it.
void AutoSize(TControl* control);

// ---- Process-wide state ---------------------------------------------------------------------
// MainControl, AppTerminated, AppControlExists and CreatingControl: toolkit/WindowProc.h.

// Child id of the next child control; starts at 0x8000 and wraps at 16 bits.
extern std::uint16_t NextControlId;
// Called with every control after its window was made; null = nothing.
extern ControlProc AfterCreateHook;
// Called after every invalidation; null = nothing.
extern ControlProc InvalidateHook;
// Run on a parent when a child's visibility or size changes; installed by SetAlign.
extern ControlProc RealignHook;
