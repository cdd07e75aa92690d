#include "platform/posix/controls/ListBoxItems.h"

#include <iterator>
#include <new>
#include <utility>

namespace posix {

ListBoxItem& ListBoxItems::At(std::size_t index) {
    const Location location = Locate(index);
    return blocks_[location.Block][location.Offset];
}

const ListBoxItem& ListBoxItems::At(std::size_t index) const {
    const Location location = Locate(index);
    return blocks_[location.Block][location.Offset];
}

void ListBoxItems::Insert(std::size_t index, ListBoxItem item) {
    if (blocks_.empty()) {
        blocks_.emplace_back();
    }
    Location location;
    if (index == count_) {
        location = {blocks_.size() - 1, blocks_.back().size()};
    } else {
        location = Locate(index);
    }
    std::vector<ListBoxItem>& block = blocks_[location.Block];
    block.insert(block.begin() + static_cast<std::ptrdiff_t>(location.Offset), std::move(item));
    ++count_;
    SplitIfFull(location.Block);
}

void ListBoxItems::Erase(std::size_t index) {
    const Location location = Locate(index);
    std::vector<ListBoxItem>& block = blocks_[location.Block];
    block.erase(block.begin() + static_cast<std::ptrdiff_t>(location.Offset));
    --count_;
    MergeWithNeighbour(location.Block);
}

void ListBoxItems::Clear() {
    blocks_.clear();
    count_ = 0;
}

// Walks the block sizes from the nearer end of the list.
ListBoxItems::Location ListBoxItems::Locate(std::size_t index) const {
    if (index < count_ / 2) {
        std::size_t block = 0;
        while (index >= blocks_[block].size()) {
            index -= blocks_[block].size();
            ++block;
        }
        return {block, index};
    }
    std::size_t fromEnd = count_ - index; // at least 1
    std::size_t block = blocks_.size() - 1;
    while (fromEnd > blocks_[block].size()) {
        fromEnd -= blocks_[block].size();
        --block;
    }
    return {block, blocks_[block].size() - fromEnd};
}

void ListBoxItems::SplitIfFull(std::size_t block) {
    if (blocks_[block].size() < 2 * BlockSize) {
        return;
    }
    std::vector<ListBoxItem> upper;
    try {
        upper.reserve(blocks_[block].size() - BlockSize);
        blocks_.reserve(blocks_.size() + 1);
    } catch (const std::bad_alloc&) {
        return;
    }
    std::vector<ListBoxItem>& full = blocks_[block];
    upper.insert(upper.end(), std::make_move_iterator(full.begin() + BlockSize),
                 std::make_move_iterator(full.end()));
    full.erase(full.begin() + BlockSize, full.end());
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(upper));
}

void ListBoxItems::MergeWithNeighbour(std::size_t block) {
    if (blocks_[block].empty()) {
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(block));
        return;
    }
    if (block + 1 < blocks_.size()) {
        MergeIntoFirst(block);
    }
    if (block > 0) {
        MergeIntoFirst(block - 1);
    }
}

void ListBoxItems::MergeIntoFirst(std::size_t first) {
    std::vector<ListBoxItem>& into = blocks_[first];
    std::vector<ListBoxItem>& next = blocks_[first + 1];
    if (into.size() + next.size() > BlockSize) {
        return;
    }
    try {
        into.reserve(into.size() + next.size());
    } catch (const std::bad_alloc&) {
        return;
    }
    into.insert(into.end(), std::make_move_iterator(next.begin()),
                std::make_move_iterator(next.end()));
    blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(first) + 1);
}

} // namespace posix
