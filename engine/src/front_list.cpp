#include "front_list.h"

#include <algorithm>
#include <cstring>

namespace numbrook::detail {

FrontList::FrontList() {
    layOut({});
}

void FrontList::assign(std::vector<std::uint32_t>::const_iterator first,
                       std::vector<std::uint32_t>::const_iterator last) {
    layOut(std::vector<std::uint32_t>(first, last));
}

void FrontList::layOut(const std::vector<std::uint32_t>& items) {
    size_ = items.size();
    // Spare blocks at the end keep room for the items that arrive there.
    const std::size_t used = (size_ + kBlockFill - 1) / kBlockFill;
    const std::size_t blocks = used + 2;
    slots_.assign(blocks * kBlockCapacity, 0);
    blockSizes_.assign(blocks, 0);
    blockBegins_.assign(blocks, kCentredBegin);
    groupSizes_.assign((blocks + kGroupBlocks - 1) / kGroupBlocks, 0);
    for (std::size_t i = 0; i < size_; ++i) {
        const std::size_t b = i / kBlockFill;
        block(b)[i % kBlockFill] = items[i];
        ++blockSizes_[b];
        ++groupSizes_[b / kGroupBlocks];
    }
    firstUsed_ = 0;
    lastUsed_ = used == 0 ? 0 : used - 1;
}

void FrontList::relayOut() {
    std::vector<std::uint32_t> items;
    items.reserve(size_);
    appendTo(items);
    layOut(items);
}

template <bool ForInsert>
FrontList::Location FrontList::locate(std::size_t position) const {
    const auto passes = [](std::size_t pos, std::uint32_t count) {
        return ForInsert ? pos > count : pos >= count;
    };
    // Blocks before the first one in use are empty, so the search may start
    // at its group.
    std::size_t group = firstUsed_ / kGroupBlocks;
    const std::size_t lastGroup = lastUsed_ / kGroupBlocks;
    while (group < lastGroup && passes(position, groupSizes_[group]))
        position -= groupSizes_[group++];
    std::size_t b =
        std::max(group * kGroupBlocks, group == firstUsed_ / kGroupBlocks ? firstUsed_ : 0);
    const std::size_t lastBlock = std::min(group * kGroupBlocks + kGroupBlocks - 1, lastUsed_);
    while (b < lastBlock && passes(position, blockSizes_[b])) position -= blockSizes_[b++];
    return {b, position};
}

void FrontList::insert(std::size_t position, std::uint32_t item) {
    Location at = locate<true>(position);
    if (blockSizes_[at.block] == kBlockCapacity) {
        relayOut();
        at = locate<true>(position);
    }
    const std::size_t b = at.block;
    std::uint32_t* items = block(b);
    const std::size_t after = blockSizes_[b] - at.offset;
    // Shift the items before the new one down when they are fewer, or when
    // the run already reaches the end of the block.
    if (blockBegins_[b] > 0 && (at.offset < after || !roomAtEnd(b))) {
        std::memmove(items - 1, items, at.offset * sizeof(std::uint32_t));
        --blockBegins_[b];
        items[static_cast<std::ptrdiff_t>(at.offset) - 1] = item;
    } else {
        std::memmove(items + at.offset + 1, items + at.offset, after * sizeof(std::uint32_t));
        items[at.offset] = item;
    }
    grow(b);
}

void FrontList::shrink(std::size_t b) {
    --blockSizes_[b];
    --groupSizes_[b / kGroupBlocks];
    --size_;
    if (blockSizes_[b] != 0) return;
    // An empty block's run may have reached either edge: start it afresh.
    blockBegins_[b] = kCentredBegin;
    if (size_ == 0) {
        firstUsed_ = lastUsed_ = 0;
        return;
    }
    while (blockSizes_[firstUsed_] == 0) ++firstUsed_;
    while (blockSizes_[lastUsed_] == 0) --lastUsed_;
}

std::uint32_t FrontList::erase(std::size_t position) {
    const Location at = locate<false>(position);
    std::uint32_t* items = block(at.block);
    const std::uint32_t item = items[at.offset];
    const std::size_t after = blockSizes_[at.block] - at.offset - 1;
    if (at.offset < after) {
        std::memmove(items + 1, items, at.offset * sizeof(std::uint32_t));
        ++blockBegins_[at.block];
    } else {
        std::memmove(items + at.offset, items + at.offset + 1, after * sizeof(std::uint32_t));
    }
    shrink(at.block);
    return item;
}

void FrontList::push_back(std::uint32_t item) {
    std::size_t b = lastUsed_;
    if (!roomAtEnd(b)) {
        if (b + 1 == blockSizes_.size()) {
            relayOut();
            b = lastUsed_;
        }
        if (!roomAtEnd(b)) ++b;
    }
    if (size_ == 0) firstUsed_ = b;
    block(b)[blockSizes_[b]] = item;
    lastUsed_ = b;
    grow(b);
}

std::uint32_t FrontList::pop_back() {
    const std::size_t b = lastUsed_;
    const std::uint32_t item = block(b)[blockSizes_[b] - 1];
    shrink(b);
    return item;
}

void FrontList::appendTo(std::vector<std::uint32_t>& out) const {
    for (std::size_t b = firstUsed_; b <= lastUsed_ && b < blockSizes_.size(); ++b) {
        out.insert(out.end(), block(b), block(b) + blockSizes_[b]);
    }
}

}  // namespace numbrook::detail
