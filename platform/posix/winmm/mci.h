#pragma once

// The layer's side of the Media Control Interface: what the message loop and the test
// driver call besides mciSendCommandA. Everything here runs on the GUI thread, as the
// commands do.

#include "platform/win32.h"

namespace posix {

// Ends every play that has reached its end and posts its MM_MCINOTIFY. Called when the
// audio wake-up ends a WaitMessage, and by the test driver after it moved the virtual clock.
void DeliverMciNotifications();

// Closes every device, posting nothing. The test driver's reset does it too.
void CloseAllMciDevices();

} // namespace posix
