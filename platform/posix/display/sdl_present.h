#pragma once

// Bringing a window's pixels over to its native SDL surface.

#include "platform/posix/gdi32/Surface.h"

#include <SDL2/SDL_rect.h>
#include <SDL2/SDL_surface.h>

namespace posix {

// Copies the area of the window's pixels to the native surface, converted to its format.
// False when the native surface already held exactly those pixels: a repaint that changed
// nothing then needs no presentation, which would cost a round trip to the X server.
bool CopyChangedPixels(const gdi::Surface& pixels, SDL_Surface& target, const SDL_Rect& area);

} // namespace posix
