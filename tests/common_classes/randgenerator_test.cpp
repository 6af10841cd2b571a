#include "common_classes/randgenerator.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace {

TEST(RandGenerator, MatchesTheReferenceScaledToTheUnitIntervalOverManyDraws) {
    RandGenerator fresh;
    for (int i = 0; i < 9999; ++i)
        fresh.rand();
    // The 10000th output of MT19937 for its default seed 5489, which the C++ standard
    // also requires of std::mt19937: that makes it the reference for other seeds.
    EXPECT_EQ(fresh.rand(), 4123659995.0 / 4294967295.0);
    for (std::uint32_t seed : {5489u, 0u, 1u, 1733191442u}) {
        RandGenerator g;
        g.seed(seed);
        std::mt19937 ref(seed);
        for (int i = 0; i < 100000; ++i)
            ASSERT_EQ(g.rand(), double(ref()) / 4294967295.0) << "seed " << seed << " draw " << i;
    }
}

TEST(RandGenerator, RangesHoldBothEndsInEitherOrder) {
    RandGenerator g;
    EXPECT_EQ(g.rand(3.25, 3.25), 3.25);
    for (int i = 0; i < 2000; ++i) {
        const double v = i % 2 ? g.rand(5, 1) : g(1, 5);
        ASSERT_TRUE(v >= 1.0 && v <= 5.0) << v;
    }
}

} // namespace
