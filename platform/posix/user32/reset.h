#pragma once

// Returning the window manager to its starting state, for the test driver's reset.

namespace posix {

// Destroys every window and unregisters the application's classes, then clears the queue, the
// timers, focus, activation, capture, the key state and the cursor position.
void ResetWindowManager();

} // namespace posix
