#pragma once

#include <string_view>

// The first argument that shows the info box instead of starting the player; compared byte
// for byte.
inline constexpr std::string_view InfoSwitch = "/ih";

// Shows the info box, with no owner window and a single OK button, until it is dismissed.
// False when it could not be shown.
bool ShowInfoBox();
