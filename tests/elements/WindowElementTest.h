#pragma once

// Set-up shared by the tests of the window elements: a reset session and toolkit state,
// a start-up routine list of the test's own, links switched on, and a form control on the
// application control for elements to live on. Elements made with Make are destroyed before
// the controls.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/TInitMan.h"
#include "elements/TZuWin.h"

#include "tests/elements/LinkProbe.h"
#include "tests/support/ReadBack.h"
#include "tests/support/TestSession.h"
#include "toolkit/TControl.h"

class WindowElementTest : public LinkedElementTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The application control (made MainControl) with one form at 100, 100 sized 400 by 300,
    // both with windows.
    void MakeForm();

    template <class Element> Element& Make(TControl* parent) {
        auto element = std::make_unique<Element>(parent);
        Element& made = *element;
        elements.push_back(std::move(element));
        return made;
    }

    // Makes every window still missing on the form and processes what that queued.
    void ShowWindows();

    TControl* form = nullptr;
    TInitMan initProcs;

private:
    TInitMan* savedInitManager = nullptr;
    std::vector<std::unique_ptr<TZuWin>> elements;
};

// The font settings a control's window is drawn with.
LOGFONTA FontOf(TControl* control);
