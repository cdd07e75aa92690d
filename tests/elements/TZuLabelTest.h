#pragma once

// The fixture of the label element's tests: a form, and a label placed on it.

#include <string>

#include "elements/TZuLabel.h"
#include "tests/elements/WindowElementTest.h"
#include "toolkit/ControlTools.h"
#include "toolkit/TGraphicTool.h"

class TZuLabelTest : public WindowElementTest {
protected:
    void SetUp() override {
        WindowElementTest::SetUp();
        MakeForm();
    }

    TZuLabel& MakeLabel() {
        TZuLabel& label = Make<TZuLabel>(form);
        label.Left = 40;
        label.Top = 20;
        label.Width = 60;
        label.Height = 15;
        label.Color = 0xFF00000F;
        label.Font = MakeFontRec("MS Sans Serif", 8, 0, 0, 1);
        return label;
    }

    // Read through the toolkit, which reads the program's own texts back by their rule on
    // every system; GetWindowTextA on Windows answers in the system's ANSI code page.
    std::string Shown(TZuLabel& label) { return label.Control->WindowText(); }

    TGraphicTool* FontTool(TZuLabel& label) { return ControlFont(label.Control); }
};
