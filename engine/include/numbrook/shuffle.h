#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "numbrook/check_digit.h"

namespace numbrook {

// Milliseconds since the system started, wrapping at 32 bits.
using MillisecondClock = std::function<std::uint32_t()>;
std::uint32_t MillisecondsSinceStart();

// The shuffle's random source: a linear congruential generator reseeded
// from the millisecond clock and a process-wide seed counter before every
// draw. The counter is what tells apart draws made in the same millisecond.
class ShuffleRng {
public:
    explicit ShuffleRng(MillisecondClock clock = MillisecondsSinceStart,
                        std::uint32_t seedCounter = 0);

    // Reseeds, then draws an integer from 1 to m (m >= 1).
    std::uint32_t reseedAndDraw(std::uint32_t m);
    std::uint32_t seedCounter() const { return seedCounter_; }

private:
    MillisecondClock clock_;
    std::uint32_t seedCounter_;
};

// Reorders `items` in place: n times, the items at positions 1 and 2, then
// those at positions n and n-1, are each taken out and put back at a drawn
// position from 1 to n-1. Lists of two items or fewer stay as they are.
// `progress`, when given, hears the number of moves made now and then (a
// shuffle makes four moves per item).
void ShuffleBatch(std::vector<std::uint32_t>& items, ShuffleRng& rng,
                  const std::function<void(std::uint64_t moves)>& progress = {});

}  // namespace numbrook
