#pragma once

// Text measurement for the standard controls: every size they derive from text comes from the
// font they draw with, measured on a screen context.

#include "platform/win32.h"

#include <string_view>

namespace posix {

// The font a control draws with: the one WM_SETFONT gave it, or the default GUI font when it
// was given none (or something that is not a font).
HFONT FontOrDefault(HFONT font);

TEXTMETRICA MetricsOf(HFONT font);

// Height of one line of text in the font: the list box's item height, the edit's line.
int LineHeightOf(HFONT font);

SIZE ExtentOf(HFONT font, std::string_view text);

// The rectangle DrawTextA would fill with the text in the given format (DT_CALCRECT), starting
// from width pixels wide (only word-wrapping formats use the width).
SIZE FormattedExtentOf(HFONT font, std::string_view text, int width, UINT format);

// Selects a font into a context for as long as the object lives.
class SelectedFont {
public:
    SelectedFont(HDC dc, HFONT font);
    ~SelectedFont();
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

} // namespace posix
