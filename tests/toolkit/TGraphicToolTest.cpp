#include "toolkit/TGraphicTool.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Frees a tool at the end of a test.
struct ToolPtr {
    TGraphicTool* Tool;
    explicit ToolPtr(TGraphicTool* tool) : Tool(tool) {}
    ~ToolPtr() { Free(Tool); }
    TGraphicTool* operator->() const { return Tool; }
    operator TGraphicTool*() const { return Tool; }
};

// Counts change notices and whether the old object still existed at each.
struct ChangeLog {
    HGDIOBJ Watched = nullptr;
    std::vector<bool> OldObjectAlive;
    static void Notice(void* context, TObj* sender) {
        auto* log = static_cast<ChangeLog*>(context);
        EXPECT_EQ(static_cast<TGraphicTool*>(sender)->Handle, nullptr);
        LOGFONTA font;
        log->OldObjectAlive.push_back(log->Watched != nullptr &&
                                      GetObjectA(log->Watched, sizeof font, &font) != 0);
    }
    void Listen(TGraphicTool* tool) {
        tool->ChangeNotify = {&Notice, this};
        Watched = tool->Handle;
    }
};

LOGFONTA FontOf(HGDIOBJ handle) {
    LOGFONTA font{};
    EXPECT_NE(GetObjectA(handle, sizeof font, &font), 0);
    return font;
}

LOGBRUSH BrushOf(HGDIOBJ handle) {
    LOGBRUSH brush{};
    EXPECT_NE(GetObjectA(handle, sizeof brush, &brush), 0);
    return brush;
}

// Asked for the size of its description only, any live object answers a size.
bool Exists(HGDIOBJ handle) {
    return GetObjectA(handle, 0, nullptr) != 0;
}

std::string FaceName(const TGraphicTool* tool) {
    return tool->FontSettings().lfFaceName;
}

TEST(TGraphicTool, NewToolsCarryTheDefaultSettingsAndNothingElse) {
    ToolPtr font(MakeFontTool());
    TToolData expectedFont;
    const std::uint32_t windowText = 0x80000008;
    std::memcpy(expectedFont.Bytes.data(), &windowText, 4);
    expectedFont.Bytes[4 + offsetof(LOGFONTA, lfCharSet)] = 1;
    std::memcpy(expectedFont.Bytes.data() + 4 + offsetof(LOGFONTA, lfFaceName), "MS Sans Serif",
                13);
    EXPECT_EQ(font->Kind, TGraphicTool::KindFont);
    EXPECT_EQ(font->ToolData, expectedFont);
    EXPECT_EQ(font->Handle, nullptr);

    ToolPtr brush(MakeBrushTool());
    TToolData expectedBrush;
    const std::uint32_t buttonFace = 0x8000000F;
    std::memcpy(expectedBrush.Bytes.data(), &buttonFace, 4);
    EXPECT_EQ(brush->Kind, TGraphicTool::KindBrush);
    EXPECT_EQ(brush->ToolData, expectedBrush);
    EXPECT_TRUE(BrushToolsInUse());
}

TEST(TGraphicTool, BrushToolsAreInUseWhileOneExists) {
    EXPECT_FALSE(BrushToolsInUse());
    TGraphicTool* first = MakeBrushTool();
    TGraphicTool* second = MakeBrushTool();
    ToolPtr font(MakeFontTool());
    Free(first);
    EXPECT_TRUE(BrushToolsInUse());
    Free(second);
    EXPECT_FALSE(BrushToolsInUse());
}

TEST(ResolveColor, TopBitNamesASystemColourByTheLowByte) {
    struct Case {
        TColor Color;
        COLORREF Expected;
    };
    const Case cases[] = {
        {0x00123456, 0x00123456},
        {0x00000000, 0x00000000},
        {0x8000000F, GetSysColor(COLOR_BTNFACE)},
        {0xFF00000F, GetSysColor(COLOR_BTNFACE)},
        {0x80000105, GetSysColor(COLOR_WINDOW)},
        {0x80000008, GetSysColor(COLOR_WINDOWTEXT)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ResolveColor(c.Color), c.Expected) << std::hex << c.Color;
    }
}

