#include "platform/posix/user32/controls/ListBoxItems.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using posix::ListBoxItem;
using posix::ListBoxItems;

ListBoxItem Named(std::size_t n) {
    return {std::to_string(n), n, false};
}

void ExpectSame(const ListBoxItems& items, const std::vector<std::size_t>& model) {
    ASSERT_EQ(items.Count(), model.size());
    for (std::size_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(items.At(i).Data, model[i]) << "at index " << i;
        ASSERT_EQ(items.At(i).Text, std::to_string(model[i])) << "at index " << i;
    }
}

// A random mix of inserts and erases at every kind of position, checked against a plain vector
// after every few steps; the sizes cross the block boundaries many times in both directions.
TEST(ListBoxItemsTest, KeepsOrderThroughRandomInsertsAndErases) {
    std::mt19937 random(12345);
    ListBoxItems items;
    std::vector<std::size_t> model;
    std::size_t next = 0;
    for (int step = 0; step < 20000; ++step) {
        const bool growingPhase = (step / 5000) % 2 == 0;
        const bool grow = model.empty() || (random() % 4 != 0) == growingPhase;
        if (grow) {
            const std::size_t at = random() % (model.size() + 1);
            items.Insert(at, Named(next));
            model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), next);
            ++next;
        } else {
            const std::size_t at = random() % model.size();
            items.Erase(at);
            model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
        }
        if (step % 997 == 0) {
            ExpectSame(items, model);
        }
    }
    ExpectSame(items, model);
}

TEST(ListBoxItemsTest, InsertingAtTheTopAndAppendingKeepTheirOrder) {
    ListBoxItems items;
    std::vector<std::size_t> model;
    for (std::size_t n = 0; n < 3000; ++n) {
        if (n % 2 == 0) {
            items.Insert(0, Named(n));
            model.insert(model.begin(), n);
        } else {
            items.Insert(items.Count(), Named(n));
            model.push_back(n);
        }
    }
    ExpectSame(items, model);
    while (items.Count() > 0) {
        items.Erase(items.Count() - 1);
        model.pop_back();
    }
    ExpectSame(items, model);
    items.Insert(0, Named(7));
    ExpectSame(items, {7});
}

TEST(ListBoxItemsTest, FindFromSearchesForwardFromTheGivenIndex) {
    ListBoxItems items;
    for (std::size_t n = 0; n < 2000; ++n) {
        items.Insert(n, Named(n % 700));
    }
    const auto is699 = [](const ListBoxItem& item) { return item.Text == "699"; };
    EXPECT_EQ(items.FindFrom(0, is699), 699u);
    EXPECT_EQ(items.FindFrom(700, is699), 1399u);
    EXPECT_EQ(items.FindFrom(1400, is699), std::nullopt);
    EXPECT_EQ(items.FindFrom(5000, is699), std::nullopt);
}

TEST(ListBoxItemsTest, ClearEmptiesAndTheListCanBeRefilled) {
    ListBoxItems items;
    for (std::size_t n = 0; n < 1500; ++n) {
        items.Insert(n, Named(n));
    }
    items.At(1200).Selected = true;
    items.Clear();
    EXPECT_EQ(items.Count(), 0u);
    items.Insert(0, Named(1));
    items.Insert(0, Named(0));
    ExpectSame(items, {0, 1});
    EXPECT_FALSE(items.At(1).Selected);
}

} // namespace
