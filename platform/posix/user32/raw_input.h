#pragma once

// Raw mouse and keyboard events entering the input queue: what the display backend and the test
// driver feed in. They become WM_* messages only when the queue takes them (input.h).

#include "platform/win32.h"

namespace posix {

enum class MouseKey { Left, Right, Middle };

// The cursor moves to a point on the screen.
void QueueMouseMove(POINT screen);
// A button goes down or up where the cursor is.
void QueueMouseButton(MouseKey button, bool down);
// The wheel turns by delta (WHEEL_DELTA per notch) where the cursor is.
void QueueMouseWheel(int delta);
// A key goes down or up. A VK_PACKET key carries the character it types.
void QueueKey(int virtualKey, bool down, BYTE character = 0);

// The key, and whether Shift is needed, that types an ASCII character on a US keyboard.
bool KeyForCharacter(unsigned char character, int* virtualKey, bool* shift);

} // namespace posix
