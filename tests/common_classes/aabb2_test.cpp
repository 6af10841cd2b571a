#include <gtest/gtest.h>

#include "common_classes/aabb2.h"

namespace {

using Box = Vell::AABB2<float>;
using IBox = Vell::AABB2<int>;

TEST(AABB2, BoxesThatTouchAlongAnEdgeOrACornerIntersect) {
    const Box a(0, 0, 10, 10);
    EXPECT_TRUE(a.intersects(Box(10, 10, 20, 20)));
    EXPECT_TRUE(Box(10, 10, 20, 20).intersects(a));
    EXPECT_TRUE(a.intersects(Box(10, 3, 12, 4)));
    EXPECT_TRUE(a.intersects(Box(-5, -5, 0, 0)));
    EXPECT_TRUE(a.intersects(Box(2, 2, 3, 3)));
    EXPECT_TRUE(Box(2, 2, 3, 3).intersects(a));

    EXPECT_FALSE(a.intersects(Box(10.01f, 0, 20, 10)));
    EXPECT_FALSE(a.intersects(Box(0, -5, 10, -0.01f)));
    EXPECT_FALSE(a.intersects(Box(11, 11, 20, 20)));

    const IBox i(0, 0, 31, 31);
    EXPECT_TRUE(i.intersects(IBox(31, 0, 40, 5)));
    EXPECT_FALSE(i.intersects(IBox(32, 0, 40, 5)));
}

TEST(AABB2, PointInsideIncludesTheMinEdgesAndExcludesTheMaxEdges) {
    const Box a(0, 0, 10, 10);
    EXPECT_TRUE(a.pointInside({0, 0}));
    EXPECT_TRUE(a.pointInside({9.99f, 9.99f}));
    EXPECT_FALSE(a.pointInside({10, 5}));
    EXPECT_FALSE(a.pointInside({5, 10}));
    EXPECT_FALSE(a.pointInside({-0.01f, 5}));
}

TEST(AABB2, IntersectionOfOverlappingBoxesIsTheirOverlap) {
    const IBox overlap = IBox(0, 0, 10, 10) & IBox(5, -5, 20, 8);
    EXPECT_EQ(overlap, IBox(5, 0, 10, 8));
    EXPECT_TRUE(overlap.isValid());
    // Touching boxes share a line, which is still a valid box.
    const IBox line = IBox(0, 0, 10, 10) & IBox(10, 0, 20, 10);
    EXPECT_EQ(line, IBox(10, 0, 10, 10));
    EXPECT_TRUE(line.isValid());
}

TEST(AABB2, IntersectionOfApartBoxesIsInvalid) {
    const IBox apart = IBox(0, 0, 10, 10) & IBox(20, 20, 30, 30);
    EXPECT_EQ(apart.min, Vector2<int>(20, 20));
    EXPECT_EQ(apart.max, Vector2<int>(10, 10));
    EXPECT_FALSE(apart.isValid());
    // Apart on one axis only is enough.
    EXPECT_FALSE((IBox(0, 0, 10, 10) & IBox(0, 11, 10, 20)).isValid());
    EXPECT_FALSE((IBox(0, 0, 10, 10) & IBox(11, 0, 20, 10)).isValid());
}

TEST(AABB2, SizeIsTheDifferenceOfTheCorners) {
    EXPECT_EQ(IBox(0, 0, 31, 31).size(), Vector2<int>(31, 31));
    EXPECT_EQ(Vell::AABB2<unsigned int>(2, 3, 34, 19).size(), Vector2<unsigned int>(32, 16));
    EXPECT_EQ(Box(1.5f, 2, 4, 3).size(), Vector2<float>(2.5f, 1));
}

} // namespace
