#pragma once

// The fixture of the tests of the window element base: a form on the application control, and
// buttons placed on it.

#include <gtest/gtest.h>

#include <cstdint>

#include "elements/TZuButton.h"
#include "tests/elements/WindowElementTest.h"

class TZuWinTest : public WindowElementTest {
protected:
    void SetUp() override {
        WindowElementTest::SetUp();
        MakeForm();
    }

    TZuButton& MakeButton(std::int32_t left, std::int32_t top) {
        TZuButton& button = Make<TZuButton>(form);
        button.Left = left;
        button.Top = top;
        button.Width = 60;
        button.Height = 20;
        button.Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
        return button;
    }
};
