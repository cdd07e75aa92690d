#pragma once

// Builds the player, starts it, runs the message loop until the main window closes, then
// destroys the elements (links are off by then). Answers the exit code, 0.
int RunPlayer();
