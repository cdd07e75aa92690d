#pragma once

// Set-up shared by the tests of controls: a reset windowing session and toolkit state per test,
// and a form with the application control as its parent, freed at the end of the test.

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/ReadBack.h"
#include "tests/support/TestSession.h"
#include "toolkit/TControl.h"

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // An application control (made MainControl) with one form, both with windows.
    void MakeAppAndForm();

    TControl* app = nullptr;
    TControl* form = nullptr;
    // Further roots the test made; freed at the end.
    std::vector<TControl*> roots;
};

// Records the order in which controls announce their destruction, and whether a watched
// window still existed at that moment.
struct DestructionLog {
    std::vector<TControl*> Order;
    std::vector<bool> WindowAlive;
    HWND Watched = nullptr;

    void Watch(TControl* control);
};

// Counts the messages of one number that reach a control, through its MessageEvent.
struct MessageCounter {
    UINT Msg = 0;
    int Count = 0;

    void Attach(TControl* control);
};

// Whether a GDI object still exists, and the colour of a brush.
bool Exists(HGDIOBJ handle);
COLORREF BrushColor(HBRUSH brush);
