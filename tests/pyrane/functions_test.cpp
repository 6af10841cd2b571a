#include "pyrane/functions.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Functions, DistanceIsTheBiasedOctagonalApproximationAndDegreesGoThroughTwoDecimalPi) {
    EXPECT_EQ(Pyrane::distance(5, 5, 5, 5), 0.5f);
    EXPECT_EQ(Pyrane::distance(3, 4, 0, 0), 5.5693359375f);
    // Along an axis the correction is left out: (1007 * 100 + 512) / 1024.
    EXPECT_EQ(Pyrane::distance(0, 100, 0, 0), 98.83984375f);
    EXPECT_EQ(Pyrane::radToDeg(Pyrane::PI), 180.0f);
}

TEST(Functions, RandomCoversTheClosedRangeIn15BitSteps) {
    // Here min + 32767 * ((max - min) / 32767) rounds past max; and steps of 1.
    for (auto [min, max] : {std::pair{-30.0f, -13.8f}, {0.0f, 32767.0f}}) {
        bool sawMin = false, sawMax = false;
        // Both ends come up within some 32768 draws of 15 bits.
        for (int i = 0; i < 1000000 && !(sawMin && sawMax); ++i) {
            const float r = Pyrane::random(min, max);
            ASSERT_TRUE(r >= min && r <= max && (max != 32767.0f || r == std::floor(r))) << r;
            sawMin |= r == min;
            sawMax |= r == max;
        }
        EXPECT_TRUE(sawMin && sawMax) << min << ".." << max;
    }
}
