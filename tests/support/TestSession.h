#pragma once

// What a window test needs from the system it runs on, the same on both: our layer on POSIX
// (under the test driver's headless display and virtual clock) and the system's own Win32 on
// Windows. Tests that only call the API use these instead of the test driver, so they build
// and run on both systems.

#include "platform/win32.h"

#include <cstdint>
#include <optional>

namespace testsession {

// Returns the windowing state of this thread to its start: every window destroyed, the queue
// emptied, the application's window classes unregistered. Call it at the start and the end of
// every test. On POSIX it is the test driver's full reset (virtual clock reading 0 included).
void Reset();

// Takes and dispatches every message that can be retrieved now (posted, sent, WM_PAINT, due
// WM_TIMER). Stops at WM_QUIT and answers its exit code.
std::optional<int> PumpUntilIdle();

// Lets ms milliseconds pass without processing messages: the virtual clock moves on POSIX; on
// Windows the thread sleeps.
void LetTimePass(DWORD ms);

// The message being dispatched (on Windows, the one taken from the queue last), or null; the
// serial changes with every message. Recording window procedures use it to tell posted
// messages from sent ones.
const MSG* MessageBeingDispatched(std::uint64_t* serial);

// Whether the program runs on our own layer rather than a system's Win32. Details Windows
// leaves undocumented (an error code, an optional message) are checked on our layer only.
bool RunningOnOwnLayer();

// Whether the program runs under Wine, which answers some calls differently from documented
// Windows behaviour (docs/WINE.md lists every case).
bool RunningOnWine();

// The answer documented for Windows (where Windows documents none, the one our layer chose),
// or Wine's own where it differs.
template <class Answer> Answer WindowsOrWine(Answer windows, Answer wine) {
    return RunningOnWine() ? wine : windows;
}

} // namespace testsession
