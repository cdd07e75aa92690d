#pragma once

#include <string>
#include <vector>

// Builds the player, starts it, opens the files the arguments name (see OpenArguments; each
// argument it cannot use gets one line on standard error), lets the window take dropped files,
// runs the message loop until the main window closes, then destroys the elements (links are
// off by then). Answers the exit code: 0, or 1 when the player's window could not be made
// (CreateWindowExA failed: no display to show it on).
int RunPlayer(const std::vector<std::string>& arguments);
