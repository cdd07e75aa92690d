#include "platform/posix/gdi/Region.h"
#include "platform/posix/gdi/gdi.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using posix::gdi::Region;

namespace {

bool SameRects(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    return Region::FromRects(a) == Region::FromRects(b) && a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](const RECT& x, const RECT& y) {
               return x.left == y.left && x.top == y.top && x.right == y.right &&
                      x.bottom == y.bottom;
           });
}

struct CombineCase {
    const char* Name;
    std::vector<RECT> First;
    std::vector<RECT> Second;
    Region::Operation Operation;
    std::vector<RECT> Expected; // in canonical order
    int Complexity;
};

TEST(GdiRegion, CombinesIntoCanonicalBands) {
    using Op = Region::Operation;
    const CombineCase cases[] = {
        {"union of overlapping",
         {{0, 0, 10, 10}},
         {{5, 5, 15, 15}},
         Op::Or,
         {{0, 0, 10, 5}, {0, 5, 15, 10}, {5, 10, 15, 15}},
         COMPLEXREGION},
        {"union of side by side is one rectangle",
         {{0, 0, 5, 10}},
         {{5, 0, 9, 10}},
         Op::Or,
         {{0, 0, 9, 10}},
         SIMPLEREGION},
        {"union of stacked is one rectangle",
         {{0, 0, 5, 4}},
         {{0, 4, 5, 9}},
         Op::Or,
         {{0, 0, 5, 9}},
         SIMPLEREGION},
        {"intersection",
         {{0, 0, 10, 10}},
         {{5, 5, 15, 15}},
         Op::And,
         {{5, 5, 10, 10}},
         SIMPLEREGION},
        {"disjoint intersection", {{0, 0, 4, 4}}, {{6, 6, 9, 9}}, Op::And, {}, NULLREGION},
        {"difference leaves an L",
         {{0, 0, 10, 10}},
         {{5, 5, 15, 15}},
         Op::Diff,
         {{0, 0, 10, 5}, {0, 5, 5, 10}},
         COMPLEXREGION},
        {"hole in the middle",
         {{0, 0, 9, 9}},
         {{3, 3, 6, 6}},
         Op::Diff,
         {{0, 0, 9, 3}, {0, 3, 3, 6}, {6, 3, 9, 6}, {0, 6, 9, 9}},
         COMPLEXREGION},
        {"xor",
         {{0, 0, 10, 10}},
         {{5, 0, 15, 10}},
         Op::Xor,
         {{0, 0, 5, 10}, {10, 0, 15, 10}},
         COMPLEXREGION},
        {"empty rectangles are ignored", {{3, 3, 3, 9}}, {{5, 5, 4, 8}}, Op::Or, {}, NULLREGION},
    };
    for (const CombineCase& c : cases) {
        const Region result =
            Region::FromRects(c.First).Combined(Region::FromRects(c.Second), c.Operation);
        EXPECT_TRUE(SameRects(result.Rects(), c.Expected)) << c.Name;
        EXPECT_EQ(result.Complexity(), c.Complexity) << c.Name;
    }
}

TEST(GdiRegion, SamePixelsGiveEqualRegionsWhateverTheRectangles) {
    const std::vector<RECT> aBlock = {{0, 0, 10, 10}};
    const std::vector<RECT> tiles = {{5, 5, 10, 10}, {0, 0, 5, 5}, {5, 0, 10, 5}, {0, 5, 5, 10}};
    const std::vector<RECT> overlapping = {{0, 0, 8, 10}, {2, 0, 10, 10}, {3, 3, 4, 4}};
    EXPECT_EQ(Region::FromRects(aBlock), Region::FromRects(tiles));
    EXPECT_EQ(Region::FromRects(aBlock), Region::FromRects(overlapping));
    EXPECT_EQ(Region::FromRects(tiles).Complexity(), SIMPLEREGION);
}

TEST(GdiRegion, ContainsAndBounds) {
    const std::vector<RECT> rects = {{0, 0, 4, 4}, {10, 2, 12, 20}};
    const Region region = Region::FromRects(rects);
    EXPECT_TRUE(region.Contains(0, 0));
    EXPECT_TRUE(region.Contains(11, 19));
    EXPECT_FALSE(region.Contains(4, 0)); // right and bottom edges are outside
    EXPECT_FALSE(region.Contains(6, 3));
    const RECT bounds = region.Bounds();
    EXPECT_EQ(bounds.left, 0);
    EXPECT_EQ(bounds.top, 0);
    EXPECT_EQ(bounds.right, 12);
    EXPECT_EQ(bounds.bottom, 20);
}

TEST(GdiRegion, OffsetStopsAtTheEndsOfTheCoordinateRange) {
    Region region(RECT{0, 0, 10, 10});
    region.Offset(5, -3);
    EXPECT_EQ(region, Region(RECT{5, -3, 15, 7}));
    region.Offset(INT_MAX - 10, 0);
    const RECT bounds = region.Bounds();
    EXPECT_EQ(bounds.left, INT_MAX - 5);
    EXPECT_EQ(bounds.right, INT_MAX);
}

TEST(GdiRegion, HandlesCombineAndAnswerComplexity) {
    HRGN a = CreateRectRgn(10, 10, 0, 0); // corners in either order
    HRGN b = CreateRectRgn(5, 5, 15, 15);
    RECT box{};
    EXPECT_EQ(GetRgnBox(a, &box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.bottom, 10);
    // The destination may be one of the sources.
    EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(a, 14, 14));
    EXPECT_EQ(CombineRgn(a, b, nullptr, RGN_COPY), SIMPLEREGION);
    EXPECT_FALSE(PtInRegion(a, 1, 1));
    EXPECT_EQ(OffsetRgn(a, -5, -5), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(a, 0, 0));
    EXPECT_TRUE(SetRectRgn(a, 0, 0, 0, 0));
    EXPECT_EQ(GetRgnBox(a, &box), NULLREGION);
    EXPECT_EQ(box.right, 0);
    EXPECT_EQ(CombineRgn(a, a, b, 99), ERROR);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_TRUE(DeleteObject(b));
}

TEST(GdiRegion, StaleRegionHandlesAnswerErrors) {
    HRGN region = CreateRectRgn(0, 0, 5, 5);
    HRGN other = CreateRectRgn(0, 0, 1, 1);
    ASSERT_TRUE(DeleteObject(region));
    RECT box{};
    EXPECT_EQ(GetRgnBox(region, &box), ERROR);
    EXPECT_EQ(CombineRgn(region, other, other, RGN_OR), ERROR);
    EXPECT_EQ(CombineRgn(other, region, other, RGN_OR), ERROR);
    EXPECT_EQ(OffsetRgn(region, 1, 1), ERROR);
    EXPECT_FALSE(PtInRegion(region, 1, 1));
    EXPECT_FALSE(SetRectRgn(region, 0, 0, 1, 1));
    EXPECT_FALSE(posix::gdi::RegionOf(region).has_value());
    EXPECT_FALSE(DeleteObject(region));
    EXPECT_TRUE(DeleteObject(other));
}

} // namespace
