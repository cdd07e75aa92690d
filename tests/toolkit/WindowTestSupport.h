#pragma once

// Shared set-up of the tests that run controls through the window procedure: a clean windowing
// session and dispatch state per test, a small form, and probes that record what reached a
// control.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/ReadBack.h"
#include "tests/support/TestSession.h"
#include "toolkit/TControl.h"

// Counts a bound notification and remembers the last sender.
struct EventProbe {
    int Calls = 0;
    TObj* LastSender = nullptr;

    TCallback Callback() { return {&EventProbe::Hit, this}; }
    static void Hit(void* context, TObj* sender);
};

// Notices the destruction of a control through its DestroyNotify.
struct DestroyProbe {
    bool Destroyed = false;

    void Watch(TControl* control);
    static void Hit(void* context, TObj* sender);
};

// Records the messages that reach a control's default processing: the control's
// PrevWindowProc (or DefWindowProcA) is wrapped by a procedure that notes each message first.
// One recorder per test; the last one made is active. It must end before its control.
class DefaultRecorder {
public:
    explicit DefaultRecorder(TControl* control);
    ~DefaultRecorder();
    DefaultRecorder(const DefaultRecorder&) = delete;
    DefaultRecorder& operator=(const DefaultRecorder&) = delete;

    // The messages seen, with their first parameters.
    const std::vector<std::pair<UINT, WPARAM>>& Seen() const { return seen; }
    bool Saw(UINT msg) const;
    bool Saw(UINT msg, WPARAM wParam) const;
    void Clear() { seen.clear(); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    TControl* control;
    WNDPROC original;
    std::vector<std::pair<UINT, WPARAM>> seen;
};

// Clears the process-wide state of message dispatch.
void ResetDispatchState();

// Every test starts on a reset driver with no application, and frees what it made.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The player's shape: an application control (made MainControl) whose first child is the
    // main form with two buttons, a list box with three items and a label, in that tab order,
    // placed apart, with windows and Tab navigation.
    void BuildForm();

    TControl* app = nullptr;
    TControl* form = nullptr;
    TControl* first = nullptr;
    TControl* second = nullptr;
    TControl* list = nullptr;
    TControl* label = nullptr;
};
