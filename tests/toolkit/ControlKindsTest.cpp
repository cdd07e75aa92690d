#include "toolkit/ControlKinds.h"

#include <gtest/gtest.h>

namespace {

struct OptionCase {
    std::uint32_t Options;
    DWORD Style;
};

TEST(ControlKindsTest, ListBoxOptionsAddTheirStyleBits) {
    const OptionCase cases[] = {
        // Without options a list box keeps strings and extended selection.
        {0x000, LBS_EXTENDEDSEL | LBS_HASSTRINGS},
        // Bit 1 drops extended selection, bit 4 keeps the height as given.
        {0x012, LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS},
        {0x052, LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_SORT},
        {0x01A, LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS | LBS_MULTIPLESEL},
        // Bit 8 drops the strings.
        {0x102, 0},
        {0x001, LBS_DISABLENOSCROLL | LBS_EXTENDEDSEL | LBS_HASSTRINGS},
        {0x006, WS_HSCROLL | LBS_MULTICOLUMN | LBS_HASSTRINGS},
        {0xFA2,
         LBS_NOSEL | LBS_USETABSTOPS | LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE},
        {0x302, LBS_NODATA},
        // Bits above the table are ignored.
        {0xF000 | 0x102, 0},
    };
    for (const OptionCase& c : cases) {
        EXPECT_EQ(ListBoxOptionStyle(c.Options), c.Style) << std::hex << c.Options;
    }
    EXPECT_EQ(ListBoxBaseStyle | ListBoxOptionStyle(0x12), 0x50A10141u);
    EXPECT_EQ(ListBoxBaseStyle | ListBoxOptionStyle(0x52), 0x50A10143u);
}

} // namespace
