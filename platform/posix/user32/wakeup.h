#pragma once

// Wake-ups of a blocked WaitMessage (from signal handlers and other threads), the moments a
// wait ends at besides timers, and the end of the session announced by SIGTERM or SIGHUP.

#include "platform/win32.h"

#include <cstdint>
#include <optional>

namespace posix {

// A descriptor that becomes readable after WakeMessageLoop.
int WakeFd();

// Ends a wait in progress, or the next one. Safe in signal handlers and from any thread.
void WakeMessageLoop();

// The descriptor a wait blocks on: the wake-up descriptor, or, while the program watches
// descriptors of its own (platform/descriptor_wait.h), an epoll set holding them and it.
int WaitFd();

// Empties the descriptor after a wait.
void DrainWakeups();

// Handlers run on the GUI thread when the loop was woken (an audio play reached its end, say),
// before the queue is looked at. Registering the same handler again changes nothing.
void AddWakeHandler(void (*handler)());

// Runs the handlers of the watched descriptors that are ready; then the wake handlers if a
// wake-up came since they last ran, or in any case with force (the
// test driver forces them after it moved the virtual clock).
void RunWakeHandlers(bool force);

// Modules with moments of their own under the virtual clock (an audio play that ends) tell
// the earliest one, so that waiting and the test driver stop there as they stop at timers.
// Registering the same source again changes nothing.
void AddDeadlineSource(std::optional<std::uint64_t> (*source)());

// The earliest moment a timer falls due or a deadline source names.
std::optional<std::uint64_t> NextDeadline();

// Installs the SIGTERM and SIGHUP handlers (once); they only record the request and wake the
// loop.
void InstallEndSessionHandlers();

// Ends the session as a hang-up does (a log-off), from the GUI thread: the display is gone.
void RequestLogoff();

// The session is ending: answers true once per request, with the lParam of WM_ENDSESSION.
bool TakeEndSession(LPARAM* lParam);
bool EndSessionPending();

} // namespace posix
