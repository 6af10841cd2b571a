#include <gtest/gtest.h>

#include "common_classes/aabb2.h"
#include "common_classes/radvector2.h"
#include "common_classes/vector2.h"

namespace {

using V = Vector2<float>;
using Box = Vell::AABB2<float>;
using IBox = Vell::AABB2<int>;

TEST(RadVector2, AngleFromPlusXTowardsPlusYAndLengthNeverNegative) {
    EXPECT_NEAR(RadVector2<float>(V(0.0f, 2.0f)).angle, 1.5707963f, 1e-6f);
    RadVector2<float> v;
    v.set(-3.0f, 0.7f);
    EXPECT_EQ(v.value, 0.0f);
    EXPECT_EQ(v.angle, 0.7f);
    // Adding speeds up and turns: length to length, angle to angle.
    v += RadVector2<float>(5.0f, 1.5f);
    EXPECT_FLOAT_EQ(v.value, 5.0f);
    EXPECT_FLOAT_EQ(v.angle, 2.2f);
}

TEST(AABB2, IntersectsIsClosedAndPointInsideHalfOpen) {
    const Box a(0, 0, 10, 10);
    // Sharing an edge or a corner counts, in either order; a hair apart does not.
    EXPECT_TRUE(a.intersects(Box(10, 10, 20, 20)));
    EXPECT_TRUE(Box(-5, -5, 0, 0).intersects(a));
    EXPECT_TRUE(Box(2, 2, 3, 3).intersects(a));
    EXPECT_FALSE(a.intersects(Box(10.01f, 0, 20, 10)));
    EXPECT_FALSE(a.intersects(Box(0, -5, 10, -0.01f)));
    EXPECT_FALSE(IBox(0, 0, 31, 31).intersects(IBox(32, 0, 40, 5)));

    EXPECT_TRUE(a.pointInside({0, 0}));
    EXPECT_TRUE(a.pointInside({9.99f, 9.99f}));
    EXPECT_FALSE(a.pointInside({10, 5}));
    EXPECT_FALSE(a.pointInside({5, 10}));
}

TEST(AABB2, IntersectionIsTheOverlapAndInvalidForApartBoxes) {
    EXPECT_EQ(IBox(0, 0, 10, 10) & IBox(5, -5, 20, 8), IBox(5, 0, 10, 8));
    // Touching boxes share a line, which is still a valid box.
    EXPECT_TRUE((IBox(0, 0, 10, 10) & IBox(10, 0, 20, 10)).isValid());
    EXPECT_EQ(IBox(0, 0, 10, 10) & IBox(20, 20, 30, 30), IBox(20, 20, 10, 10));
    EXPECT_FALSE((IBox(0, 0, 10, 10) & IBox(20, 20, 30, 30)).isValid());
    EXPECT_FALSE((IBox(0, 0, 10, 10) & IBox(0, 11, 10, 20)).isValid());
    EXPECT_FALSE((IBox(0, 0, 10, 10) & IBox(11, 0, 20, 10)).isValid());
}

} // namespace
