// The toolkit's message handlers reached by input through the test driver: clicks, double
// clicks, mouse buttons, keys and hovering, painted pixels and the record of quit requests
// (POSIX only).

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/testing.h"
#include "tests/support/ReadBack.h"
#include "tests/toolkit/ControlHandlersTest.h"
#include "toolkit/Colors.h"
#include "toolkit/ControlHandlers.h"
#include "toolkit/TList.h"
#include "toolkit/WindowProc.h"

namespace {

DestroyProbe* clickedProbe = nullptr;
bool aliveInsideClick = false;

void FreeSender(void*, TObj* sender) {
    Free(sender);
    aliveInsideClick = !clickedProbe->Destroyed;
}

struct MouseProbe {
    int Calls = 0;
    MouseEventData Last;
    bool Stop = false;
    TMouseEvent Event() { return {&MouseProbe::Hit, this}; }
    static void Hit(void* context, TObj*, MouseEventData& data) {
        auto* probe = static_cast<MouseProbe*>(context);
        ++probe->Calls;
        probe->Last = data;
        data.StopHandling = probe->Stop;
    }
};

TEST_F(ControlHandlersTest, PressingAButtonRaisesItsClickEventOnce) {
    EventProbe click;
    first->ClickEvent = click.Callback();
    testdriver::Click(first->Handle, 5, 5);
    EXPECT_EQ(click.Calls, 1);
    EXPECT_EQ(click.LastSender, first);
}

TEST_F(ControlHandlersTest, ListItemsRaiseClickOnDoubleClickAndSelChangeOnSelection) {
    EventProbe click;
    EventProbe selection;
    list->ClickEvent = click.Callback();
    list->SelChangeEvent = selection.Callback();
    testdriver::Click(list->Handle, 20, 25);
    EXPECT_EQ(selection.Calls, 1);
    EXPECT_EQ(click.Calls, 0);
    testdriver::DoubleClick(list->Handle, 20, 5);
    EXPECT_EQ(click.Calls, 1);
    EXPECT_EQ(readback::CurrentItem(list->Handle), 0);
}

TEST_F(ControlHandlersTest, AControlFreedInItsOwnClickEventGoesOnlyAfterTheEventReturns) {
    DestroyProbe probe;
    clickedProbe = &probe;
    aliveInsideClick = false;
    probe.Watch(second);
    second->ClickEvent = {&FreeSender, nullptr};
    HWND window = second->Handle;
    testdriver::Click(window, 5, 5);
    EXPECT_TRUE(aliveInsideClick);
    EXPECT_TRUE(probe.Destroyed);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(form->Children->IndexOf(second), -1);
    second = nullptr;
}

TEST_F(ControlHandlersTest, ClosingTheApplicationFromTheTaskbarClosesTheMainForm) {
    testdriver::Record(testdriver::ApiFamily::Messages);
    EXPECT_EQ(SendMessageA(app->Handle, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    EXPECT_EQ(testdriver::PumpUntilIdle(), std::optional<int>(0));
    int quits = 0;
    for (const auto& call : testdriver::RecordedCalls()) {
        quits += call.Function == "PostQuitMessage" ? 1 : 0;
    }
    EXPECT_EQ(quits, 2);
}

TEST_F(ControlHandlersTest, AFormErasesItsBackgroundWithItsColour) {
    form->SetColor(RGB(10, 120, 200));
    RedrawWindow(form->Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(testdriver::ClientPixel(form->Handle, 350, 200), RGB(10, 120, 200));
}

TEST_F(ControlHandlersTest, MouseMessagesBecomeMouseEventsWithButtonPositionAndShift) {
    using testdriver::MouseButton;
    struct Case {
        MouseButton button;
        std::uint8_t expected;
        std::uint32_t downFlag;
    };
    const Case cases[] = {{MouseButton::Left, 1, MK_LBUTTON},
                          {MouseButton::Right, 2, MK_RBUTTON},
                          {MouseButton::Middle, 3, MK_MBUTTON}};
    MouseProbe down;
    MouseProbe up;
    label->SetMouseDownEvent(down.Event());
    label->SetMouseUpEvent(up.Event());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        testdriver::MouseDown(label->Handle, 7, 9, c.button);
        testdriver::MouseUp(label->Handle, 7, 9, c.button);
        EXPECT_EQ(down.Last.Button, c.expected);
        EXPECT_EQ(up.Last.Button, c.expected);
        EXPECT_EQ(down.Last.X, 7);
        EXPECT_EQ(down.Last.Y, 9);
        EXPECT_EQ(down.Last.Shift & 0xFFFF, c.downFlag);
    }
    EXPECT_EQ(down.Calls, 3);
    EXPECT_EQ(up.Calls, 3);

    MouseProbe move;
    label->SetMouseMoveEvent(move.Event());
    testdriver::KeyDown(VK_MENU);
    testdriver::MouseMove(label->Handle, 3, 4);
    testdriver::KeyUp(VK_MENU);
    EXPECT_EQ(move.Last.Button, 0);
    EXPECT_EQ(move.Last.Shift & ShiftAlt, ShiftAlt);
}

TEST_F(ControlHandlersTest, AMouseEventThatStopsHandlingKeepsTheMessageFromTheControl) {
    for (bool stop : {false, true}) {
        SCOPED_TRACE(stop);
        testdriver::AdvanceClock(2000); // two clicks, not a double click
        MouseProbe down;
        down.Stop = stop;
        EventProbe click;
        first->SetMouseDownEvent(down.Event());
        first->ClickEvent = click.Callback();
        testdriver::Click(first->Handle, 5, 5);
        EXPECT_EQ(down.Calls, 1);
        EXPECT_EQ(click.Calls, stop ? 0 : 1);
    }
}

TEST_F(ControlHandlersTest, AKeyEventMaySwallowOrChangeTheKey) {
    struct Case {
        int pressed;
        std::uint32_t replacement;
        int expectedItem;
    };
    const Case cases[] = {{VK_DOWN, VK_DOWN, 1}, {VK_DOWN, 0, 1}, {VK_DOWN, VK_UP, 0}};
    list->SetKeyDownEvent({&ReplaceKey, nullptr});
    SetFocus(list->Handle);
    list->SetCurrentIndex(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.replacement);
        keysSeen.clear();
        keyReplacement = c.replacement;
        testdriver::PressKey(c.pressed);
        EXPECT_EQ(keysSeen, std::vector<std::uint32_t>{static_cast<std::uint32_t>(c.pressed)});
        EXPECT_EQ(readback::CurrentItem(list->Handle), c.expectedItem);
    }
}

TEST_F(ControlHandlersTest, EnteringAndLeavingALabelRaisesEachEventOnce) {
    EventProbe enter;
    EventProbe leave;
    label->SetMouseEnterEvent(enter.Callback());
    label->SetMouseLeaveEvent(leave.Callback());
    testdriver::MouseMove(label->Handle, 5, 5);
    testdriver::MouseMove(label->Handle, 6, 6);
    EXPECT_EQ(enter.Calls, 1);
    EXPECT_EQ(leave.Calls, 0);
    EXPECT_TRUE(label->MouseInside);
    // Straight to another window: only the leave tracking can tell.
    testdriver::MouseMove(form->Handle, 350, 200);
    EXPECT_EQ(enter.Calls, 1);
    EXPECT_EQ(leave.Calls, 1);
    EXPECT_FALSE(label->MouseInside);
}

} // namespace
