// How the standard controls look, probed pixel by pixel: the classic 3-D edges of buttons and
// their pushed, default, flat, focused and disabled looks, where label text lies for each
// alignment, the list box's sunken edge, scroll bar and highlight band, the edit's caret and
// selection, and drawing into a given context with WM_PRINTCLIENT.

#include "platform/testing.h"
#include "tests/platform/user32/PixelProbe.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using probe::ClientOf;
using probe::CountInRow;
using probe::InkBox;
using probe::Sys;

constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);

// When set, the parent answers WM_CTLCOLORSTATIC and WM_CTLCOLORBTN with this brush and blue
// text.
HBRUSH staticBrush = nullptr;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool asks = message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN;
    if (asks && staticBrush != nullptr) {
        SetTextColor(reinterpret_cast<HDC>(wParam), Blue);
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(staticBrush);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int DefaultLineHeight() {
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

int DefaultTextWidth(const std::string& text) {
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

class ControlDrawingTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        staticBrush = nullptr;
        WNDCLASSA parentClass{};
        parentClass.lpfnWndProc = ParentProc;
        parentClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        parentClass.lpszClassName = "DrawingParent";
        ASSERT_NE(RegisterClassA(&parentClass), 0);
        parent = CreateWindowExA(0, "DrawingParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 320,
                                 240, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
    }
    void TearDown() override {
        testdriver::Reset();
        if (staticBrush != nullptr) {
            DeleteObject(staticBrush);
            staticBrush = nullptr;
        }
    }

    HWND Make(const char* className, const char* text, DWORD style, RECT place, DWORD exStyle = 0) {
        const HWND control = CreateWindowExA(
            exStyle, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
            place.right - place.left, place.bottom - place.top, parent, nullptr, nullptr, nullptr);
        EXPECT_NE(control, nullptr);
        testdriver::PumpUntilIdle();
        return control;
    }

    static void ExpectPixels(HWND window, std::initializer_list<std::pair<POINT, int>> probes,
                             const std::string& context) {
        for (const auto& [point, colour] : probes) {
            EXPECT_EQ(testdriver::ClientPixel(window, point.x, point.y), Sys(colour))
                << context << " at " << point.x << "," << point.y;
        }
    }

    HWND parent = nullptr;
};

// ---- buttons ----

TEST_F(ControlDrawingTest, PushButtonIsRaisedAndSinksWithItsCaptionWhilePushed) {
    const HWND button = Make("BUTTON", "OK", BS_PUSHBUTTON, {10, 10, 90, 34});
    ExpectPixels(button,
                 {{{0, 0}, COLOR_BTNHIGHLIGHT},
                  {{1, 1}, COLOR_3DLIGHT},
                  {{79, 23}, COLOR_3DDKSHADOW},
                  {{78, 22}, COLOR_3DSHADOW},
                  {{79, 0}, COLOR_3DDKSHADOW},
                  {{5, 12}, COLOR_BTNFACE}},
                 "raised");
    const RECT inside{3, 3, 77, 21};
    const auto up = InkBox(button, inside, Sys(COLOR_BTNFACE));
    ASSERT_TRUE(up.has_value()) << "the caption shows";

    SendMessageA(button, BM_SETSTATE, TRUE, 0);
    testdriver::PumpUntilIdle();
    ExpectPixels(button,
                 {{{0, 0}, COLOR_3DSHADOW}, {{79, 23}, COLOR_3DSHADOW}, {{1, 1}, COLOR_BTNFACE}},
                 "pushed");
    const auto down = InkBox(button, inside, Sys(COLOR_BTNFACE));
    ASSERT_TRUE(down.has_value());
    EXPECT_EQ(probe::Text(*down),
              probe::Text({up->left + 1, up->top + 1, up->right + 1, up->bottom + 1}))
        << "the caption moves one pixel down and right";

    SendMessageA(button, BM_SETSTATE, FALSE, 0);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(testdriver::ClientPixel(button, 0, 0), Sys(COLOR_BTNHIGHLIGHT)) << "raised again";
}

TEST_F(ControlDrawingTest, DefaultAndFlatButtonsHaveAFrame) {
    struct Case {
        DWORD Style;
        int Corner; // colour at (0, 0)
        int Inside; // colour at (1, 1)
        int Inner;  // colour at (w - 2, h - 2)
    };
    const Case cases[] = {
        {BS_DEFPUSHBUTTON, COLOR_WINDOWFRAME, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW},
        {BS_PUSHBUTTON | BS_FLAT, COLOR_WINDOWFRAME, COLOR_BTNFACE, COLOR_BTNFACE},
    };
    for (const Case& test : cases) {
        const HWND button = Make("BUTTON", "", test.Style, {10, 10, 70, 30});
        ExpectPixels(button, {{{0, 0}, test.Corner}, {{1, 1}, test.Inside}, {{58, 18}, test.Inner}},
                     "style " + std::to_string(test.Style));
        DestroyWindow(button);
    }
}

TEST_F(ControlDrawingTest, PushButtonsKeepButtonColoursWhileCheckBoxesTakeTheParents) {
    staticBrush = CreateSolidBrush(Red);
    const HWND push = Make("BUTTON", "OK", BS_PUSHBUTTON, {10, 10, 90, 34});
    EXPECT_EQ(testdriver::ClientPixel(push, 5, 12), Sys(COLOR_BTNFACE));
    const auto caption = InkBox(push, {3, 3, 77, 21}, Sys(COLOR_BTNFACE));
    ASSERT_TRUE(caption.has_value());
    EXPECT_EQ(CountInRow(push, (caption->top + caption->bottom) / 2, 3, 77, Blue), 0);
    const HWND check = Make("BUTTON", "Loop", BS_AUTOCHECKBOX, {10, 40, 110, 60});
    EXPECT_EQ(testdriver::ClientPixel(check, 95, 2), Red) << "background";
    // The white inside of the 13-pixel box, centred on the left.
    const RECT box{2, 6, 11, 15};
    EXPECT_EQ(testdriver::ClientPixel(check, 6, 10), Sys(COLOR_WINDOW)) << "the box";
    EXPECT_FALSE(InkBox(check, box, Sys(COLOR_WINDOW)).has_value()) << "empty";
    testdriver::Click(check, 6, 10);
    EXPECT_TRUE(InkBox(check, box, Sys(COLOR_WINDOW)).has_value()) << "a check mark";
}

TEST_F(ControlDrawingTest, FocusedButtonShowsAFocusRectangleInside) {
    const HWND button = Make("BUTTON", "", BS_PUSHBUTTON, {10, 10, 90, 34});
    const auto dotted = [&] { return 74 - CountInRow(button, 3, 3, 77, Sys(COLOR_BTNFACE)); };
    EXPECT_EQ(dotted(), 0) << "no focus, no rectangle";
    SetFocus(button);
    testdriver::PumpUntilIdle();
    EXPECT_GE(dotted(), 30) << "a dotted line along the top of the face";
    int side = 0;
    for (int y = 3; y < 21; ++y) {
        side += testdriver::ClientPixel(button, 3, y) != Sys(COLOR_BTNFACE) ? 1 : 0;
    }
    EXPECT_GE(side, 6) << "and along its side";
    SetFocus(parent);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(dotted(), 0) << "gone with the focus";
}

TEST_F(ControlDrawingTest, DisabledButtonCaptionIsEmbossed) {
    const HWND button = Make("BUTTON", "Wide caption", BS_PUSHBUTTON, {10, 10, 110, 34});
    const RECT inside{3, 3, 97, 21};
    const auto countOf = [&](int colour) {
        int count = 0;
        for (int y = inside.top; y < inside.bottom; ++y) {
            count += CountInRow(button, y, inside.left, inside.right, Sys(colour));
        }
        return count;
    };
    EXPECT_GT(countOf(COLOR_BTNTEXT), 0);
    EnableWindow(button, FALSE);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(countOf(COLOR_BTNTEXT), 0) << "no text colour left";
    EXPECT_GT(countOf(COLOR_BTNHIGHLIGHT), 0) << "a highlight copy";
    EXPECT_GT(countOf(COLOR_3DSHADOW), 0) << "over a shadow copy";
}

// ---- labels ----

TEST_F(ControlDrawingTest, LabelTextLiesWhereItsAlignmentPutsIt) {
    struct Case {
        DWORD Style;
        const char* Name;
    };
    for (const Case test : {Case{SS_LEFT, "left"}, Case{SS_CENTER, "centre"},
                            Case{SS_RIGHT, "right"}, Case{SS_LEFTNOWORDWRAP, "no wrap"}}) {
        const HWND label = Make("STATIC", "Kestrin", test.Style, {10, 10, 160, 30});
        const auto ink = InkBox(label, ClientOf(label), Sys(COLOR_BTNFACE));
        ASSERT_TRUE(ink.has_value()) << test.Name;
        const int width = DefaultTextWidth("Kestrin");
        EXPECT_LE(ink->right - ink->left, width) << test.Name;
        if (test.Style == SS_CENTER) {
            EXPECT_NEAR((ink->left + ink->right) / 2.0, 75.0, 2.0) << test.Name;
        } else if (test.Style == SS_RIGHT) {
            EXPECT_GE(ink->right, 150 - 2) << test.Name;
        } else {
            EXPECT_LE(ink->left, 2) << test.Name;
        }
        DestroyWindow(label);
    }
}

TEST_F(ControlDrawingTest, LabelWrapsWordsUnlessToldNotTo) {
    const char* text = "one two three four five six";
    const int line = DefaultLineHeight();
    // A third of the text's width, which still holds its longest word.
    const int width = DefaultTextWidth(text) / 3;
    ASSERT_GT(width, DefaultTextWidth("three"));
    const HWND wrapped = Make("STATIC", text, SS_LEFT, {10, 10, 10 + width, 100});
    const auto many = InkBox(wrapped, ClientOf(wrapped), Sys(COLOR_BTNFACE));
    ASSERT_TRUE(many.has_value());
    EXPECT_GT(many->bottom - many->top, 2 * line) << "three lines at least";
    const HWND single = Make("STATIC", text, SS_LEFTNOWORDWRAP, {100, 10, 160, 100});
    const auto one = InkBox(single, ClientOf(single), Sys(COLOR_BTNFACE));
    ASSERT_TRUE(one.has_value());
    EXPECT_LE(one->bottom - one->top, line) << "one line, cut at the right";
}

TEST_F(ControlDrawingTest, LabelPrefixUnderlinesUnlessNoPrefix) {
    const auto inkOf = [&](const char* text, DWORD style) {
        const HWND label = Make("STATIC", text, style, {10, 10, 110, 40});
        const auto ink = InkBox(label, ClientOf(label), Sys(COLOR_BTNFACE));
        DestroyWindow(label);
        return ink.value_or(RECT{});
    };
    const RECT plain = inkOf("OKI", SS_LEFT);
    const RECT prefixed = inkOf("&OKI", SS_LEFT);
    const RECT literal = inkOf("&OKI", SS_LEFT | SS_NOPREFIX);
    // The underline spans the O's whole cell, so it may start left of the O's ink.
    EXPECT_LE(prefixed.left, plain.left);
    EXPECT_EQ(prefixed.right, plain.right) << "the & itself is not drawn";
    EXPECT_GT(prefixed.bottom, plain.bottom) << "an underline below the O";
    EXPECT_GT(literal.right - literal.left, plain.right - plain.left) << "the & is drawn";
}

TEST_F(ControlDrawingTest, LabelUsesTheParentsBrushAndTextColour) {
    staticBrush = CreateSolidBrush(Red);
    const HWND label = Make("STATIC", "Kestrin", SS_LEFT, {10, 10, 110, 30});
    EXPECT_EQ(testdriver::ClientPixel(label, 95, 15), Red) << "background";
    const auto ink = InkBox(label, ClientOf(label), Red);
    ASSERT_TRUE(ink.has_value());
    int blue = 0;
    for (int y = ink->top; y < ink->bottom; ++y) {
        blue += CountInRow(label, y, ink->left, ink->right, Blue);
    }
    EXPECT_GT(blue, 0) << "text in the parent's colour";
    EnableWindow(label, FALSE);
    testdriver::PumpUntilIdle();
    int grey = 0;
    for (int y = ink->top; y < ink->bottom; ++y) {
        grey += CountInRow(label, y, ink->left, ink->right, Sys(COLOR_GRAYTEXT));
    }
    EXPECT_GT(grey, 0) << "disabled text is grey";
}

TEST_F(ControlDrawingTest, PrintClientDrawsIntoTheGivenContext) {
    staticBrush = CreateSolidBrush(Red);
    const HWND label = Make("STATIC", "", SS_LEFT, {10, 10, 50, 30});
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 20);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    EXPECT_NE(GetPixel(memory, 5, 5), Red);
    constexpr LPARAM clientOnly = 0x4; // PRF_CLIENT
    SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), clientOnly);
    EXPECT_EQ(GetPixel(memory, 5, 5), Red);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// ---- list boxes ----

