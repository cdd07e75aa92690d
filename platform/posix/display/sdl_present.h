#pragma once

// Bringing a window's pixels over to its native SDL surface.

#include "platform/posix/gdi32/Surface.h"

#include <SDL2/SDL_rect.h>
#include <SDL2/SDL_surface.h>

namespace posix {

// The area of the native surface that shows 'area' of the window's pixels at 'scale'.
SDL_Rect ScaledArea(const SDL_Rect& area, int scale);

// Copies the area of the window's pixels (in their own coordinates) to the native surface,
// converted to its format: from their detailed picture when it is of the scale's fineness,
// otherwise each pixel as a scale-by-scale block of the native surface. False
// when the native surface already held exactly those pixels: a repaint that changed nothing
// then needs no presentation, which would cost a round trip to the X server.
bool CopyChangedPixels(const gdi::Surface& pixels, SDL_Surface& target, const SDL_Rect& area,
                       int scale = 1);

} // namespace posix
