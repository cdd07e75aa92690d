#include "elements/TZuWin.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/TData.h"
#include "core/TZu_Event.h"
#include "elements/TZuButton.h"
#include "elements/TZuLabel.h"
#include "elements/TZuListBox.h"
#include "tests/elements/LinkProbe.h"
#include "tests/elements/TZuWinTest.h"
#include "tests/elements/WindowElementTest.h"
#include "tests/support/ReadBack.h"
#include "toolkit/Colors.h"
#include "toolkit/ControlTools.h"
#include "toolkit/TGraphicTool.h"
#include "toolkit/TNyHint.h"
#include "toolkit/TNyToolTip.h"
#include "toolkit/TNyToolTipManager.h"
#include "toolkit/WindowProc.h"

namespace {

constexpr UINT PrivateMessage = WM_USER + 0x77;

RECT BoundsOf(TZuWin& element) {
    return element.Control->GetBoundsRect();
}

// A message event that answers one private message with 42 and counts what it saw.
struct EarlierMessageEvent {
    int Seen = 0;

    static bool Handle(void* context, TObj*, WindowMessage& message, LRESULT& result) {
        auto* self = static_cast<EarlierMessageEvent*>(context);
        ++self->Seen;
        if (message.Msg != PrivateMessage) {
            return false;
        }
        result = 42;
        return true;
    }
    TMessageEvent Event() { return {&EarlierMessageEvent::Handle, this}; }
};

// ---- Init --------------------------------------------------------------------------------

TEST_F(TZuWinTest, InitPlacesTheControlAndZeroSizeKeepsTheSizeOfItsKind) {
    TZuButton& sized = Make<TZuButton>(form);
    sized.Left = 7;
    sized.Top = 42;
    sized.Width = 50;
    sized.Height = 20;
    TZuButton& button = Make<TZuButton>(form);
    button.Left = 10;
    button.Top = 70;
    TZuLabel& label = Make<TZuLabel>(form);
    label.Left = 10;
    label.Top = 100;
    TZuListBox& list = Make<TZuListBox>(form);
    list.Left = 100;
    list.Top = 5;
    for (TZuWin* element : std::vector<TZuWin*>{&sized, &button, &label, &list}) {
        element->Init();
    }
    ShowWindows();

    const struct {
        TZuWin* Element;
        RECT Bounds;
    } cases[] = {
        {&sized, {7, 42, 57, 62}},
        {&button, {10, 70, 74, 92}},
        {&label, {10, 100, 74, 122}},
        {&list, {100, 5, 264, 205}},
    };
    for (const auto& c : cases) {
        const RECT bounds = BoundsOf(*c.Element);
        EXPECT_EQ(bounds.left, c.Bounds.left);
        EXPECT_EQ(bounds.top, c.Bounds.top);
        EXPECT_EQ(bounds.right, c.Bounds.right);
        EXPECT_EQ(bounds.bottom, c.Bounds.bottom);
        const RECT onScreen = readback::WindowRect(c.Element->Control->Handle);
        EXPECT_EQ(onScreen.right - onScreen.left, c.Bounds.right - c.Bounds.left);
        EXPECT_EQ(onScreen.bottom - onScreen.top, c.Bounds.bottom - c.Bounds.top);
    }
}

TEST_F(TZuWinTest, FlatChoosesBetweenTheSunkenEdgeAndThePlainStyle) {
    const struct {
        bool Flat;
        bool ClientEdge;
    } cases[] = {{false, true}, {true, false}};
    for (const auto& c : cases) {
        TZuListBox& list = Make<TZuListBox>(form);
        list.Flat = c.Flat;
        list.Init();
        ShowWindows();
        const DWORD exStyle = readback::ExStyle(list.Control->Handle);
        EXPECT_EQ((exStyle & WS_EX_CLIENTEDGE) != 0, c.ClientEdge) << c.Flat;
        EXPECT_EQ(list.Control->Ctl3D, !c.Flat);
    }
}

TEST_F(TZuWinTest, FontHeightIsTheSizePlusSixAndTheOtherFieldsCarryOver) {
    const struct {
        TFontRec Font;
        LONG Height;
        bool Bold;
    } cases[] = {
        {MakeFontRec("MS Sans Serif", 8, 0, 0, 1), 14, false},
        {MakeFontRec("Courier New", 0, FontStyleBold, 0x0000FF, 204), 6, true},
        {MakeFontRec("Arial", 12, FontStyleItalic | FontStyleUnderline, 0x80000008, 0), 18, false},
    };
    for (const auto& c : cases) {
        TZuButton& button = Make<TZuButton>(form);
        button.Font = c.Font;
        button.Init();
        const LOGFONTA font = FontOf(button.Control);
        EXPECT_EQ(font.lfHeight, c.Height);
        EXPECT_EQ(std::string(font.lfFaceName), c.Font.FontName);
        EXPECT_EQ(font.lfWeight >= FW_BOLD, c.Bold);
        EXPECT_EQ(font.lfItalic != 0, (c.Font.FontStyle & FontStyleItalic) != 0);
        EXPECT_EQ(font.lfUnderline != 0, (c.Font.FontStyle & FontStyleUnderline) != 0);
        EXPECT_EQ(font.lfCharSet, c.Font.FontCharset);
        EXPECT_EQ(ControlFont(button.Control)->Color(), c.Font.FontColor);
        EXPECT_EQ(button.Control->FontColor, c.Font.FontColor);
    }
}

TEST_F(TZuWinTest, ParentFontTakesTheParentsFontInsteadOfItsOwn) {
    TGraphicTool* formFont = ControlFont(form);
    SetFontName(formFont, "Courier New");
    SetToolField(formFont, FontHeightOffset, 20);
    TZuLabel& label = Make<TZuLabel>(form);
    label.Font = MakeFontRec("Arial", 8, 0, 0, 1);
    label.ParentFont = true;
    label.Init();

    const LOGFONTA font = FontOf(label.Control);
    EXPECT_EQ(std::string(font.lfFaceName), "Courier New");
    EXPECT_EQ(font.lfHeight, 20);
}

TEST_F(TZuWinTest, TabOrderAboveZeroMakesATabStopThatOnlyTabLeaves) {
    TZuButton& untouched = MakeButton(0, 0);
    const DWORD madeStyle = untouched.Control->Style;
    const std::int32_t madeOrder = untouched.Control->TabOrder;
    const std::uint32_t madeKeys = untouched.Control->NavigationKeys;
    untouched.Init();
    EXPECT_EQ(untouched.Control->Style & WS_TABSTOP, madeStyle & WS_TABSTOP);
    EXPECT_EQ(untouched.Control->TabOrder, madeOrder);
    EXPECT_EQ(untouched.Control->NavigationKeys, madeKeys);

    TZuLabel& label = Make<TZuLabel>(form);
    label.TabOrder = 5;
    label.Init();
    EXPECT_NE(label.Control->Style & WS_TABSTOP, 0u);
    EXPECT_EQ(label.Control->NavigationKeys, 1u);
    EXPECT_EQ(label.Control->TabOrder, 5);
}

TEST_F(TZuWinTest, VisibleEnabledCursorAndFlatStyleReachTheWindow) {
    TZuButton& button = MakeButton(0, 0);
    button.Visible = false;
    button.Enabled = false;
    button.FlatStyle = true;
    button.Cursor = LoadCursorA(nullptr, IDC_CROSS);
    button.Init();
    ShowWindows();

    const HWND window = button.Control->Handle;
    EXPECT_FALSE(readback::IsVisible(window));
    EXPECT_FALSE(readback::IsEnabled(window));
    EXPECT_NE(readback::Style(window) & 0x8000u, 0u);
    EXPECT_EQ(button.Control->Cursor, LoadCursorA(nullptr, IDC_CROSS));

    TZuButton& plain = MakeButton(0, 30);
    plain.Init();
    ShowWindows();
    EXPECT_TRUE(readback::IsVisible(plain.Control->Handle));
    EXPECT_TRUE(readback::IsEnabled(plain.Control->Handle));
    EXPECT_EQ(readback::Style(plain.Control->Handle) & 0x8000u, 0u);
}

TEST_F(TZuWinTest, HintsShareOneToolTipWindowAndLeaveItWithTheirElement) {
    EXPECT_EQ(ToolTipManager, nullptr);
    TZuButton& none = MakeButton(0, 0);
    none.Init();
    EXPECT_EQ(none.HintObject, nullptr);
    EXPECT_EQ(ToolTipManager, nullptr);

    auto stop = std::make_unique<TZuButton>(form);
    stop->Hint = "Stop";
    stop->Init();
    TZuLabel& label = Make<TZuLabel>(form);
    label.Hint = "Duration";
    label.Init();

    ASSERT_NE(ToolTipManager, nullptr);
    ASSERT_NE(stop->HintObject, nullptr);
    ASSERT_NE(label.HintObject, nullptr);
    TNyToolTip* shared = stop->HintObject->ToolTip;
    EXPECT_EQ(label.HintObject->ToolTip, shared);
    EXPECT_EQ(stop->HintObject->Control, stop->Control);
    EXPECT_TRUE(stop->HintObject->Registered);
    EXPECT_EQ(shared->ToolCount, 2);

    stop.reset();
    EXPECT_EQ(shared->ToolCount, 1);
}

TEST_F(TZuWinTest, TheControlsEarlierMessageEventStillAnswersAfterInit) {
    EarlierMessageEvent earlier;
    TZuButton& button = MakeButton(0, 0);
    button.Control->MessageEvent = earlier.Event();
    button.Init();
    ShowWindows();

    EXPECT_EQ(SendMessageA(button.Control->Handle, PrivateMessage, 0, 0), 42);
    EXPECT_GT(earlier.Seen, 0);
    EXPECT_TRUE(button.PreviousMessageEvent.IsSet());
}

TEST_F(TZuWinTest, AControlDestroyedElsewhereIsForgotten) {
    TZuButton& button = MakeButton(0, 0);
    button.Init();
    ShowWindows();
    TControl* app = MainControl;
    MainControl = nullptr;
    Free(app);
    EXPECT_EQ(button.Control, nullptr);
}

// ---- Event routines ------------------------------------------------------------------------

TEST_F(TZuWinTest, FocusMovesFireEnterAndExitWithoutValues) {
    std::vector<std::string> log;
    struct Named {
        std::vector<std::string>* Log;
        std::string Name;
        void Receive(TData& value, std::uint16_t) {
            EXPECT_EQ(value.Tag, TagNone);
            Log->push_back(Name);
        }
        TZu_Event Point() { return MakeEvent<&Named::Receive>(this, 0); }
    };
    Named firstEnter{&log, "first+"};
    Named firstExit{&log, "first-"};
    Named secondEnter{&log, "second+"};
    TZuButton& first = MakeButton(10, 10);
    TZuButton& second = MakeButton(10, 40);
    first.OnEnter = firstEnter.Point();
    first.OnExit = firstExit.Point();
    second.OnEnter = secondEnter.Point();
    first.Init();
    second.Init();
    ShowWindows();

    SetFocus(first.Control->Handle);
    SetFocus(second.Control->Handle);

    EXPECT_EQ(log, (std::vector<std::string>{"first+", "first-", "second+"}));
}

// ---- OwnerWindow ---------------------------------------------------------------------------

TEST_F(TZuWinTest, OwnerWindowIsTheLastFocusedControlElseTheFirstChild) {
    EXPECT_EQ(OwnerWindow(), form->Handle);
    TControl* other = MakeFormControl(MainControl, "Other");
    other->MakeWindow();
    MainControl->LastFocused = other;
    EXPECT_EQ(OwnerWindow(), other->Handle);

    TControl* app = MainControl;
    MainControl = nullptr;
    EXPECT_EQ(OwnerWindow(), nullptr);
    MainControl = app;
}

} // namespace
