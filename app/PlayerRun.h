#pragma once

// Builds the player, starts it, runs the message loop until the main window closes, then
// destroys the elements (links are off by then). Answers the exit code: 0, or 1 when the
// player's window could not be made (CreateWindowExA failed: no display to show it on).
int RunPlayer();