class ListBoxDrawingTest : public ControlDrawingTest {
protected:
    static constexpr int Width = 120;
    static constexpr int PageItems = 5;

    HWND MakeList(int items, DWORD style = WS_VSCROLL) {
        const int height = PageItems * DefaultLineHeight() + 4;
        const HWND list = Make("LISTBOX", "", style | LBS_NOTIFY, {10, 10, 10 + Width, 10 + height},
                               WS_EX_CLIENTEDGE);
        for (int i = 0; i < items; ++i) {
            const std::string text = "item " + std::to_string(i);
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        testdriver::PumpUntilIdle();
        return list;
    }
    static int Top(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); }
};

TEST_F(ListBoxDrawingTest, SunkenEdgeSurroundsTheClientArea) {
    const HWND list = MakeList(2);
    const int height = PageItems * DefaultLineHeight() + 4;
    EXPECT_EQ(probe::Text(ClientOf(list)), probe::Text({0, 0, Width - 4, height - 4}));
    ExpectPixels(parent,
                 {{{10, 10}, COLOR_3DSHADOW},
                  {{11, 11}, COLOR_3DDKSHADOW},
                  {{10 + Width - 1, 10 + height - 1}, COLOR_BTNHIGHLIGHT},
                  {{10 + Width - 2, 10 + height - 2}, COLOR_3DLIGHT},
                  {{12, 12}, COLOR_WINDOW}},
                 "edge");
}

