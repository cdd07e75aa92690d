#pragma once

// Virtual-key codes of the native keyboard's keys.

#include <SDL2/SDL_keycode.h>

namespace posix {

// The virtual-key code of a native key, or 0 for keys without one.
int VirtualKeyOfSdlKey(SDL_Keycode key);

// The Windows-1251 byte of a character typed through native text input, or 0 when it has
// none. ASCII characters give 0 too: their key presses already type them.
unsigned char TextInputByte(char32_t character);

} // namespace posix
