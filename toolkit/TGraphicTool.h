#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/win32.h"
#include "toolkit/Colors.h"
#include "toolkit/TCallback.h"
#include "toolkit/TObj.h"

// The settings of a tool: its colour (offset 0) followed by 60 bytes of kind-specific
// settings. A font keeps a LOGFONTA there byte for byte; a brush its pattern bitmap, style and
// hatch-line colour. Two tools with equal blocks make equal platform objects.
//
// The pattern bitmap is used, not owned: AssignTool copies the handle into other tools, so
// whoever made the bitmap deletes it after the tools that use it are gone.
struct TToolData {
    std::array<std::uint8_t, 64> Bytes{};
    bool operator==(const TToolData&) const = default;
};

// Offsets in TToolData.
constexpr std::size_t ToolColorOffset = 0;
constexpr std::size_t FontSettingsOffset = 4; // the LOGFONTA
constexpr std::size_t FontHeightOffset = FontSettingsOffset + offsetof(LOGFONTA, lfHeight);
constexpr std::size_t BrushBitmapOffset = 4;    // 32-bit pattern bitmap handle, 0 = none
constexpr std::size_t BrushStyleOffset = 8;     // 8-bit, see BrushStyle*
constexpr std::size_t BrushLineColorOffset = 9; // 32-bit colour of hatch lines, unaligned

// Brush styles as tools store them: 2 ... 7 are the platform hatches HS_HORIZONTAL ...
// HS_DIAGCROSS plus 2.
constexpr std::uint8_t BrushStyleSolid = 0;
constexpr std::uint8_t BrushStyleClear = 1;
constexpr std::uint8_t BrushStyleFirstHatch = 2;

// Font style bits.
constexpr std::uint8_t FontStyleBold = 1;
constexpr std::uint8_t FontStyleItalic = 2;
constexpr std::uint8_t FontStyleUnderline = 4;
constexpr std::uint8_t FontStyleStrikeOut = 8;

// One class for fonts and brushes. The platform object is made on demand from the settings
// and dropped whenever they change; a tool whose settings equal its parent tool's answers the
// parent's object and makes none of its own.
class TGraphicTool : public TObj {
public:
    enum ToolKind : std::uint8_t { KindBrush = 0, KindFont = 1 };

    std::uint8_t Kind = KindBrush;
    HGDIOBJ Handle = nullptr;           // owned; made by GetToolHandle
    TGraphicTool* ParentTool = nullptr; // the parent control's tool of the same kind; not owned
    TCallback ChangeNotify;             // told when the tool changed (sender: the tool)
    COLORREF HandleColor = 0;           // ResolveColor (colour) when Handle was made
    TToolData ToolData;
    TGraphicTool* (*CreateSimilar)() = nullptr; // a new tool of this kind with the defaults
    void (*MakeHandle)(TGraphicTool* tool) = nullptr;

    TColor Color() const;
    LOGFONTA FontSettings() const;
    std::uint32_t Field(std::size_t offset) const;

    friend TGraphicTool* MakeFontTool();
    friend TGraphicTool* MakeBrushTool();

protected:
    TGraphicTool() = default;
    ~TGraphicTool() override;
};

// A font tool: window-text colour, default character set, face "MS Sans Serif".
TGraphicTool* MakeFontTool();
// A solid brush tool in the button-face colour.
TGraphicTool* MakeBrushTool();
// True while any brush tool exists: controls then draw their backgrounds with brush tools.
bool BrushToolsInUse();

// The platform object, made when needed; a system colour that changed since it was made
// renews it.
HGDIOBJ GetToolHandle(TGraphicTool* tool);
// Drops the platform object: the listener is told while the old object still exists (so it
// can select something else), then it is deleted, then the listener is told again.
void ToolChanged(TGraphicTool* tool);
// Makes target's settings equal to source's and answers target, made from source when null.
// A null source frees the target and answers null.
TGraphicTool* AssignTool(TGraphicTool* target, TGraphicTool* source);

// Setters: an unchanged value does nothing; a change stores it and calls ToolChanged.
// A field that does not fit inside the settings block is ignored.
void SetToolField(TGraphicTool* tool, std::size_t offset, std::uint32_t value);
// Also records the resolved colour as HandleColor.
void SetToolColor(TGraphicTool* tool, TColor color);
// Stores at most 31 bytes, so the terminating zero always fits.
void SetFontName(TGraphicTool* tool, std::string_view name);
void SetFontStyle(TGraphicTool* tool, std::uint8_t bits);
std::uint8_t GetFontStyle(const TGraphicTool* tool);
void SetFontCharset(TGraphicTool* tool, std::uint8_t charset);
void SetBrushStyle(TGraphicTool* tool, std::uint8_t style);
