#include <gtest/gtest.h>

#include <vector>

#include "common_classes/radvector2.h"
#include "common_classes/vector2.h"

namespace {

using V = Vector2<float>;

TEST(Vector2, NormScalesToUnitLengthInPlaceAndReturnsTheVector) {
    V v(3.0f, -4.0f);
    EXPECT_FLOAT_EQ(v.abs(), 5.0f);
    V& same = v.norm();
    EXPECT_EQ(&same, &v);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, -0.8f);
    EXPECT_FLOAT_EQ(v.abs(), 1.0f);
}

TEST(Vector2, PointInsideConvexAndConcavePolygons) {
    const std::vector<V> square{{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    EXPECT_TRUE(V(5, 5).pointInsidePolygon(square));
    EXPECT_TRUE(V(0.5f, 9.5f).pointInsidePolygon(square));
    EXPECT_FALSE(V(-1, 5).pointInsidePolygon(square));
    EXPECT_FALSE(V(11, 5).pointInsidePolygon(square));
    EXPECT_FALSE(V(5, 10.5f).pointInsidePolygon(square));
    EXPECT_FALSE(V(5, -0.5f).pointInsidePolygon(square));

    // A "U" open at the top: the notch between the arms is outside.
    const std::vector<V> u{{0, 0},   {30, 0},  {30, 30}, {20, 30},
                           {20, 10}, {10, 10}, {10, 30}, {0, 30}};
    EXPECT_TRUE(V(5, 20).pointInsidePolygon(u));
    EXPECT_TRUE(V(25, 20).pointInsidePolygon(u));
    EXPECT_TRUE(V(15, 5).pointInsidePolygon(u));
    EXPECT_FALSE(V(15, 20).pointInsidePolygon(u));
    // Rays through vertices: each vertex counts once, for the edge whose lower end it is.
    const std::vector<V> diamond{{0, -10}, {10, 0}, {0, 10}, {-10, 0}};
    EXPECT_TRUE(V(0, 0).pointInsidePolygon(diamond));
    EXPECT_FALSE(V(-20, 0).pointInsidePolygon(diamond));
    EXPECT_FALSE(V(-20, 10).pointInsidePolygon(diamond));
    // The same polygon wound the other way gives the same answers.
    const std::vector<V> reversed(u.rbegin(), u.rend());
    EXPECT_FALSE(V(15, 20).pointInsidePolygon(reversed));
    EXPECT_TRUE(V(5, 20).pointInsidePolygon(reversed));
}

TEST(Vector2, PointInsideDegeneratePolygonsIsFalse) {
    EXPECT_FALSE(V(0, 0).pointInsidePolygon({}));
    EXPECT_FALSE(V(0, 0).pointInsidePolygon({{0, 0}}));
    // A flat polygon has no edge that straddles any horizontal line.
    EXPECT_FALSE(V(1, 0).pointInsidePolygon({{0, 0}, {5, 0}, {10, 0}}));
}

TEST(RadVector2, FromCartesianAndBack) {
    const RadVector2<float> up(V(0.0f, 1.0f));
    EXPECT_FLOAT_EQ(up.value, 1.0f);
    EXPECT_NEAR(up.angle, 1.5707963f, 1e-6f);
    const V back = up.toVector2();
    EXPECT_NEAR(back.x, 0.0f, 1e-6f);
    EXPECT_NEAR(back.y, 1.0f, 1e-6f);

    const RadVector2<float> down(V(0.0f, -2.0f));
    EXPECT_NEAR(down.angle, -1.5707963f, 1e-6f);
    const V v = RadVector2<float>(V(-3.0f, 4.0f)).toVector2();
    EXPECT_NEAR(v.x, -3.0f, 1e-5f);
    EXPECT_NEAR(v.y, 4.0f, 1e-5f);
}

TEST(RadVector2, SetNeverStoresANegativeLengthButTheConstructorStoresAsGiven) {
    RadVector2<float> v;
    v.set(-3.0f, 0.7f);
    EXPECT_EQ(v.value, 0.0f);
    EXPECT_EQ(v.angle, 0.7f);
    v.set(2.5f, -1.57f);
    EXPECT_EQ(v.value, 2.5f);
    EXPECT_EQ(v.angle, -1.57f);

    const RadVector2<float> raw(-1.0f, 2.0f);
    EXPECT_EQ(raw.value, -1.0f);
}

TEST(RadVector2, AddingChangesLengthAndAngleSeparately) {
    RadVector2<float> v(10.0f, 0.0f);
    v += RadVector2<float>(5.0f, 1.5f);
    EXPECT_FLOAT_EQ(v.value, 15.0f);
    EXPECT_FLOAT_EQ(v.angle, 1.5f);
}

} // namespace
