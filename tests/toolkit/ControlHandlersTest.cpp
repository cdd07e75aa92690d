#include <string>
#include <vector>

#include "tests/toolkit/ControlHandlersTest.h"
#include "toolkit/Colors.h"
#include "toolkit/ControlHandlers.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

// ---- Notifications of standard controls ----

TEST_F(ControlHandlersTest, NotificationCodesRaiseTheEventsOfTheirKind) {
    enum Event { None, Click, FocusIn, FocusOut, Change, SelChange };
    struct Case {
        const char* name;
        int code;
        bool withSelChange; // SelChangeEvent is set
        Event expected;
    };
    const Case buttonCases[] = {{"button clicked", BN_CLICKED, true, Click},
                                {"button got focus", BN_SETFOCUS, true, FocusIn},
                                {"button lost focus", BN_KILLFOCUS, true, FocusOut},
                                {"button other", BN_DBLCLK, true, None}};
    const Case listCases[] = {{"list double click", LBN_DBLCLK, true, Click},
                              {"list got focus", LBN_SETFOCUS, true, FocusIn},
                              {"list lost focus", LBN_KILLFOCUS, true, FocusOut},
                              {"list selection", LBN_SELCHANGE, true, SelChange},
                              {"list selection, no event", LBN_SELCHANGE, false, Change},
                              {"list cancel", LBN_SELCANCEL, true, None}};
    const Case labelCases[] = {{"label clicked", STN_CLICKED, true, Click},
                               {"label other", STN_DBLCLK, true, None}};
    auto run = [&](TControl* control, const auto& cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            EventProbe probes[6];
            control->ClickEvent = probes[Click].Callback();
            control->FocusInEvent = probes[FocusIn].Callback();
            control->FocusOutEvent = probes[FocusOut].Callback();
            control->ChangeEvent = probes[Change].Callback();
            control->SelChangeEvent = c.withSelChange ? probes[SelChange].Callback() : TCallback{};
            Notify(control, c.code);
            for (int e = Click; e <= SelChange; ++e) {
                EXPECT_EQ(probes[e].Calls, e == c.expected ? 1 : 0) << "event " << e;
            }
        }
    };
    run(first, buttonCases);
    run(list, listCases);
    run(label, labelCases);
}

TEST_F(ControlHandlersTest, AClickWhileTheToolkitMovesTheFocusIsNotTheUsers) {
    EventProbe click;
    first->ClickEvent = click.Callback();
    first->FocusGuard = 1;
    Notify(first, BN_CLICKED);
    EXPECT_EQ(click.Calls, 0);
    first->FocusGuard = 0;
    Notify(first, BN_CLICKED);
    EXPECT_EQ(click.Calls, 1);
}

TEST_F(ControlHandlersTest, FocusOnAChildMakesItTheFormsLastFocused) {
    SetFocus(list->Handle);
    EXPECT_EQ(form->LastFocused, list);
    SetFocus(second->Handle);
    EXPECT_EQ(form->LastFocused, second);
}

// ---- Forms and the application control ----

TEST_F(ControlHandlersTest, FocusOnAFormGoesToItsLastFocusedChild) {
    form->LastFocused = second;
    SetFocus(form->Handle);
    EXPECT_EQ(GetFocus(), second->Handle);
    EXPECT_EQ(app->LastFocused, form);

    SetFocus(app->Handle);
    EXPECT_EQ(GetFocus(), second->Handle) << "through the last active form";
}

TEST_F(ControlHandlersTest, TheEndOfTheSessionEndsTheProcessAtOnce) {
    EXPECT_EXIT(SendMessageA(form->Handle, WM_ENDSESSION, TRUE, 0), testing::ExitedWithCode(0), "");
}

// ---- Key events ----

void ToUpper(void*, TObj*, std::uint8_t& character, std::uint32_t) {
    if (character >= 'a' && character <= 'z') {
        character = static_cast<std::uint8_t>(character - 'a' + 'A');
    }
}

TEST_F(ControlHandlersTest, ACharacterEventSeesAndChangesTheCharacter) {
    list->KeyCharEvent = {&ToUpper, nullptr};
    list->SetKeyDownEvent({&ReplaceKey, nullptr});
    keyReplacement = 'Q';
    DefaultRecorder recorder(list);
    SetFocus(list->Handle);
    SendMessageA(list->Handle, WM_CHAR, 'q', 0);
    EXPECT_TRUE(recorder.Saw(WM_CHAR, 'Q'));
    EXPECT_FALSE(recorder.Saw(WM_CHAR, 'q'));
}

// ---- Show and size ----

TEST_F(ControlHandlersTest, ShowingAndHidingRaiseTheirEventsOnChangeOnly) {
    EventProbe shown;
    EventProbe hidden;
    second->SetShowEvent(shown.Callback());
    second->HideEvent = hidden.Callback();
    ShowWindow(second->Handle, SW_HIDE);
    EXPECT_EQ(hidden.Calls, 1);
    EXPECT_FALSE(second->Visible);
    ShowWindow(second->Handle, SW_SHOW);
    ShowWindow(second->Handle, SW_SHOW);
    EXPECT_EQ(shown.Calls, 1);
    EXPECT_TRUE(second->Visible);
}

std::vector<std::string> sizeTrace;

void NoteResize(void*, TObj*) {
    sizeTrace.push_back("resize");
}
void NoteRealign(TControl* control) {
    sizeTrace.push_back(control->IsForm ? "realign form" : "realign control");
}

TEST_F(ControlHandlersTest, TheResizeEventComesBeforeRealignment) {
    const ControlProc savedHook = RealignHook;
    RealignHook = &NoteRealign;
    sizeTrace.clear();
    label->SetResizeEvent({&NoteResize, nullptr});
    label->SetBoundsRect({200, 10, 320, 40});
    RealignHook = savedHook;
    const std::vector<std::string> expected = {"resize", "realign form", "realign control"};
    EXPECT_EQ(sizeTrace, expected);
}

} // namespace
