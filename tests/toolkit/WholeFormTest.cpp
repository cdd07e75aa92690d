// A small form made by hand and run by the real message loop: clicks, keys and typed text go
// in through the test driver, and closing the form ends the loop and frees every control.

#include <string>
#include <vector>

#include "platform/testing.h"
#include "tests/support/ReadBack.h"
#include "tests/toolkit/WindowTestSupport.h"
#include "toolkit/MessageLoop.h"
#include "toolkit/Navigation.h"
#include "toolkit/WindowProc.h"

namespace {

// What the form does: "Add" appends a numbered item and shows the count, "Clear" empties the
// list, a selection shows the selected item, and text typed into the list shows on the label.
struct Player {
    TControl* app = nullptr;
    TControl* form = nullptr;
    TControl* add = nullptr;
    TControl* clear = nullptr;
    TControl* label = nullptr;
    TControl* list = nullptr;
    int added = 0;
    std::string typed;

    static void OnAdd(void* context, TObj*) {
        auto* player = static_cast<Player*>(context);
        ++player->added;
        player->list->AddItem("item " + std::to_string(player->added));
        player->label->AssignText(std::to_string(player->list->ItemCount()));
    }
    static void OnClear(void* context, TObj*) {
        auto* player = static_cast<Player*>(context);
        player->list->ClearItems();
        player->label->AssignText("0");
    }
    static void OnSelect(void* context, TObj*) {
        auto* player = static_cast<Player*>(context);
        player->label->AssignText(player->list->ItemAt(player->list->CurrentIndex()));
    }
    static void OnKey(void*, TObj*, std::uint32_t&, std::uint32_t) {}
    static void OnChar(void* context, TObj*, std::uint8_t& character, std::uint32_t) {
        auto* player = static_cast<Player*>(context);
        player->typed += static_cast<char>(character);
        player->label->AssignText(player->typed);
    }

    void Build() {
        app = MakeAppControl("Kestrin");
        form = MakeFormControl(app, "Player");
        form->NavigationHook = HandleNavigationKey;
        form->SetBoundsRect({50, 50, 450, 350});
        add = MakeButtonControl(form, "Add");
        add->SetBoundsRect({10, 10, 90, 32});
        add->ClickEvent = {&OnAdd, this};
        clear = MakeButtonControl(form, "Clear");
        clear->SetBoundsRect({100, 10, 180, 32});
        clear->ClickEvent = {&OnClear, this};
        label = MakeLabelControl(form, "0");
        label->SetBoundsRect({200, 10, 380, 32});
        list = MakeListBoxControl(form, 0x12);
        list->SetBoundsRect({10, 50, 190, 200});
        list->SelChangeEvent = {&OnSelect, this};
        list->SetKeyDownEvent({&OnKey, this});
        list->KeyCharEvent = {&OnChar, this};
    }
};

class WholeFormTest : public WindowTest {};

TEST_F(WholeFormTest, AFormBuiltByHandRunsUnderTheMessageLoopAndShutsDownCleanly) {
    Player player;
    player.Build();
    TControl* controls[] = {player.app,   player.form,  player.add,
                            player.clear, player.label, player.list};
    DestroyProbe gone[6];
    for (int i = 0; i < 6; ++i) {
        gone[i].Watch(controls[i]);
    }
    std::vector<HWND> windows;
    HWND focusAtStart = nullptr;
    std::string labelAfterAdds;
    std::vector<std::string> itemsAfterAdds;
    HWND focusAfterTabs = nullptr;
    std::string labelAfterDown;
    std::string labelAfterTyping;
    int itemsAfterClear = -1;
    std::string labelAfterClear;

    // Input queued by an idle step is processed by the loop afterwards, so each step looks at
    // what the one before it caused.
    testdriver::Record(testdriver::ApiFamily::Messages);
    testdriver::AddIdleStep([&] {
        for (TControl* control : controls) {
            windows.push_back(control->Handle);
        }
        focusAtStart = GetFocus();
        testdriver::Click(player.add->Handle, 5, 8);
    });
    testdriver::AddIdleStep([&] { testdriver::Click(player.add->Handle, 25, 8); });
    testdriver::AddIdleStep([&] { testdriver::Click(player.add->Handle, 45, 8); });
    testdriver::AddIdleStep([&] {
        labelAfterAdds = readback::WindowText(player.label->Handle);
        itemsAfterAdds = readback::ListItems(player.list->Handle);
        player.list->SetCurrentIndex(0);
        SetFocus(player.add->Handle);
        testdriver::PressKey(VK_TAB);
        testdriver::PressKey(VK_TAB);
    });
    testdriver::AddIdleStep([&] {
        focusAfterTabs = GetFocus();
        testdriver::PressKey(VK_DOWN);
    });
    testdriver::AddIdleStep([&] {
        labelAfterDown = readback::WindowText(player.label->Handle);
        testdriver::TypeText("hi");
    });
    testdriver::AddIdleStep([&] {
        labelAfterTyping = readback::WindowText(player.label->Handle);
        testdriver::Click(player.clear->Handle, 5, 5);
    });
    testdriver::AddIdleStep([&] {
        itemsAfterClear = static_cast<int>(readback::ListItems(player.list->Handle).size());
        labelAfterClear = readback::WindowText(player.label->Handle);
        PostMessageA(player.form->Handle, WM_SYSCOMMAND, SC_CLOSE, 0);
    });

    TControl* reference = player.app;
    RunMessageLoop(reference);

    EXPECT_FALSE(testdriver::Stalled()) << "the loop ended by closing, not by stalling";
    EXPECT_EQ(testdriver::PendingIdleSteps(), 0u);
    EXPECT_EQ(focusAtStart, windows[2]) << "the first tab stop has the focus";
    EXPECT_EQ(labelAfterAdds, "3");
    EXPECT_EQ(itemsAfterAdds, (std::vector<std::string>{"item 1", "item 2", "item 3"}));
    EXPECT_EQ(focusAfterTabs, windows[5]) << "Add, Clear, then the list; the label is skipped";
    EXPECT_EQ(labelAfterDown, "item 2");
    EXPECT_EQ(labelAfterTyping, "hi");
    EXPECT_EQ(itemsAfterClear, 0);
    EXPECT_EQ(labelAfterClear, "0");

    int quits = 0;
    for (const testdriver::ApiCall& call : testdriver::RecordedCalls()) {
        quits += call.Function == "PostQuitMessage" ? 1 : 0;
    }
    EXPECT_EQ(quits, 2);
    EXPECT_EQ(reference, nullptr);
    EXPECT_EQ(MainControl, nullptr);
    for (int i = 0; i < 6; ++i) {
        EXPECT_TRUE(gone[i].Destroyed) << "control " << i;
        EXPECT_FALSE(IsWindow(windows[i])) << "window " << i;
    }
}

} // namespace
