#pragma once

// The item storage of a list box.

#include "platform/posix/api/types.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace posix {

// One entry of a list box.
struct ListBoxItem {
    std::string Text;      // the item's string; empty in lists that keep no strings
    ULONG_PTR Data = 0;    // the value of LB_SETITEMDATA (or the item itself without strings)
    bool Selected = false; // selection mark, used only by multiple-selection lists
};

// A sequence of items kept in blocks of bounded size. Inserting or erasing anywhere moves at
// most half a block's items (none at a block's ends), and finding an index walks the block
// sizes, so a list of a hundred thousand entries stays fast whether it grows at the end, at
// the top or in sorted order.
class ListBoxItems {
public:
    std::size_t Count() const { return count_; }

    ListBoxItem& At(std::size_t index);
    const ListBoxItem& At(std::size_t index) const;

    // Inserts before the item at index; index == Count() appends.
    void Insert(std::size_t index, ListBoxItem item);
    void Erase(std::size_t index);
    void Clear();

    // The first index at or after `from` whose item satisfies the predicate.
    template <class Predicate>
    std::optional<std::size_t> FindFrom(std::size_t from, Predicate matches) const;

    // Calls change(item) for every item in order.
    template <class Change> void ForEach(Change change);

private:
    using Block = std::deque<ListBoxItem>;

    struct Location {
        std::size_t Block;  // index into blocks_
        std::size_t Offset; // index inside that block
    };

    // Blocks split in two when they reach twice this size, and neighbours merge when together
    // they fit in it. A split or merge that runs out of memory is skipped: an oversized or
    // small block is still a valid one.
    static constexpr std::size_t BlockSize = 256;

    Location Locate(std::size_t index) const;
    void SplitIfFull(std::size_t block);
    void MergeWithNeighbour(std::size_t block);
    // Moves the block after `first` into it when both fit in one block.
    void MergeIntoFirst(std::size_t first);

    // Blocks sit behind pointers: moving a deque may allocate, moving a pointer cannot.
    std::vector<std::unique_ptr<Block>> blocks_;
    std::size_t count_ = 0;
};

template <class Predicate>
std::optional<std::size_t> ListBoxItems::FindFrom(std::size_t from, Predicate matches) const {
    if (from >= count_) {
        return std::nullopt;
    }
    const Location start = Locate(from);
    std::size_t index = from;
    for (std::size_t block = start.Block; block < blocks_.size(); ++block) {
        const Block& items = *blocks_[block];
        for (std::size_t offset = block == start.Block ? start.Offset : 0; offset < items.size();
             ++offset, ++index) {
            if (matches(items[offset])) {
                return index;
            }
        }
    }
    return std::nullopt;
}

template <class Change> void ListBoxItems::ForEach(Change change) {
    for (const std::unique_ptr<Block>& block : blocks_) {
        for (ListBoxItem& item : *block) {
            change(item);
        }
    }
}

} // namespace posix
