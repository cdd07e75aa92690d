// Text in the controls: sizes come from the control's font, and the text rule (valid UTF-8 is
// UTF-8, anything else Windows-1251) holds for measuring and drawing, checked by drawing the
// same characters from both encodings and by adding up glyph widths.

#include "platform/testing.h"
#include "tests/platform/user32/PixelProbe.h"
#include "tests/support/ReadBack.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using probe::ClientOf;

// "траене:" in Windows-1251 and in UTF-8.
const std::string DurationCp1251 = "\xF2\xF0\xE0\xE5\xED\xE5\x3A";
const std::string DurationUtf8 = "\xD1\x82\xD1\x80\xD0\xB0\xD0\xB5\xD0\xBD\xD0\xB5:";
// "Песен" in both encodings.
const std::string SongCp1251 = "\xCF\xE5\xF1\xE5\xED";
const std::string SongUtf8 = "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xB5\xD0\xBD";

SIZE Extent(HFONT font, const std::string& text) {
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return size;
}

HFONT GuiFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The UTF-8 sequences of a UTF-8 text, one per character.
std::vector<std::string> Utf8Characters(const std::string& text) {
    std::vector<std::string> characters;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) {
            characters.back() += c;
        } else {
            characters.emplace_back(1, c);
        }
    }
    return characters;
}

class ControlTextTest : public testing::Test {
protected:
    void SetUp() override {
        testdriver::Reset();
        WNDCLASSA parentClass{};
        parentClass.lpfnWndProc = DefWindowProcA;
        parentClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        parentClass.lpszClassName = "TextParent";
        ASSERT_NE(RegisterClassA(&parentClass), 0);
        parent = CreateWindowExA(0, "TextParent", "parent", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override { testdriver::Reset(); }

    HWND Label(const std::string& text, int top) {
        const HWND label =
            CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 10, top,
                            200, 24, parent, nullptr, nullptr, nullptr);
        testdriver::PumpUntilIdle();
        return label;
    }

    // Whether two labels of the same size show the same pixels.
    static bool SamePixels(HWND a, HWND b) {
        const RECT client = ClientOf(a);
        for (int y = 0; y < client.bottom; ++y) {
            for (int x = 0; x < client.right; ++x) {
                if (testdriver::ClientPixel(a, x, y) != testdriver::ClientPixel(b, x, y)) {
                    return false;
                }
            }
        }
        return true;
    }

    HWND parent = nullptr;
};

TEST_F(ControlTextTest, CyrillicFromEitherEncodingMeasuresAndDrawsTheSame) {
    struct Case {
        const std::string* Cp1251;
        const std::string* Utf8;
        const char* Name;
    };
    for (const Case test : {Case{&DurationCp1251, &DurationUtf8, "duration caption"},
                            Case{&SongCp1251, &SongUtf8, "song name"}}) {
        const SIZE narrow = Extent(GuiFont(), *test.Cp1251);
        const SIZE wide = Extent(GuiFont(), *test.Utf8);
        EXPECT_GT(narrow.cx, 0) << test.Name;
        EXPECT_EQ(narrow.cx, wide.cx) << test.Name;
        const HWND a = Label(*test.Cp1251, 10);
        const HWND b = Label(*test.Utf8, 40);
        EXPECT_TRUE(probe::InkBox(a, ClientOf(a), GetSysColor(COLOR_BTNFACE)).has_value())
            << test.Name;
        EXPECT_TRUE(SamePixels(a, b)) << test.Name;
        DestroyWindow(a);
        DestroyWindow(b);
    }
}

TEST_F(ControlTextTest, Utf8FileNameMeasuresAsItsCharactersNotItsBytes) {
    // "Песен é.mp3": Cyrillic, a Latin letter with an accent that Windows-1251 lacks, ASCII.
    const std::string name = SongUtf8 + " \xC3\xA9.mp3";
    int characters = 0;
    for (const std::string& character : Utf8Characters(name)) {
        characters += Extent(GuiFont(), character).cx;
    }
    // Read byte by byte, each byte alone is no UTF-8 and would show as a Windows-1251 letter.
    int bytes = 0;
    for (const char byte : name) {
        bytes += Extent(GuiFont(), std::string(1, byte)).cx;
    }
    const int measured = Extent(GuiFont(), name).cx;
    EXPECT_NEAR(measured, characters, static_cast<int>(Utf8Characters(name).size()))
        << "the sum of its glyphs, up to kerning";
    EXPECT_LT(measured, bytes - 20) << "not one glyph per byte";
}

TEST_F(ControlTextTest, ListItemsDrawUtf8AndCp1251NamesAlike) {
    const auto makeList = [&](const std::string& item, int top) {
        const HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 10, top, 200, 40,
                                          parent, nullptr, nullptr, nullptr);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        testdriver::PumpUntilIdle();
        return list;
    };
    const HWND a = makeList(SongCp1251, 10);
    const HWND b = makeList(SongUtf8, 60);
    EXPECT_TRUE(probe::InkBox(a, ClientOf(a), GetSysColor(COLOR_WINDOW)).has_value());
    EXPECT_TRUE(SamePixels(a, b));
}

TEST_F(ControlTextTest, ListItemHeightFollowsTheFont) {
    LOGFONTA description{};
    description.lfHeight = -24;
    std::snprintf(description.lfFaceName, sizeof description.lfFaceName, "%s", "DejaVu Sans");
    const HFONT big = CreateFontIndirectA(&description);
    const HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 100,
                                      parent, nullptr, nullptr, nullptr);
    const auto lineOf = [](HFONT font) {
        const HDC dc = GetDC(nullptr);
        const HGDIOBJ previous = SelectObject(dc, font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, previous);
        ReleaseDC(nullptr, dc);
        return static_cast<LRESULT>(metrics.tmHeight);
    };
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), lineOf(GuiFont()));
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), lineOf(big));
    EXPECT_GT(lineOf(big), lineOf(GuiFont()));
    SendMessageA(list, LB_SETITEMHEIGHT, 0, 40);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0), 40) << "until set explicitly";
    DestroyWindow(list);
    DeleteObject(big);
}

TEST_F(ControlTextTest, ToolTipIsSizedByItsTextAndDrawnInInfoColours) {
    const HWND tip = CreateWindowExA(WS_EX_TOPMOST, "tooltips_class32", nullptr, WS_POPUP, 0, 0, 0,
                                     0, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(tip, nullptr);
    const HWND tool = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 10,
                                      100, 30, parent, nullptr, nullptr, nullptr);
    char text[] = "Open a play list";
    TOOLINFOA info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = parent;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = text;
    ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
    testdriver::MouseMove(tool, 20, 10);
    testdriver::AdvanceClock(GetDoubleClickTime() + 10);
    testdriver::PumpUntilIdle();
    ASSERT_TRUE(readback::IsVisible(tip));
    const SIZE size = Extent(GuiFont(), text);
    const RECT client = ClientOf(tip);
    EXPECT_EQ(client.right, size.cx + 6) << "the text and a margin of 3 on each side";
    EXPECT_EQ(client.bottom, size.cy + 6);
    EXPECT_EQ(testdriver::ClientPixel(tip, 0, 0), GetSysColor(COLOR_INFOTEXT)) << "frame";
    EXPECT_EQ(testdriver::ClientPixel(tip, 1, 1), GetSysColor(COLOR_INFOBK)) << "background";
    EXPECT_TRUE(probe::InkBox(tip, probe::ClientOf(tip), GetSysColor(COLOR_INFOBK)).has_value());
}

} // namespace
