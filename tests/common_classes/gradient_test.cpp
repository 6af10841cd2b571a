#include <gtest/gtest.h>

#include <vector>

#include "common_classes/gradient.h"

namespace {

Gradient<float> bombCurve() {
    Gradient<float> curve;
    curve.addEntry(0, 50);
    curve.addEntry(70, 50);
    curve.addEntry(71, 0);
    return curve;
}

TEST(Gradient, BombCurveIsFlatThenRampsDownWithinOneUnit) {
    const Gradient<float> curve = bombCurve();
    EXPECT_EQ(curve.count(), 3);
    EXPECT_EQ(curve.value(-5), 50.0f);
    EXPECT_EQ(curve.value(0), 50.0f);
    EXPECT_EQ(curve.value(35), 50.0f);
    EXPECT_EQ(curve.value(70), 50.0f);
    EXPECT_EQ(curve.value(70.5f), 25.0f);
    EXPECT_EQ(curve.value(71), 0.0f);
    EXPECT_EQ(curve.value(1000), 0.0f);
}

TEST(Gradient, InterpolatesLinearlyAndIsExactAtTheKeys) {
    Gradient<float> curve;
    curve.addEntry(0, 3);
    curve.addEntry(400, 20);
    curve.addEntry(500, -10);
    EXPECT_EQ(curve.value(0), 3.0f);
    EXPECT_EQ(curve.value(100), 7.25f);
    EXPECT_EQ(curve.value(400), 20.0f);
    EXPECT_EQ(curve.value(450), 5.0f);
    EXPECT_EQ(curve.value(500), -10.0f);
}

TEST(Gradient, SinglePointIsConstant) {
    Gradient<float> curve;
    curve.addEntry(5, 2);
    for (float x : {-100.0f, 4.99f, 5.0f, 5.01f, 1e9f})
        EXPECT_EQ(curve.value(x), 2.0f) << x;
}

TEST(Gradient, OrderOfAddingDoesNotMatter) {
    Gradient<float> inOrder;
    inOrder.addEntry(0, 10);
    inOrder.addEntry(50, 0);
    inOrder.addEntry(100, 100);
    Gradient<float> shuffled;
    shuffled.addEntry(100, 100);
    shuffled.addEntry(0, 10);
    shuffled.addEntry(50, 0);
    for (float x = -10; x <= 110; x += 2.5f)
        EXPECT_EQ(inOrder.value(x), shuffled.value(x)) << x;
}

TEST(Gradient, EqualKeysJumpAndTheLaterPointWinsAtTheKey) {
    Gradient<float> curve;
    curve.addEntry(10, 5);
    curve.addEntry(0, 0);
    curve.addEntry(10, 100);
    curve.addEntry(20, 100);
    EXPECT_EQ(curve.count(), 4);
    EXPECT_EQ(curve.value(5), 2.5f);
    EXPECT_NEAR(curve.value(9.99f), 5.0f, 0.01f);
    EXPECT_EQ(curve.value(10), 100.0f);
    EXPECT_EQ(curve.value(15), 100.0f);
    // The later point wins whichever way round the keys were added.
    Gradient<float> reversed;
    reversed.addEntry(10, 100);
    reversed.addEntry(10, 5);
    reversed.addEntry(0, 0);
    EXPECT_EQ(reversed.value(10), 5.0f);
    EXPECT_NEAR(reversed.value(9.99f), 100.0f * 0.999f, 0.01f);
}

TEST(Gradient, CopiesAreIndependentValues) {
    std::vector<Gradient<float>> curves(2);
    curves[0].addEntry(-0.01f, 0);
    curves[0].addEntry(100, 10);
    Gradient<float> copy = curves[0];
    curves[0].addEntry(50, 1000);
    curves.push_back(copy);
    EXPECT_EQ(copy.count(), 2);
    EXPECT_NEAR(curves[2].value(50), 5.0f, 0.001f);
    EXPECT_EQ(curves[0].value(50), 1000.0f);
    EXPECT_EQ(curves[1].value(50), 0.0f);
}

} // namespace
