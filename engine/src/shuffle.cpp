#include "numbrook/shuffle.h"

#include <algorithm>
#include <ctime>
#include <deque>

#include "front_list.h"

namespace numbrook {

std::uint32_t MillisecondsSinceStart() {
    // A shuffle reads the clock before every draw, tens of millions of times
    // in a long run; the coarse clock is read without a hardware counter and
    // still moves on every few milliseconds, like the tick counts of other
    // desktops.
    timespec now{};
#ifdef CLOCK_MONOTONIC_COARSE
    clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
#else
    clock_gettime(CLOCK_MONOTONIC, &now);
#endif
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

ShuffleRng::ShuffleRng(MillisecondClock clock, std::uint32_t seedCounter)
    : clock_(std::move(clock)), seedCounter_(seedCounter) {}

std::uint32_t ShuffleRng::reseedAndDraw(std::uint32_t m) {
    const std::uint32_t seed = clock_() + seedCounter_;
    seedCounter_ += seed % 256 + 100;
    const std::uint32_t state = seed * 214013u + 2531011u;
    const std::uint32_t g = (state >> 16) & 0x7FFFu;
    return 1 + g % m;
}

namespace {

// Every draw lands at a position of at most this, so only the front of a
// long list ever receives items.
constexpr std::size_t kHighestDrawnPosition = 32768;
constexpr std::size_t kProgressRounds = 16384;

// Items spill from the front part to the rest in batches of this many, so
// that most insertions move nothing between the two.
constexpr std::size_t kSpillBatch = 4096;

// The list as the shuffle sees it: at least the first kHighestDrawnPosition
// items in a structure that inserts and removes anywhere cheaply, the rest in
// a deque that is only ever touched at its two ends (items spill into it from
// the front part and leave it from the far end).
class ShuffleList {
public:
    explicit ShuffleList(std::vector<std::uint32_t>& items) {
        const std::size_t frontCount = std::min(items.size(), kHighestDrawnPosition);
        front_.assign(items.begin(), items.begin() + static_cast<std::ptrdiff_t>(frontCount));
        back_.assign(items.begin() + static_cast<std::ptrdiff_t>(frontCount), items.end());
        items.clear();
        items.shrink_to_fit();
    }

    std::size_t size() const { return front_.size() + back_.size(); }

    // Positions count from 0 here.
    std::uint32_t takeAt(std::size_t position) {
        if (position >= front_.size()) {
            // Only the last two positions are ever taken from the back part.
            const std::uint32_t last = back_.back();
            back_.pop_back();
            if (position == size()) return last;
            const std::uint32_t item = back_.back();
            back_.back() = last;
            return item;
        }
        const std::uint32_t item = front_.erase(position);
        if (front_.size() < kHighestDrawnPosition && !back_.empty()) {
            front_.push_back(back_.front());
            back_.pop_front();
        }
        return item;
    }

    void insertAt(std::size_t position, std::uint32_t item) {
        front_.insert(position, item);
        if (front_.size() > kHighestDrawnPosition + kSpillBatch) {
            for (std::size_t i = 0; i < kSpillBatch; ++i) back_.push_front(front_.pop_back());
        }
    }

    void moveOut(std::vector<std::uint32_t>& items) {
        items.reserve(size());
        front_.appendTo(items);
        items.insert(items.end(), back_.begin(), back_.end());
        back_.clear();
    }

private:
    detail::FrontList front_;
    std::deque<std::uint32_t> back_;
};

}  // namespace

void ShuffleBatch(std::vector<std::uint32_t>& items, ShuffleRng& rng,
                  const std::function<void(std::uint64_t moves)>& progress) {
    const std::size_t n = items.size();
    if (n <= 2) return;
    ShuffleList list(items);
    const auto highestDraw = static_cast<std::uint32_t>(std::min<std::size_t>(n - 1, UINT32_MAX));
    const auto move = [&](std::size_t position) {
        const std::uint32_t item = list.takeAt(position);
        list.insertAt(rng.reseedAndDraw(highestDraw) - 1, item);
    };
    for (std::size_t round = 0; round < n; ++round) {
        move(0);
        move(1);
        move(n - 1);
        move(n - 2);
        if (progress && (round + 1) % kProgressRounds == 0) progress(4 * (round + 1));
    }
    list.moveOut(items);
}

}  // namespace numbrook
