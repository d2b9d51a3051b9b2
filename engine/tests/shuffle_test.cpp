#include "numbrook/shuffle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "front_list.h"

namespace numbrook {
namespace {

// The shuffle as a plain list of moves, each one an erase and an insert in
// an array; the engine's version must give the same order.
void shuffleByPlainMoves(std::vector<std::uint32_t>& list, const MillisecondClock& clock,
                         std::uint32_t& seedCounter) {
    const std::size_t n = list.size();
    if (n <= 2) return;
    const auto move = [&](std::size_t position) {
        const std::uint32_t item = list[position];
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(position));
        const std::uint32_t seed = clock() + seedCounter;
        seedCounter = seedCounter + seed % 256 + 100;
        std::uint32_t state = seed;
        state = state * 214013u + 2531011u;
        const std::uint32_t g = (state >> 16) & 0x7FFF;
        const std::uint32_t r = 1 + g % static_cast<std::uint32_t>(n - 1);
        list.insert(list.begin() + (r - 1), item);
    };
    for (std::size_t i = 0; i < n; ++i) {
        move(0);
        move(1);
        move(n - 1);
        move(n - 2);
    }
}

std::vector<std::uint32_t> iota(std::size_t n) {
    std::vector<std::uint32_t> v(n);
    std::iota(v.begin(), v.end(), 0u);
    return v;
}

struct ClockPattern {
    const char* name;
    std::function<MillisecondClock()> make;
};

const ClockPattern kClocks[] = {
    {"Frozen", [] { return MillisecondClock([] { return 1000u; }); }},
    {"Ticking", [] { return MillisecondClock([t = 0u]() mutable { return t++ / 3; }); }},
    {"Wrapping", [] { return MillisecondClock([t = 0xFFFFFF00u]() mutable { return t++; }); }},
    {"Jumping",
     [] {
         return MillisecondClock(
             [rng = std::mt19937(7)]() mutable { return static_cast<std::uint32_t>(rng()); });
     }},
};

class ShuffleOrderTest : public testing::TestWithParam<std::tuple<std::size_t, int>> {};

TEST_P(ShuffleOrderTest, MatchesThePlainMoves) {
    const auto [n, clockIndex] = GetParam();
    const ClockPattern& pattern = kClocks[clockIndex];
    std::vector<std::uint32_t> expected = iota(n);
    // Repeated items, as copies make them.
    for (auto& v : expected) v /= 3;
    std::vector<std::uint32_t> actual = expected;

    std::uint32_t expectedCounter = 12345;
    shuffleByPlainMoves(expected, pattern.make(), expectedCounter);
    ShuffleRng rng(pattern.make(), 12345);
    ShuffleBatch(actual, rng);

    EXPECT_EQ(actual, expected) << pattern.name << ", " << n << " items";
    EXPECT_EQ(rng.seedCounter(), expectedCounter);
}

std::string shuffleCaseName(const testing::TestParamInfo<std::tuple<std::size_t, int>>& info) {
    return std::string(kClocks[std::get<1>(info.param)].name) + "_" +
           std::to_string(std::get<0>(info.param));
}

INSTANTIATE_TEST_SUITE_P(ShortLists, ShuffleOrderTest,
                         testing::Combine(testing::Values<std::size_t>(0, 1, 2, 3, 4, 5, 17, 600,
                                                                       3000),
                                          testing::Range(0, 4)),
                         shuffleCaseName);

// Past 32769 items the draws no longer reach the end of the list.
INSTANTIATE_TEST_SUITE_P(LongLists, ShuffleOrderTest,
                         testing::Combine(testing::Values<std::size_t>(32768, 32769, 32770, 36000),
                                          testing::Values(1, 3)),
                         shuffleCaseName);

TEST(ShuffleBatch, ShortListsStayAsTheyAre) {
    ShuffleRng rng([] { return 0u; });
    for (std::size_t n = 0; n <= 2; ++n) {
        auto list = iota(n);
        ShuffleBatch(list, rng);
        EXPECT_EQ(list, iota(n));
    }
    EXPECT_EQ(rng.seedCounter(), 0u) << "no draw for lists of two items or fewer";
}

TEST(ShuffleBatch, ThreeItemsMakeTwelveDrawsAndKeepTheirItems) {
    int draws = 0;
    ShuffleRng rng([&] {
        ++draws;
        return 5u;
    });
    auto list = iota(3);
    ShuffleBatch(list, rng);
    EXPECT_EQ(draws, 12);
    auto sorted = list;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, iota(3));
}

TEST(ShuffleBatch, SameClockAndCounterGiveTheSameOrder) {
    auto a = iota(500), b = iota(500);
    ShuffleRng first([] { return 77u; }, 9), second([] { return 77u; }, 9);
    ShuffleBatch(a, first);
    ShuffleBatch(b, second);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, iota(500));
}

TEST(ShuffleRng, DrawFollowsTheGenerator) {
    // seed = 10 + 0; state = 10 * 214013 + 2531011 = 4671141; g = 71 & 0x7FFF.
    ShuffleRng rng([] { return 10u; });
    EXPECT_EQ(rng.reseedAndDraw(1000), 1u + 71u % 1000u);
    EXPECT_EQ(rng.seedCounter(), 10u % 256u + 100u);
}

TEST(FrontList, AgreesWithAVectorUnderRandomEdits) {
    std::mt19937 random(3);
    std::vector<std::uint32_t> model = iota(2000);
    detail::FrontList list;
    list.assign(model.begin(), model.end());
    for (int i = 0; i < 400000; ++i) {
        const auto value = static_cast<std::uint32_t>(i);
        switch (model.empty() ? 0 : random() % 4) {
            case 0: {
                const std::size_t at = random() % (model.size() + 1);
                model.insert(model.begin() + static_cast<std::ptrdiff_t>(at), value);
                list.insert(at, value);
                break;
            }
            case 1: {
                // Mostly near the front, where the shuffle takes its items.
                const std::size_t at = random() % 3
                                           ? random() % std::min<std::size_t>(2, model.size())
                                           : random() % model.size();
                ASSERT_EQ(list.erase(at), model[at]);
                model.erase(model.begin() + static_cast<std::ptrdiff_t>(at));
                break;
            }
            case 2:
                model.push_back(value);
                list.push_back(value);
                break;
            default:
                ASSERT_EQ(list.pop_back(), model.back());
                model.pop_back();
                break;
        }
        ASSERT_EQ(list.size(), model.size());
    }
    std::vector<std::uint32_t> out;
    list.appendTo(out);
    EXPECT_EQ(out, model);

    // Emptied from both ends and filled again from both ends: blocks that ran
    // dry at either edge take items again.
    while (!model.empty()) {
        if (model.size() % 2) {
            ASSERT_EQ(list.erase(0), model.front());
            model.erase(model.begin());
        } else {
            ASSERT_EQ(list.pop_back(), model.back());
            model.pop_back();
        }
    }
    ASSERT_EQ(list.size(), 0u);
    for (std::uint32_t value = 0; value < 3000; ++value) {
        if (value % 3) {
            list.push_back(value);
            model.push_back(value);
        } else {
            list.insert(0, value);
            model.insert(model.begin(), value);
        }
    }
    out.clear();
    list.appendTo(out);
    EXPECT_EQ(out, model);
}

}  // namespace
}  // namespace numbrook
