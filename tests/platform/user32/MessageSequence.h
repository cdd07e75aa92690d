#pragma once

// Message-sequence checking for window tests: recording window procedures on a control and on
// its parent, expectations written as constant tables, and one checker that prints both
// sequences on a mismatch and reports the line of the test that asked.

#include "platform/win32.h"

#include <initializer_list>
#include <source_location>
#include <span>
#include <string>
#include <vector>

namespace sequence {

// How a message arrived, and what of it an expectation checks.
enum Flag : unsigned {
    Sent = 0x01,     // through a direct call (SendMessageA or the system itself)
    Posted = 0x02,   // from the queue through DispatchMessageA
    Parent = 0x04,   // to the window recorded as the parent
    Optional = 0x08, // may be missing
    DefProc = 0x10,  // sent while the window's default processing ran
    WParam = 0x20,   // wParam must match
    LParam = 0x40,   // lParam must match
};

struct Expected {
    UINT Message;
    unsigned Flags;
    WPARAM WParamValue = 0;
    LPARAM LParamValue = 0;
};

struct Recorded {
    HWND Window;
    UINT Message;
    unsigned Flags;
    WPARAM WParamValue;
    LPARAM LParamValue;
};

// The class "SequenceRecorder": every message of its windows is recorded, then handed to
// DefWindowProcA. Registered once per test (the session's reset unregisters it); registering
// also clears the log, the parent and the ignored messages.
void RegisterRecordingClass(UINT classStyle = 0);
inline constexpr const char* RecordingClass = "SequenceRecorder";

// Records the messages of an existing window (a control) before its own procedure sees them.
void RecordWindow(HWND window);

// Messages of this window count as the parent's.
void SetParentWindow(HWND window);

// Messages never recorded (by default WM_NCHITTEST, WM_SETCURSOR, WM_GETICON and WM_NCPAINT,
// which the system sends around most input and painting, and WM_QUERYNEWPALETTE, which Windows
// sends on activation and our layer, having no palettes, never does). Input method messages
// are never recorded either, nor is WM_GETTEXT sent by a window's own default processing.
void SetIgnored(std::initializer_list<UINT> messages);
// Ignores, besides the defaults, the messages of a control's painting (WM_PAINT, erasing, the
// colour questions and the text it reads), for tests of behaviour rather than looks.
void IgnorePainting();

// What was recorded since the last check, or since Clear.
const std::vector<Recorded>& Log();
void Clear();

// Compares the log with the expectation and clears it. On a mismatch the test fails at the
// caller's line, showing the context and both sequences.
void ExpectSequence(std::span<const Expected> expected, const std::string& context,
                    std::source_location where = std::source_location::current());

std::string MessageName(UINT message);

} // namespace sequence
