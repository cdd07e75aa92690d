#pragma once

// What the layer asks of the test driver (platform/testing.h): scripted idle steps for
// message loops under the virtual clock, and scripted answers of message boxes and file
// dialogs. Without a script they answer "nothing".

#include "platform/win32.h"

#include <cstdint>
#include <optional>
#include <string>

namespace posix {

// The driver is pumping messages itself: waits inside (modal loops) must neither run idle
// steps nor move the clock.
bool DriverPumping();

// Runs the next idle step; false when none is left.
bool RunIdleStep();

// The virtual clock may move to a timer due at this moment: the idle period since the last
// step has not run out.
bool MayAdvanceClockTo(std::uint64_t due);

// A scripted message loop can never get another message: it is told with WM_QUIT.
void ReportStall();

// Modules with state of their own register how to clear it; the test driver runs every
// handler on Reset. Registering the same handler again changes nothing.
void AddResetHandler(void (*handler)());

// DispatchMessageA tells which message it is delivering (null when it is done).
void NoteDispatch(const MSG* msg);

std::optional<int> TakeMessageBoxAnswer();

struct FileDialogAnswer {
    bool Cancelled = false;
    std::string Path;
};
std::optional<FileDialogAnswer> TakeFileDialogAnswer();

} // namespace posix