TEST_F(ListBoxDrawingTest, ScrollBarShowsAtTheRightOnlyWhenItemsOverflow) {
    const HWND few = MakeList(3);
    EXPECT_EQ(ClientOf(few).right, Width - 4) << "no bar";
    DestroyWindow(few);

    const HWND list = MakeList(20);
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    const RECT client = ClientOf(list);
    EXPECT_EQ(client.right, Width - 4 - bar);
    // The bar lies in the frame, right of the client area: in the parent's coordinates.
    const int barLeft = 10 + 2 + client.right;
    const RECT upArrow{barLeft, 12, barLeft + bar, 12 + bar};
    EXPECT_EQ(testdriver::ClientPixel(parent, upArrow.left, upArrow.top), Sys(COLOR_BTNHIGHLIGHT));
    const auto glyph =
        InkBox(parent, {upArrow.left + 2, upArrow.top + 2, upArrow.right - 2, upArrow.bottom - 2},
               Sys(COLOR_BTNFACE));
    ASSERT_TRUE(glyph.has_value()) << "an arrow on the button";
    EXPECT_EQ(testdriver::ClientPixel(parent, glyph->left + (glyph->right - glyph->left) / 2,
                                      glyph->bottom - 1),
              Sys(COLOR_BTNTEXT));
    // The thumb, a raised face, starts right below the arrow while the list is at its top.
    EXPECT_EQ(testdriver::ClientPixel(parent, barLeft + 4, upArrow.bottom),
              Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(testdriver::ClientPixel(parent, barLeft + 4, upArrow.bottom + 4), Sys(COLOR_BTNFACE));
}

TEST_F(ListBoxDrawingTest, CurrentItemIsAHighlightBand) {
    const HWND list = MakeList(4);
    const int line = DefaultLineHeight();
    const int right = ClientOf(list).right - 3;
    EXPECT_EQ(testdriver::ClientPixel(list, right, line + line / 2), Sys(COLOR_WINDOW));
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(testdriver::ClientPixel(list, right, line + line / 2), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(testdriver::ClientPixel(list, right, line / 2), Sys(COLOR_WINDOW));
    const auto text = InkBox(list, {0, line, right, 2 * line}, Sys(COLOR_HIGHLIGHT));
    ASSERT_TRUE(text.has_value());
    int light = 0;
    for (int y = text->top; y < text->bottom; ++y) {
        light += CountInRow(list, y, text->left, text->right, Sys(COLOR_HIGHLIGHTTEXT));
    }
    EXPECT_GT(light, 0) << "the item's text in the highlight text colour";
}

TEST_F(ListBoxDrawingTest, FocusRectangleFramesTheCaretItemOnlyWithTheFocus) {
    // Without selection, no highlight band hides the rectangle.
    const HWND list = MakeList(4, LBS_NOSEL);
    const int line = DefaultLineHeight();
    const int right = ClientOf(list).right;
    // Right of the short item texts, only the focus rectangle can differ from the background.
    const auto marked = [&](int row) {
        return right - 60 - CountInRow(list, row * line, 60, right, Sys(COLOR_WINDOW));
    };
    EXPECT_EQ(marked(0), 0);
    SetFocus(list);
    testdriver::PumpUntilIdle();
    EXPECT_GT(marked(0), 10) << "dotted top line of the caret item";
    EXPECT_EQ(marked(1), 0);
    testdriver::PressKey(VK_DOWN);
    testdriver::PumpUntilIdle();
    EXPECT_GT(marked(1), 0) << "the rectangle follows the caret";
    SetFocus(parent);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(marked(1), 0);
}

TEST_F(ListBoxDrawingTest, ClicksOnTheScrollBarScrollByLinesAndPages) {
    const HWND list = MakeList(20);
    const RECT client = ClientOf(list);
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    const int x = client.right + bar / 2;
    testdriver::Click(list, x, client.bottom - bar / 2);
    EXPECT_EQ(Top(list), 1) << "down arrow";
    testdriver::Click(list, x, bar / 2);
    EXPECT_EQ(Top(list), 0) << "up arrow";
    testdriver::Click(list, x, client.bottom - bar - 2);
    EXPECT_EQ(Top(list), PageItems - 1) << "track below the thumb: a page less one item";
    testdriver::Click(list, x, bar + 1);
    EXPECT_EQ(Top(list), 0) << "track above the thumb";
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR) << "scrolling selects nothing";
}

TEST_F(ListBoxDrawingTest, DraggingTheThumbScrollsTheList) {
    // The long list reaches beyond the 16 bits a scroll message carries.
    for (const int count : {20, 100000}) {
        const HWND list = MakeList(count);
        const RECT client = ClientOf(list);
        const int bar = GetSystemMetrics(SM_CXVSCROLL);
        const int x = client.right + bar / 2;
        testdriver::Drag(list, x, bar + 2, x, client.bottom + 40);
        EXPECT_EQ(Top(list), count - PageItems) << count << " items: dragged to the end";
        testdriver::Drag(list, x, client.bottom - bar - 2, x, -40);
        EXPECT_EQ(Top(list), 0) << count << " items: and back";
        EXPECT_EQ(GetCapture(), nullptr);
        DestroyWindow(list);
    }
}

TEST_F(ListBoxDrawingTest, HorizontalExtentScrollsTheText) {
    const HWND list = MakeList(3, WS_HSCROLL);
    const int line = DefaultLineHeight();
    const auto textLeft = [&] {
        return InkBox(list, {0, 0, ClientOf(list).right, line}, Sys(COLOR_WINDOW))
            .value_or(RECT{})
            .left;
    };
    const int before = textLeft();
    EXPECT_EQ(probe::Text(ClientOf(list)), probe::Text({0, 0, Width - 4, PageItems * line}))
        << "no horizontal bar without an extent";
    SendMessageA(list, LB_SETHORIZONTALEXTENT, 400, 0);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(ClientOf(list).bottom, PageItems * line - GetSystemMetrics(SM_CYHSCROLL));
    ASSERT_GE(before, 1);
    SendMessageA(list, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), 0);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(textLeft(), before - 1);
    SendMessageA(list, WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), 0);
    testdriver::PumpUntilIdle();
    EXPECT_FALSE(InkBox(list, ClientOf(list), Sys(COLOR_WINDOW)).has_value())
        << "at the far right the short texts are out of sight";
}

