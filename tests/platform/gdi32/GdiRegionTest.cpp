#include "platform/posix/gdi32/Region.h"
#include "platform/posix/gdi32/gdi.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
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

// Every operation on regions of a few random rectangles on a small grid, lying apart,
// overlapping or inside one another, covers exactly the pixels the operation picks.
TEST(GdiRegion, CombinesLikeThePixelsDo) {
    using Op = Region::Operation;
    constexpr int grid = 12;
    std::mt19937 random(7);
    const auto someRegion = [&] {
        std::vector<RECT> rects;
        for (int n = std::uniform_int_distribution(0, 3)(random); n > 0; --n) {
            const int left = std::uniform_int_distribution(0, grid - 1)(random);
            const int top = std::uniform_int_distribution(0, grid - 1)(random);
            rects.push_back(RECT{left, top, std::uniform_int_distribution(left, grid)(random),
                                 std::uniform_int_distribution(top, grid)(random)});
        }
        return Region::FromRects(rects);
    };
    const auto picks = [](Op operation, bool a, bool b) {
        switch (operation) {
        case Op::And:
            return a && b;
        case Op::Or:
            return a || b;
        case Op::Xor:
            return a != b;
        case Op::Diff:
            return a && !b;
        }
        return false;
    };
    for (int round = 0; round < 500; ++round) {
        const Region first = someRegion();
        const Region second = someRegion();
        for (const Op operation : {Op::And, Op::Or, Op::Xor, Op::Diff}) {
            const Region result = first.Combined(second, operation);
            std::vector<RECT> pixels;
            for (int y = 0; y < grid; ++y) {
                for (int x = 0; x < grid; ++x) {
                    if (picks(operation, first.Contains(x, y), second.Contains(x, y))) {
                        pixels.push_back(RECT{x, y, x + 1, y + 1});
                    }
                }
            }
            ASSERT_EQ(result, Region::FromRects(pixels))
                << "round " << round << ", operation " << static_cast<int>(operation);
        }
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
