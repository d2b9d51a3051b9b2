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
    // One spare block keeps room at the end for the items that arrive there.
    const std::size_t blocks = (size_ + kBlockFill - 1) / kBlockFill + 1;
    slots_.assign(blocks * kBlockCapacity, 0);
    blockSizes_.assign(blocks, 0);
    groupSizes_.assign((blocks + kGroupBlocks - 1) / kGroupBlocks, 0);
    for (std::size_t i = 0; i < size_; ++i) {
        const std::size_t b = i / kBlockFill;
        block(b)[i % kBlockFill] = items[i];
        ++blockSizes_[b];
        ++groupSizes_[b / kGroupBlocks];
    }
}

template <bool ForInsert>
FrontList::Location FrontList::locate(std::size_t position) const {
    const auto passes = [](std::size_t pos, std::uint32_t count) { return ForInsert ? pos > count : pos >= count; };
    std::size_t group = 0;
    const std::size_t lastGroup = groupSizes_.size() - 1;
    while (group < lastGroup && passes(position, groupSizes_[group])) position -= groupSizes_[group++];
    std::size_t b = group * kGroupBlocks;
    const std::size_t lastBlock = std::min(b + kGroupBlocks, blockSizes_.size()) - 1;
    while (b < lastBlock && passes(position, blockSizes_[b])) position -= blockSizes_[b++];
    return {b, position};
}

void FrontList::insert(std::size_t position, std::uint32_t item) {
    Location at = locate<true>(position);
    if (blockSizes_[at.block] == kBlockCapacity) {
        std::vector<std::uint32_t> items;
        appendTo(items);
        layOut(items);
        at = locate<true>(position);
    }
    std::uint32_t* items = block(at.block);
    std::memmove(items + at.offset + 1, items + at.offset,
                 (blockSizes_[at.block] - at.offset) * sizeof(std::uint32_t));
    items[at.offset] = item;
    ++blockSizes_[at.block];
    ++groupSizes_[at.block / kGroupBlocks];
    ++size_;
}

std::uint32_t FrontList::erase(std::size_t position) {
    const Location at = locate<false>(position);
    std::uint32_t* items = block(at.block);
    const std::uint32_t item = items[at.offset];
    std::memmove(items + at.offset, items + at.offset + 1,
                 (blockSizes_[at.block] - at.offset - 1) * sizeof(std::uint32_t));
    --blockSizes_[at.block];
    --groupSizes_[at.block / kGroupBlocks];
    --size_;
    return item;
}

void FrontList::appendTo(std::vector<std::uint32_t>& out) const {
    for (std::size_t b = 0; b < blockSizes_.size(); ++b) {
        out.insert(out.end(), block(b), block(b) + blockSizes_[b]);
    }
}

}  // namespace numbrook::detail
