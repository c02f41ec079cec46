#include "core/base/Random.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace velmor;

namespace {
RandomWords seeded(quint32 seed) {
    auto generator = std::make_shared<QRandomGenerator>(seed);
    return [generator] { return generator->generate64(); };
}

// Replays fixed words, to reach the edges of the draw.
RandomWords replay(std::vector<std::uint64_t> words) {
    auto queue = std::make_shared<std::vector<std::uint64_t>>(std::move(words));
    auto index = std::make_shared<size_t>(0);
    return [queue, index] { return (*queue)[(*index)++ % queue->size()]; };
}
} // namespace

TEST(Random, UniformBelowRejectsTheBiasedTail) {
    // For bound 3, 2^64 mod 3 == 1, so the single top word must be rejected, not folded onto 0.
    const std::uint64_t top = ~std::uint64_t(0);
    EXPECT_EQ(uniformBelow(replay({top, 4}), 3), 1u);
    EXPECT_EQ(uniformBelow(replay({top - 1, 4}), 3), (top - 1) % 3);
    EXPECT_EQ(uniformBelow(replay({123}), 1), 0u);
}

TEST(Random, UniformBelowIsFlatOverManyDraws) {
    const auto words = seeded(7);
    std::vector<int> counts(7, 0);
    const int draws = 70000;
    for (int i = 0; i < draws; ++i)
        ++counts[uniformBelow(words, 7)];
    for (int c : counts)
        EXPECT_NEAR(c, draws / 7, 400); // about 4.5 standard deviations
}

TEST(Random, ClosedRangeReachesBothEndsAndStaysInside) {
    constexpr std::uint64_t twoTo53 = std::uint64_t(1) << 53;
    EXPECT_EQ(uniformClosed(replay({0}), 900, 1800), 900.0);
    EXPECT_EQ(uniformClosed(replay({twoTo53}), 900, 1800), 1800.0);
    EXPECT_EQ(uniformClosed(replay({twoTo53 / 2}), 900, 1800), 1350.0);
}
