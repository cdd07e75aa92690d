#include "platform/posix/display/sdl_scale.h"

#include <gtest/gtest.h>

namespace {

using posix::ChooseScale;
using posix::ScaleFromResources;
using posix::ScaleFromText;

TEST(SdlScale, AnEnvironmentValueNamesAWholeScaleFromOneToFour) {
    EXPECT_EQ(ScaleFromText("1"), 1);
    EXPECT_EQ(ScaleFromText("4"), 4);
    for (const char* refused : {"0", "5", "-2", "2.5", "2x", "", " 2", "two"}) {
        EXPECT_FALSE(ScaleFromText(refused).has_value()) << '"' << refused << '"';
    }
    EXPECT_FALSE(ScaleFromText(nullptr).has_value());
}

TEST(SdlScale, XftDpiIsRoundedToTheNearestMultipleOf96) {
    struct Case {
        const char* Resources;
        int Scale;
    };
    const Case cases[] = {
        {"Xft.dpi:\t96\n", 1},
        {"Xft.dpi: 192\n", 2},
        {"Xft.antialias: 1\nXft.dpi: 144.5\nXft.hinting: 1\n", 2},
        {"Xft.dpi: 143\n", 1},
        {"Xft.dpi: 288\n", 3},
        {"Xft.dpi: 40\n", 1},
        {"Xft.dpi: 960\n", 4},
    };
    for (const Case& each : cases) {
        EXPECT_EQ(ScaleFromResources(each.Resources), each.Scale) << each.Resources;
    }
}

TEST(SdlScale, ResourcesWithoutAUsableXftDpiChooseNothing) {
    for (const char* resources :
         {"", "Xft.antialias: 1\n", "Xft.dpi: lots\n", "Xft.dpi: -192\n", "Xft.dpi: 0\n"}) {
        EXPECT_FALSE(ScaleFromResources(resources).has_value()) << resources;
    }
    EXPECT_FALSE(ScaleFromResources(nullptr).has_value());
}

TEST(SdlScale, KestrinScaleWinsThenXftDpiThenGdkScaleThenOne) {
    EXPECT_EQ(ChooseScale("3", "Xft.dpi: 192\n", "4"), 3);
    EXPECT_EQ(ChooseScale(nullptr, "Xft.dpi: 192\n", "4"), 2);
    EXPECT_EQ(ChooseScale("9", "Xft.dpi: 192\n", "4"), 2) << "an unusable KESTRIN_SCALE";
    EXPECT_EQ(ChooseScale(nullptr, "Xft.antialias: 1\n", "4"), 4);
    EXPECT_EQ(ChooseScale(nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(ChooseScale(nullptr, "", "0"), 1);
}

} // namespace
