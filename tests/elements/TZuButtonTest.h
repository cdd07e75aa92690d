#pragma once

// The fixture of the button element's tests: a form, and a button placed on it.

#include "elements/TZuButton.h"
#include "tests/elements/WindowElementTest.h"

class TZuButtonTest : public WindowElementTest {
protected:
    void SetUp() override {
        WindowElementTest::SetUp();
        MakeForm();
    }

    TZuButton& MakeButton() {
        TZuButton& button = Make<TZuButton>(form);
        button.Left = 7;
        button.Top = 42;
        button.Width = 50;
        button.Height = 20;
        return button;
    }
};
