// The BUTTON control through its messages: BM_CLICK, its font and dialog code. Every test runs
// twice: on the system class and on a class derived from it (see ButtonTest.h).

#include "tests/platform/user32/ButtonTest.h"

#include <gtest/gtest.h>

namespace {

using namespace sequence;

INSTANTIATE_TEST_SUITE_P(SystemAndDerivedClass, ButtonTest,
                         testing::Values("BUTTON", "DerivedButton"));

TEST_P(ButtonTest, BmClickPlaysAPressAndReleaseOnEnabledButtonsOnly) {
    const HWND button = MakeButton();
    SendMessageA(button, BM_CLICK, 0, 0);
    const Expected clicked[] = {
        {BM_CLICK, Sent},
        {WM_LBUTTONDOWN, Sent | DefProc},
        {WM_KILLFOCUS, Sent | Parent | Optional},
        {WM_SETFOCUS, Sent | DefProc},
        {BM_SETSTATE, Sent | DefProc | WParam, TRUE},
        {WM_LBUTTONUP, Sent | DefProc},
        {BM_SETSTATE, Sent | DefProc | WParam, FALSE},
        {WM_CAPTURECHANGED, Sent | DefProc},
        Command(button, BN_CLICKED),
    };
    ExpectSequence(clicked, "BM_CLICK on an enabled button");

    // Undocumented: ours ignores BM_CLICK on a disabled button, Wine clicks it all the same.
    EnableWindow(button, FALSE);
    Clear();
    SendMessageA(button, BM_CLICK, 0, 0);
    if (testsession::RunningOnWine()) {
        const Expected clickedAgain[] = {
            {BM_CLICK, Sent},
            {WM_LBUTTONDOWN, Sent | DefProc},
            {BM_SETSTATE, Sent | DefProc | WParam, TRUE},
            {WM_LBUTTONUP, Sent | DefProc},
            {BM_SETSTATE, Sent | DefProc | WParam, FALSE},
            {WM_CAPTURECHANGED, Sent | DefProc},
            Command(button, BN_CLICKED),
        };
        ExpectSequence(clickedAgain, "BM_CLICK on a disabled button, clicked by Wine");
    } else {
        const Expected ignored[] = {{BM_CLICK, Sent}};
        ExpectSequence(ignored, "BM_CLICK on a disabled button");
    }
}

TEST_P(ButtonTest, KeepsItsFontAndAnswersTheDialogCodeOfItsType) {
    const HWND button = MakeButton(BS_DEFPUSHBUTTON);
    const HFONT font = reinterpret_cast<HFONT>(static_cast<UINT_PTR>(0x1234));
    EXPECT_EQ(SendMessageA(button, WM_GETFONT, 0, 0), 0);
    SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    EXPECT_EQ(SendMessageA(button, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(font));
    EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
    SendMessageA(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(button, GWL_STYLE)),
              WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON);
}

} // namespace
