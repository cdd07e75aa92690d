#pragma once

#include <string>
#include <vector>

// Hands the arguments to a player already running on the session bus and answers 0 when there
// is one (see DesktopBus). Otherwise builds the player, starts it, opens the files the arguments name (see OpenArguments; each
// argument it cannot use gets one line on standard error), lets the window take dropped files,
// publishes it on the session bus when there is one, runs the message loop until the main window closes, then destroys the elements (links are
// off by then). Answers the exit code: 0, or 1 when the player's window could not be made
// (CreateWindowExA failed: no display to show it on).
int RunPlayer(const std::vector<std::string>& arguments);
