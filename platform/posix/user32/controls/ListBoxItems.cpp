#include "platform/posix/user32/controls/ListBoxItems.h"

#include <algorithm>
#include <new>
#include <utility>

namespace posix {

ListBoxItem& ListBoxItems::At(std::size_t index) {
    const Location location = Locate(index);
    return (*blocks_[location.Block])[location.Offset];
}

const ListBoxItem& ListBoxItems::At(std::size_t index) const {
    const Location location = Locate(index);
    return (*blocks_[location.Block])[location.Offset];
}

void ListBoxItems::Insert(std::size_t index, ListBoxItem item) {
    if (blocks_.empty()) {
        blocks_.push_back(std::make_unique<Block>());
    }
    Location location;
    if (index == count_) {
        location = {blocks_.size() - 1, blocks_.back()->size()};
    } else {
        location = Locate(index);
    }
    Block& block = *blocks_[location.Block];
    block.insert(block.begin() + static_cast<std::ptrdiff_t>(location.Offset), std::move(item));
    ++count_;
    SplitIfFull(location.Block);
}

void ListBoxItems::Erase(std::size_t index) {
    const Location location = Locate(index);
    Block& block = *blocks_[location.Block];
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
        while (index >= blocks_[block]->size()) {
            index -= blocks_[block]->size();
            ++block;
        }
        return {block, index};
    }
    std::size_t fromEnd = count_ - index; // at least 1
    std::size_t block = blocks_.size() - 1;
    while (fromEnd > blocks_[block]->size()) {
        fromEnd -= blocks_[block]->size();
        --block;
    }
    return {block, blocks_[block]->size() - fromEnd};
}

// Everything that allocates happens before the first item moves, so running out of memory
// leaves every item where it was.
void ListBoxItems::SplitIfFull(std::size_t block) {
    Block& full = *blocks_[block];
    if (full.size() < 2 * BlockSize) {
        return;
    }
    std::unique_ptr<Block> upper;
    try {
        upper = std::make_unique<Block>(full.size() - BlockSize);
        blocks_.reserve(blocks_.size() + 1);
    } catch (const std::bad_alloc&) {
        return;
    }
    std::move(full.begin() + BlockSize, full.end(), upper->begin());
    full.erase(full.begin() + BlockSize, full.end());
    blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(upper));
}

void ListBoxItems::MergeWithNeighbour(std::size_t block) {
    if (blocks_[block]->empty()) {
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
    Block& into = *blocks_[first];
    Block& next = *blocks_[first + 1];
    if (into.size() + next.size() > BlockSize) {
        return;
    }
    const std::size_t kept = into.size();
    try {
        into.resize(kept + next.size());
    } catch (const std::bad_alloc&) {
        return;
    }
    std::move(next.begin(), next.end(), into.begin() + static_cast<std::ptrdiff_t>(kept));
    blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(first) + 1);
}

} // namespace posix
