#pragma once

// The test driver of the POSIX layer, for tests and automation; the program itself never uses
// it. It runs the layer on the headless display and the virtual clock, feeds input through the
// same path as real input (hit testing, capture, focus, WM_* messages), pumps messages,
// advances time, answers message boxes and file dialogs from scripted queues, reads back the
// state of windows and records the calls of chosen API families.

#include "platform/win32.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testdriver {

// ---- Session --------------------------------------------------------------------------------

// Switches to the headless display and the virtual clock (reading 0) and returns the layer to
// its starting state: every window destroyed, application classes unregistered, the queue,
// timers, focus, activation, capture, key state, cursor, recordings, scripted answers and idle
// steps cleared. Call it at the start of every test.
void Reset();

// Switches to the real monotonic clock (for tests that measure real waiting). Reset switches
// back.
void UseRealClock();

// ---- Time and pumping -----------------------------------------------------------------------

// Milliseconds on the layer's clock.
std::uint64_t Now();

// Processes every message that can be retrieved now (posted, input, WM_PAINT, due WM_TIMER)
// without moving the clock. Stops at WM_QUIT and answers its exit code.
std::optional<int> PumpUntilIdle();

// Moves the virtual clock forward by ms, stopping at every moment a timer falls due to pump
// the messages of that moment, so timers fire in order and as often as they would in real
// time. Answers the exit code of a WM_QUIT met on the way (the clock then stops there).
std::optional<int> AdvanceClock(std::uint64_t ms);

// ---- Input ----------------------------------------------------------------------------------
// Coordinates are in the client area of the given window. Every call queues its input and then
// pumps until idle.

enum class MouseButton { Left, Right, Middle };

void MouseMove(HWND window, int x, int y);
void MouseDown(HWND window, int x, int y, MouseButton button = MouseButton::Left);
void MouseUp(HWND window, int x, int y, MouseButton button = MouseButton::Left);
// Down and up at one point, queued together.
void Click(HWND window, int x, int y, MouseButton button = MouseButton::Left);
// Two clicks at one point within the double-click time.
void DoubleClick(HWND window, int x, int y, MouseButton button = MouseButton::Left);
// Press at (x0, y0), move to (x1, y1), release there; queued together so that modal loops
// (a window being moved by its caption) see the whole gesture.
void Drag(HWND window, int x0, int y0, int x1, int y1, MouseButton button = MouseButton::Left);
// One wheel notch is WHEEL_DELTA; positive turns away from the user.
void Wheel(HWND window, int x, int y, int delta);

void KeyDown(int virtualKey);
void KeyUp(int virtualKey);
// Down and up.
void PressKey(int virtualKey);
// Key strokes that type the text: ASCII letters, digits, blanks and punctuation as keys of a
// US keyboard (with Shift where needed); any other byte as a VK_PACKET key carrying it.
void TypeText(std::string_view text);

// ---- Scripted answers -------------------------------------------------------------------------

// The next message box answers with this button (IDOK, IDYES, IDNO, ...) at once.
void QueueMessageBoxAnswer(int answer);

// The next file dialog answers with this path, or is cancelled.
void QueueFileDialogPath(std::string path);
void QueueFileDialogCancel();

// ---- Scripted message loops -------------------------------------------------------------------

// Steps run one by one by WaitMessage under the virtual clock when nothing else is waiting, so
// a test can script a real message loop. When no step is left, WaitMessage advances the clock
// to the next due timer; once a whole idle period (default one hour) passes without a step,
// or nothing at all can happen, the loop has stalled: it is told so with WM_QUIT.
void AddIdleStep(std::function<void()> step);
std::size_t PendingIdleSteps();
void SetIdlePeriod(std::uint64_t ms);
bool Stalled();

// ---- Read-back --------------------------------------------------------------------------------
// (State read through plain Win32 calls is in tests/support/ReadBack.h, for both systems.)

// What a window shows: the colour at a client point as drawn on its top-level surface, children
// included (-1 when the window is hidden or the point lies outside its client area or the
// surface), and its client area written as a PNG file.
std::int64_t ClientPixel(HWND window, int x, int y);
bool SavePng(HWND window, const std::string& path);

// The message DispatchMessageA is delivering at this moment (the innermost one), or null; the
// serial changes with every dispatch. Recording window procedures use it to tell posted
// messages from sent ones.
const MSG* MessageBeingDispatched(std::uint64_t* serial);

// ---- Recording of API calls -------------------------------------------------------------------

enum class ApiFamily {
    Messages, // SendMessageA, PostMessageA, PostQuitMessage
    Timers,   // SetTimer, KillTimer
    Dialogs,  // message boxes and file dialogs shown
    Mci,      // mciSendCommandA
};

struct ApiCall {
    ApiFamily Family;
    std::string Function;
    std::vector<std::uintptr_t> Values; // the numeric arguments, in order
    std::string Text;                   // the text argument(s) where the call has any
    bool operator==(const ApiCall&) const = default;
};

// Starts recording a family. Messages may be limited to chosen windows (all when none chosen).
void Record(ApiFamily family);
void RecordMessagesTo(HWND window);
std::vector<ApiCall> RecordedCalls();
void ClearRecordedCalls();
std::string Describe(const ApiCall& call);

} // namespace testdriver
