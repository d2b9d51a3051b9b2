#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace numbrook::detail {

// An ordered list of up to a few tens of thousands of items with cheap
// insertion and removal at any position. Items live in fixed-capacity blocks
// of one flat array; block sizes are summed in groups so that finding a
// position reads a few dozen counters. Each block keeps its items in a run
// with room on both sides, so an edit shifts the shorter side of the run and
// taking a block's first item shifts nothing. Blocks start partly full, in
// their middle; when one fills up the whole list is laid out again, which is
// rare enough to cost less than one copy per insertion. The first and last
// blocks in use are tracked, so the ends of the list are reached without a
// search.
class FrontList {
public:
    FrontList();

    void assign(std::vector<std::uint32_t>::const_iterator first,
                std::vector<std::uint32_t>::const_iterator last);
    std::size_t size() const { return size_; }

    void insert(std::size_t position, std::uint32_t item);
    std::uint32_t erase(std::size_t position);
    void push_back(std::uint32_t item);
    std::uint32_t pop_back();
    void appendTo(std::vector<std::uint32_t>& out) const;

private:
    static constexpr std::size_t kBlockFill = 96;
    static constexpr std::size_t kBlockCapacity = 256;
    static constexpr std::size_t kGroupBlocks = 16;
    static constexpr std::uint32_t kCentredBegin = (kBlockCapacity - kBlockFill) / 2;

    struct Location {
        std::size_t block;
        std::size_t offset;
    };
    // With `ForInsert`, a position just past a block's last item is found in
    // that block; otherwise in the next non-empty block.
    template <bool ForInsert>
    Location locate(std::size_t position) const;
    void layOut(const std::vector<std::uint32_t>& items);
    void relayOut();
    void grow(std::size_t b) {
        ++blockSizes_[b];
        ++groupSizes_[b / kGroupBlocks];
        ++size_;
    }
    void shrink(std::size_t b);
    // The first item of block `b`'s run.
    std::uint32_t* block(std::size_t b) {
        return slots_.data() + b * kBlockCapacity + blockBegins_[b];
    }
    const std::uint32_t* block(std::size_t b) const {
        return slots_.data() + b * kBlockCapacity + blockBegins_[b];
    }
    bool roomAtEnd(std::size_t b) const {
        return blockBegins_[b] + blockSizes_[b] < kBlockCapacity;
    }

    std::vector<std::uint32_t> slots_;
    std::vector<std::uint32_t> blockSizes_;
    std::vector<std::uint32_t> blockBegins_;  // where each block's run starts
    std::vector<std::uint32_t> groupSizes_;
    std::size_t size_ = 0;
    std::size_t firstUsed_ = 0;  // every block before it is empty
    std::size_t lastUsed_ = 0;   // every block after it is empty
};

}  // namespace numbrook::detail
