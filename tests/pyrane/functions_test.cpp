#include <gtest/gtest.h>

#include <cmath>

#include "pyrane/functions.h"

namespace {

TEST(Functions, DistanceIsTheBiasedOctagonalApproximation) {
    EXPECT_EQ(Pyrane::distance(5, 5, 5, 5), 0.5f);
    EXPECT_EQ(Pyrane::distance(0, 0, 3, 4), 5.5693359375f);
    EXPECT_EQ(Pyrane::distance(3, 4, 0, 0), 5.5693359375f);
    EXPECT_EQ(Pyrane::distance(-1, 7, 3, 4), Pyrane::distance(3, 4, -1, 7));
    // Along an axis the correction is left out: (1007 * 100 + 512) / 1024.
    EXPECT_EQ(Pyrane::distance(0, 0, 100, 0), 98.83984375f);
    EXPECT_EQ(Pyrane::distance(0, 100, 0, 0), 98.83984375f);
    // Within a few percent of the true distance in every direction, plus the half unit.
    for (int degrees = 0; degrees < 360; degrees += 5) {
        const float a = degrees * 3.14159265f / 180.0f;
        const float d = Pyrane::distance(10, 20, 10 + 70 * std::cos(a), 20 + 70 * std::sin(a));
        EXPECT_NEAR(d, 70.5f, 70 * 0.04f) << degrees;
    }
}

TEST(Functions, RadToDegGoesThroughTheTwoDecimalPi) {
    EXPECT_EQ(Pyrane::radToDeg(Pyrane::PI), 180.0f);
    EXPECT_EQ(Pyrane::radToDeg(6.28f), 360.0f);
    EXPECT_EQ(Pyrane::radToDeg(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(Pyrane::radToDeg(-1.57f), -90.0f);
}

// Draws until both ends of the range have come up (which takes some 32768 draws on
// 15 bits) and checks that nothing left the closed range.
void expectClosedRangeWithBothEnds(float min, float max) {
    bool sawMin = false;
    bool sawMax = false;
    for (int i = 0; i < 1000000 && !(sawMin && sawMax); ++i) {
        const float r = Pyrane::random(min, max);
        ASSERT_GE(r, min);
        ASSERT_LE(r, max);
        sawMin |= r == min;
        sawMax |= r == max;
    }
    EXPECT_TRUE(sawMin) << min << ".." << max;
    EXPECT_TRUE(sawMax) << min << ".." << max;
}

TEST(Functions, RandomCoversTheClosedRange) {
    expectClosedRangeWithBothEnds(0.0f, 1.0f);
    // Here min + 32767 * ((max - min) / 32767) rounds past max.
    expectClosedRangeWithBothEnds(-30.0f, -13.8f);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(Pyrane::random(2.0f, 2.0f), 2.0f);
}

TEST(Functions, RandomIsUniformOn15Bits) {
    // random(0, 32767) returns the drawn step itself: a generator wider than 15 bits
    // used without reduction would land far outside.
    constexpr int draws = 200000;
    int buckets[4] = {};
    for (int i = 0; i < draws; ++i) {
        const float r = Pyrane::random(0.0f, 32767.0f);
        ASSERT_EQ(r, std::floor(r));
        ASSERT_LE(r, 32767.0f);
        ++buckets[static_cast<int>(r) / 8192];
    }
    for (int count : buckets)
        EXPECT_NEAR(count, draws / 4, draws / 4 * 0.05);
}

} // namespace