// ---- the edit ----

TEST_F(ControlDrawingTest, EditShowsACaretAndTheSelectionOnlyWithTheFocus) {
    const HWND edit = Make("EDIT", "abc", ES_LEFT, {10, 10, 110, 32}, WS_EX_CLIENTEDGE);
    const RECT client = ClientOf(edit);
    const int middle = client.bottom / 2;
    const int caretX = 1 + DefaultTextWidth("abc");
    SendMessageA(edit, EM_SETSEL, 3, 3);
    testdriver::PumpUntilIdle();
    EXPECT_NE(testdriver::ClientPixel(edit, caretX, middle), Sys(COLOR_WINDOWTEXT));
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 3, 3);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(testdriver::ClientPixel(edit, caretX, middle), Sys(COLOR_WINDOWTEXT))
        << "a caret after the text";
    SendMessageA(edit, EM_SETSEL, 0, 3);
    testdriver::PumpUntilIdle();
    EXPECT_GT(CountInRow(edit, middle, 1, caretX, Sys(COLOR_HIGHLIGHT)), 0) << "selection band";
    SetFocus(parent);
    testdriver::PumpUntilIdle();
    EXPECT_EQ(CountInRow(edit, middle, 0, client.right, Sys(COLOR_HIGHLIGHT)), 0)
        << "hidden without the focus";
    EXPECT_NE(testdriver::ClientPixel(edit, caretX, middle), Sys(COLOR_WINDOWTEXT));
}

TEST_F(ControlDrawingTest, EditClickPutsTheCaretAtTheNearestCharacter) {
    const HWND edit = Make("EDIT", "abcdef", ES_LEFT, {10, 10, 110, 32}, WS_EX_CLIENTEDGE);
    const auto caretAfterClickAt = [&](int x) {
        testdriver::Click(edit, x, 5);
        DWORD start = 0;
        DWORD end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, end);
        return end;
    };
    EXPECT_EQ(caretAfterClickAt(1 + DefaultTextWidth("ab")), 2u);
    EXPECT_EQ(caretAfterClickAt(1 + DefaultTextWidth("abcd") + 1), 4u);
    EXPECT_EQ(caretAfterClickAt(0), 0u);
    EXPECT_EQ(caretAfterClickAt(95), 6u) << "past the end";
}

} // namespace
