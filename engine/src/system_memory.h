#pragma once

#include <cstdint>

namespace numbrook::detail {

// Whether a shuffled run of `values` distinct values and `items` items in
// all can be held in memory: an index per item (twice, while the shuffle
// moves them between its two halves) and each value's text once.
bool shuffleFitsInMemory(std::uint64_t values, std::uint64_t items);

}  // namespace numbrook::detail