TEST(TGraphicTool, FaceNamesAreCutTo31Characters) {
    struct Case {
        std::string Name;
        std::string Stored;
    };
    const std::string name31(31, 'a');
    const Case cases[] = {
        {name31, name31},   {name31 + "bcd", name31},
        {"Arial", "Arial"}, {std::string("Ar\0ial", 6), "Ar"},
        {"", ""},
    };
    for (const Case& c : cases) {
        ToolPtr font(MakeFontTool());
        SetFontName(font, c.Name);
        EXPECT_EQ(FaceName(font), c.Stored);
        EXPECT_EQ(font->ToolData.Bytes[4 + offsetof(LOGFONTA, lfFaceName) + 31], 0);
    }
}

TEST(TGraphicTool, ShorterNameClearsTheRestOfTheFaceField) {
    ToolPtr a(MakeFontTool());
    ToolPtr b(MakeFontTool());
    SetFontName(a, "Longer Face Name");
    SetFontName(a, "Ab");
    SetFontName(b, "Ab");
    EXPECT_EQ(a->ToolData, b->ToolData);
}

TEST(TGraphicTool, FontStyleBitsMapOntoWeightAndFlags) {
    struct Case {
        std::int32_t WeightBefore;
        std::uint8_t Bits;
        std::int32_t Weight;
        BYTE Italic, Underline, StrikeOut;
        std::uint8_t ReadBack;
    };
    const Case cases[] = {
        {0, FontStyleBold, 700, 0, 0, 0, FontStyleBold},
        {400, FontStyleBold, 700, 0, 0, 0, FontStyleBold},
        {900, FontStyleBold, 900, 0, 0, 0, FontStyleBold},
        {700, 0, 0, 0, 0, 0, 0},
        {900, 0, 0, 0, 0, 0, 0},
        {400, 0, 400, 0, 0, 0, 0},
        {0, FontStyleItalic | FontStyleStrikeOut, 0, 1, 0, 1, FontStyleItalic | FontStyleStrikeOut},
        {0, 0x0F, 700, 1, 1, 1, 0x0F},
        {0, 0xF0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        ToolPtr font(MakeFontTool());
        SetToolField(font, FontSettingsOffset + offsetof(LOGFONTA, lfWeight),
                     static_cast<std::uint32_t>(c.WeightBefore));
        SetFontStyle(font, c.Bits);
        const LOGFONTA settings = font->FontSettings();
        EXPECT_EQ(settings.lfWeight, c.Weight) << int(c.Bits) << " from " << c.WeightBefore;
        EXPECT_EQ(settings.lfItalic, c.Italic);
        EXPECT_EQ(settings.lfUnderline, c.Underline);
        EXPECT_EQ(settings.lfStrikeOut, c.StrikeOut);
        EXPECT_EQ(GetFontStyle(font), c.ReadBack);
    }
}

TEST(TGraphicTool, BoldThenNotBoldRestoresWeightZero) {
    ToolPtr font(MakeFontTool());
    SetToolField(font, FontSettingsOffset + offsetof(LOGFONTA, lfWeight), 400);
    SetFontStyle(font, FontStyleBold);
    SetFontStyle(font, 0);
    EXPECT_EQ(font->FontSettings().lfWeight, 0);
}

TEST(TGraphicTool, UnchangedValuesKeepThePlatformObject) {
    ToolPtr font(MakeFontTool());
    SetFontName(font, "Arial");
    SetFontStyle(font, FontStyleItalic);
    SetToolField(font, FontHeightOffset, 14);
    SetToolColor(font, 0x000000FF);
    SetFontCharset(font, RUSSIAN_CHARSET);
    HGDIOBJ handle = GetToolHandle(font);
    ASSERT_NE(handle, nullptr);
    ChangeLog log;
    log.Listen(font);

    SetFontName(font, "Arial");
    SetFontStyle(font, FontStyleItalic);
    SetToolField(font, FontHeightOffset, 14);
    SetToolColor(font, 0x000000FF);
    SetFontCharset(font, RUSSIAN_CHARSET);
    EXPECT_TRUE(log.OldObjectAlive.empty());
    EXPECT_EQ(font->Handle, handle);
    EXPECT_EQ(GetToolHandle(font), handle);
}

TEST(TGraphicTool, EachChangeDropsTheObjectAfterTellingTheListenerTwice) {
    using Setter = void (*)(TGraphicTool*);
    const Setter setters[] = {
        [](TGraphicTool* t) { SetFontName(t, "Arial"); },
        [](TGraphicTool* t) { SetFontStyle(t, FontStyleUnderline); },
        [](TGraphicTool* t) { SetToolField(t, FontHeightOffset, 20); },
        [](TGraphicTool* t) { SetToolColor(t, 0x00FF0000); },
        [](TGraphicTool* t) { SetFontCharset(t, GREEK_CHARSET); },
    };
    for (Setter set : setters) {
        ToolPtr font(MakeFontTool());
        HGDIOBJ old = GetToolHandle(font);
        ChangeLog log;
        log.Listen(font);
        set(font);
        // First notice while the old object exists, the second after it was deleted.
        EXPECT_EQ(log.OldObjectAlive, (std::vector<bool>{true, false}));
        EXPECT_FALSE(Exists(old));
        EXPECT_NE(GetToolHandle(font), nullptr);
    }
}

TEST(TGraphicTool, ChangeWithoutAnObjectTellsTheListenerOnce) {
    ToolPtr brush(MakeBrushTool());
    ChangeLog log;
    log.Listen(brush);
    SetBrushStyle(brush, BrushStyleClear);
    EXPECT_EQ(log.OldObjectAlive.size(), 1u);
}

TEST(TGraphicTool, FieldsOutsideTheBlockAreIgnored) {
    ToolPtr font(MakeFontTool());
    const TToolData before = font->ToolData;
    for (std::size_t offset :
         {std::size_t{61}, std::size_t{64}, std::size_t{1000}, static_cast<std::size_t>(-2)}) {
        SetToolField(font, offset, 0xDEADBEEF);
        EXPECT_EQ(font->Field(offset), 0u);
    }
    EXPECT_EQ(font->ToolData, before);
    SetToolField(font, 60, 0x01020304);
    EXPECT_EQ(font->Field(60), 0x01020304u);
}

TEST(TGraphicTool, FontObjectIsMadeFromTheSettings) {
    ToolPtr font(MakeFontTool());
    SetToolField(font, FontHeightOffset, 14);
    SetFontStyle(font, FontStyleBold | FontStyleItalic);
    SetFontName(font, "DejaVu Sans");
    const LOGFONTA made = FontOf(GetToolHandle(font));
    EXPECT_EQ(made.lfHeight, 14);
    EXPECT_EQ(made.lfWeight, 700);
    EXPECT_EQ(made.lfItalic, 1);
    EXPECT_EQ(made.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(made.lfFaceName, "DejaVu Sans");
}

TEST(TGraphicTool, BrushObjectFollowsStyleBitmapAndColours) {
    struct Case {
        std::uint8_t Style;
        UINT LbStyle;
        COLORREF LbColor;
        ULONG_PTR Hatch;
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const Case cases[] = {
        {0, BS_SOLID, face, 0},
        {1, BS_NULL, 0, 0},
        {2, BS_HATCHED, 0x00112233, HS_HORIZONTAL},
        {4, BS_HATCHED, 0x00112233, HS_FDIAGONAL},
        {7, BS_HATCHED, 0x00112233, HS_DIAGCROSS},
    };
    for (const Case& c : cases) {
        ToolPtr brush(MakeBrushTool());
        SetBrushStyle(brush, c.Style);
        SetToolField(brush, BrushLineColorOffset, 0x00112233);
        const LOGBRUSH made = BrushOf(GetToolHandle(brush));
        EXPECT_EQ(made.lbStyle, c.LbStyle) << int(c.Style);
        if (c.LbStyle != BS_NULL) {
            EXPECT_EQ(made.lbColor, c.LbColor) << int(c.Style);
        }
        if (c.LbStyle == BS_HATCHED) {
            EXPECT_EQ(made.lbHatch, c.Hatch) << int(c.Style);
        }
    }
}

TEST(TGraphicTool, PatternBitmapWinsOverTheStyleAndStaysWithItsMaker) {
    const std::array<std::uint16_t, 8> rows = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, rows.data());
    ASSERT_NE(bitmap, nullptr);
    {
        ToolPtr brush(MakeBrushTool());
        SetBrushStyle(brush, 3);
        SetToolField(brush, BrushBitmapOffset,
                     static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(bitmap)));
        EXPECT_EQ(BrushOf(GetToolHandle(brush)).lbStyle, BS_PATTERN);
    }
    EXPECT_TRUE(Exists(bitmap));
    DeleteObject(bitmap);
}

TEST(TGraphicTool, ChildWithEqualSettingsSharesTheParentsObject) {
    ToolPtr parent(MakeFontTool());
    ToolPtr child(AssignTool(nullptr, parent));
    child->ParentTool = parent;
    HGDIOBJ shared = GetToolHandle(child);
    EXPECT_EQ(shared, parent->Handle);
    EXPECT_EQ(child->Handle, nullptr);

    SetToolField(child, FontHeightOffset, 14);
    HGDIOBJ own = GetToolHandle(child);
    EXPECT_NE(own, shared);
    EXPECT_EQ(child->Handle, own);
    EXPECT_EQ(FontOf(own).lfHeight, 14);
    EXPECT_EQ(GetToolHandle(parent), shared);
}

TEST(TGraphicTool, AssignCopiesEverySettingIntoTheTarget) {
    ToolPtr source(MakeFontTool());
    SetFontName(source, "Arial");
    SetToolField(source, FontHeightOffset, 30);
    SetToolColor(source, 0x00010203);
    ToolPtr target(MakeFontTool());
    HGDIOBJ old = GetToolHandle(target);
    ChangeLog log;
    log.Listen(target);

    EXPECT_EQ(AssignTool(target, source), target.Tool);
    EXPECT_EQ(target->ToolData, source->ToolData);
    EXPECT_EQ(log.OldObjectAlive, (std::vector<bool>{true, false, false}));
    EXPECT_FALSE(Exists(old));
    EXPECT_EQ(FontOf(GetToolHandle(target)).lfHeight, 30);
}

TEST(TGraphicTool, AssignMakesASimilarToolForANullTarget) {
    ToolPtr source(MakeBrushTool());
    SetToolColor(source, 0x00404040);
    ToolPtr made(AssignTool(nullptr, source));
    ASSERT_NE(made.Tool, nullptr);
    EXPECT_NE(made.Tool, source.Tool);
    EXPECT_EQ(made->Kind, TGraphicTool::KindBrush);
    EXPECT_EQ(made->ToolData, source->ToolData);
    EXPECT_EQ(made->ParentTool, nullptr);
}

TEST(TGraphicTool, AssignLeavesATargetThatAlreadySharesTheObject) {
    ToolPtr tool(MakeFontTool());
    ChangeLog log;
    log.Listen(tool);
    EXPECT_EQ(AssignTool(tool, tool), tool.Tool);
    EXPECT_TRUE(log.OldObjectAlive.empty());
}

TEST(TGraphicTool, AssignFromNullFreesTheTarget) {
    TGraphicTool* target = MakeFontTool();
    int destroyed = 0;
    target->DestroyNotify = {[](void* count, TObj*) { ++*static_cast<int*>(count); }, &destroyed};
    EXPECT_EQ(AssignTool(target, nullptr), nullptr);
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(AssignTool(nullptr, nullptr), nullptr);
}

} // namespace
