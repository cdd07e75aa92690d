#include "toolkit/TList.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct FreeObject {
    void operator()(TObj* object) const { Free(object); }
};
using ListPtr = std::unique_ptr<TList, FreeObject>;

// Distinct addresses to store; the list never looks at what they point to.
int cells[8];

ListPtr ListOf(const std::vector<int>& numbers) {
    ListPtr list(CreateList());
    for (int n : numbers) {
        list->Add(&cells[n]);
    }
    return list;
}

std::vector<int> CellsIn(const TList& list) {
    std::vector<int> numbers;
    for (std::int32_t index = 0; index < list.Count(); ++index) {
        numbers.push_back(static_cast<int>(static_cast<int*>(list.Get(index)) - cells));
    }
    return numbers;
}

TEST(TListTest, AddGrowsLinearlyByGrowBy) {
    struct Case {
        std::int32_t GrowBy;
        std::vector<std::int32_t> CapacityAfterEachAdd;
    };
    const Case cases[] = {
        {4, {4, 4, 4, 4, 8, 8, 8, 8, 12}},
        {0, {4, 4, 4, 4, 8}},
        {-3, {4, 4, 4, 4, 8}},
        {3, {3, 3, 3, 6, 6, 6, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.GrowBy);
        ListPtr list(CreateList());
        EXPECT_EQ(list->GrowBy, 4);
        list->GrowBy = c.GrowBy;
        std::vector<std::int32_t> capacities;
        for (std::size_t i = 0; i < c.CapacityAfterEachAdd.size(); ++i) {
            EXPECT_TRUE(list->Add(&cells[i % 8]));
            capacities.push_back(list->Capacity());
        }
        EXPECT_EQ(capacities, c.CapacityAfterEachAdd);
        EXPECT_EQ(list->GrowBy, c.GrowBy > 0 ? c.GrowBy : 4);
    }
}

TEST(TListTest, InsertPlacesBeforeTheIndexAndIgnoresInvalidOnes) {
    const std::pair<std::int32_t, std::vector<int>> cases[] = {
        {0, {7, 1, 2, 3, 4}}, {2, {1, 2, 7, 3, 4}}, {4, {1, 2, 3, 4, 7}},
        {-1, {1, 2, 3, 4}},   {5, {1, 2, 3, 4}},
    };
    for (const auto& [index, after] : cases) {
        SCOPED_TRACE(index);
        ListPtr list = ListOf({1, 2, 3, 4});
        EXPECT_EQ(list->Insert(index, &cells[7]), after.size() == 5);
        EXPECT_EQ(CellsIn(*list), after);
    }
}

TEST(TListTest, LookUpsStayInsideTheRange) {
    ListPtr list = ListOf({5, 6, 5});
    EXPECT_EQ(list->Get(-1), nullptr);
    EXPECT_EQ(list->Get(3), nullptr);
    EXPECT_EQ(list->IndexOf(&cells[5]), 0);
    EXPECT_EQ(list->IndexOf(&cells[0]), -1);
    list->Remove(&cells[5]);
    list->Remove(&cells[0]);
    EXPECT_EQ(CellsIn(*list), (std::vector<int>{6, 5}));
}

TEST(TListTest, DeleteRangeRemovesUpToTheEndAndKeepsCapacity) {
    struct Case {
        std::int32_t Index;
        std::int32_t N;
        std::vector<int> After;
    };
    const std::vector<int> all = {0, 1, 2, 3, 4, 5};
    const Case cases[] = {
        {1, 2, {0, 3, 4, 5}}, {4, 10, {0, 1, 2, 3}}, {0, 6, {}},  {2, 0, all},
        {2, -1, all},         {-1, 2, all},          {6, 1, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Index << "," << c.N);
        ListPtr list = ListOf(all);
        list->DeleteRange(c.Index, c.N);
        EXPECT_EQ(CellsIn(*list), c.After);
        EXPECT_EQ(list->Capacity(), 8);
    }
}

TEST(TListTest, SetCapacityNeverDropsItemsAndClearReleasesTheSlots) {
    ListPtr list = ListOf({1, 2, 3});
    list->SetCapacity(1);
    EXPECT_EQ(list->Capacity(), 3);
    list->SetCapacity(10);
    EXPECT_EQ(list->Capacity(), 10);
    EXPECT_EQ(CellsIn(*list), (std::vector<int>{1, 2, 3}));

    list->GrowBy = 7;
    list->Clear();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->Capacity(), 0);
    EXPECT_EQ(list->Items(), nullptr);
    EXPECT_EQ(list->GrowBy, 7);
}

} // namespace
