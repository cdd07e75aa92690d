#include "toolkit/TNyHint.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "tests/toolkit/ControlTestSupport.h"
#include "toolkit/TList.h"
#include "toolkit/TNyToolTip.h"
#include "toolkit/TNyToolTipManager.h"

namespace {

class TNyHintTest : public ControlTest {
protected:
    void TearDown() override {
        for (TNyHint* hint : hints) {
            Free(hint);
        }
        FreeToolTipManager();
        ControlTest::TearDown();
    }

    TNyHint* HintFor(TControl* control) {
        hints.push_back(NewHint(control));
        return hints.back();
    }

    static HWND ToolTipWindow() { return ToolTipManager->FirstToolTip()->Handle; }

    static LRESULT ToolCountOfWindow() {
        return SendMessageA(ToolTipWindow(), TTM_GETTOOLCOUNT, 0, 0);
    }

    // What the tooltip window stored for the control's tool; empty text when it has none.
    static std::string StoredText(TControl* control, TOOLINFOA* readBack = nullptr) {
        std::array<char, 256> text = {};
        TOOLINFOA tool = {};
        tool.cbSize = sizeof tool;
        tool.hwnd = control->Handle;
        tool.uId = reinterpret_cast<UINT_PTR>(control->Handle);
        tool.lpszText = text.data();
        if (SendMessageA(ToolTipWindow(), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)) ==
            0) {
            return "<no tool>";
        }
        if (readBack != nullptr) {
            *readBack = tool;
        }
        return text.data();
    }

    std::vector<TNyHint*> hints;
};

TEST_F(TNyHintTest, NewHintIsNotYetRegistered) {
    MakeAppAndForm();
    TNyHint* hint = HintFor(form);
    EXPECT_EQ(hint->Control, form);
    EXPECT_EQ(hint->ToolTip, nullptr);
    EXPECT_FALSE(hint->Registered);
    EXPECT_EQ(ToolTipManager, nullptr);
}

TEST_F(TNyHintTest, TwoControlsShareOneTooltipWindow) {
    MakeAppAndForm();
    TControl* first = MakeButtonControl(form, "One");
    TControl* second = MakeLabelControl(form, "Two");
    TNyHint* a = HintFor(first);
    TNyHint* b = HintFor(second);
    SetHintText(a, "first hint");
    SetHintText(b, "second hint");

    ASSERT_NE(ToolTipManager, nullptr);
    EXPECT_EQ(ToolTipManager->ToolTips()->Count(), 1);
    EXPECT_EQ(a->ToolTip, b->ToolTip);
    EXPECT_EQ(a->ToolTip->ToolCount, 2);
    EXPECT_EQ(ToolCountOfWindow(), 2);
    EXPECT_EQ(StoredText(first), "first hint");
    EXPECT_EQ(StoredText(second), "second hint");
}

TEST_F(TNyHintTest, ToolIsTheControlsWindowSubclassedOverItsClientArea) {
    MakeAppAndForm();
    TControl* button = MakeButtonControl(form, "One");
    SetHintText(HintFor(button), "tip");
    TOOLINFOA tool = {};
    ASSERT_EQ(StoredText(button, &tool), "tip");
    EXPECT_EQ(tool.uFlags & TTF_SUBCLASS, TTF_SUBCLASS);
    EXPECT_EQ(tool.hwnd, button->Handle);
    RECT client;
    GetClientRect(button->Handle, &client);
    EXPECT_EQ(tool.rect.left, client.left);
    EXPECT_EQ(tool.rect.top, client.top);
    EXPECT_EQ(tool.rect.right, client.right);
    EXPECT_EQ(tool.rect.bottom, client.bottom);
}

// Counts the tools added to a tooltip window, by standing in front of its procedure.
class AddedTools {
public:
    explicit AddedTools(HWND toolTip) : window(toolTip) {
        previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AddedTools::Procedure)));
        count = 0;
    }
    ~AddedTools() { SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous)); }
    AddedTools(const AddedTools&) = delete;
    AddedTools& operator=(const AddedTools&) = delete;

    int Count() const { return count; }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == TTM_ADDTOOLA) {
            ++count;
        }
        return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
    }

    HWND window;
    static inline WNDPROC previous = nullptr;
    static inline int count = 0;
};

TEST_F(TNyHintTest, SettingAgainChangesTheTextWithoutAddingATool) {
    MakeAppAndForm();
    TNyHint* hint = HintFor(form);
    SetHintText(hint, "old");
    const AddedTools added(ToolTipWindow());
    SetHintText(hint, "new");
    SetHintText(hint, "");

    EXPECT_EQ(added.Count(), 0);
    EXPECT_EQ(hint->ToolTip->ToolCount, 1);
    EXPECT_EQ(ToolCountOfWindow(), 1);
    EXPECT_EQ(StoredText(form), "");
    SetHintText(hint, "newer");
    EXPECT_EQ(StoredText(form), "newer");
}

TEST_F(TNyHintTest, TooltipWindowIsATopmostPopupOwnedByTheApplicationWindow) {
    MakeAppAndForm();
    SetHintText(HintFor(form), "tip");
    HWND window = ToolTipWindow();
    EXPECT_EQ(readback::ClassName(window), "tooltips_class32");
    EXPECT_EQ(readback::Style(window) & WS_POPUP, WS_POPUP);
    EXPECT_EQ(readback::ExStyle(window) & WS_EX_TOPMOST, WS_EX_TOPMOST);
    EXPECT_EQ(GetWindow(window, GW_OWNER), app->Handle);
}

TEST_F(TNyHintTest, HintBeforeTheApplicationWindowMakesAnUnownedTooltip) {
    TControl* lone = MakeFormControl(nullptr, "Lone");
    roots.push_back(lone);
    SetHintText(HintFor(lone), "tip");
    ASSERT_NE(ToolTipWindow(), nullptr);
    EXPECT_EQ(GetWindow(ToolTipWindow(), GW_OWNER), nullptr);
    EXPECT_EQ(StoredText(lone), "tip");
}

TEST_F(TNyHintTest, RemovedHintLeavesTheTooltipWindow) {
    MakeAppAndForm();
    TControl* button = MakeButtonControl(form, "One");
    TNyHint* formHint = HintFor(form);
    TNyHint* buttonHint = HintFor(button);
    SetHintText(formHint, "a");
    SetHintText(buttonHint, "b");
    RemoveHint(buttonHint);
    RemoveHint(buttonHint);
    EXPECT_EQ(formHint->ToolTip->ToolCount, 1);
    EXPECT_EQ(ToolCountOfWindow(), 1);
    EXPECT_EQ(StoredText(button), "<no tool>");
    EXPECT_EQ(StoredText(form), "a");

    SetHintText(buttonHint, "back");
    EXPECT_EQ(ToolCountOfWindow(), 2);
    EXPECT_EQ(StoredText(button), "back");
}

TEST_F(TNyHintTest, RemovingANeverSetHintSendsNothing) {
    MakeAppAndForm();
    TNyHint* hint = HintFor(form);
    RemoveHint(hint);
    EXPECT_EQ(hint->ToolTip, nullptr);
    EXPECT_EQ(ToolTipManager, nullptr);
}

} // namespace
