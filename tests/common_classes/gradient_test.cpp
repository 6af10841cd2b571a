#include "common_classes/gradient.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Points = std::vector<std::pair<float, float>>;

Gradient<float> curveOf(const Points& points) {
    Gradient<float> curve;
    for (auto [key, value] : points)
        curve.addEntry(key, value);
    return curve;
}

TEST(Gradient, FlatOutsideTheKeysLinearBetweenAndTheLaterPointWinsAtAJump) {
    struct Case {
        const char* name;
        Points points;
        Points expected; // x, value
    };
    const Case cases[] = {
        {"bomb curve",
         {{0, 50}, {70, 50}, {71, 0}},
         {{-5, 50}, {0, 50}, {35, 50}, {70, 50}, {70.5f, 25}, {71, 0}, {1000, 0}}},
        {"added out of order",
         {{500, -10}, {0, 3}, {400, 20}},
         {{-1, 3}, {100, 7.25f}, {400, 20}, {450, 5}, {600, -10}}},
        {"single point", {{5, 2}}, {{-100, 2}, {5, 2}, {1e9f, 2}}},
        {"equal keys", {{10, 5}, {0, 0}, {10, 100}, {20, 100}}, {{5, 2.5f}, {10, 100}, {15, 100}}},
        {"equal keys reversed", {{10, 100}, {10, 5}, {0, 0}}, {{5, 50}, {10, 5}, {15, 5}}},
    };
    for (const Case& c : cases) {
        const Gradient<float> curve = curveOf(c.points);
        for (auto [x, value] : c.expected)
            EXPECT_EQ(curve.value(x), value) << c.name << " at " << x;
    }
}

TEST(Gradient, CopiesAreIndependentValues) {
    Gradient<float> original = curveOf({{0, 0}, {100, 10}});
    const Gradient<float> copy = original;
    original.addEntry(50, 1000);
    EXPECT_EQ(copy.value(50), 5.0f);
    EXPECT_EQ(original.value(50), 1000.0f);
}

} // namespace
