#include "common_classes/gradient.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Points = std::vector<std::pair<float, float>>;

TEST(Gradient, FlatOutsideTheKeysLinearBetweenAndTheLaterPointWinsAtAJump) {
    const struct {
        const char* name;
        Points points, expected; // (key, value), then (x, value)
    } cases[] = {
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
    for (const auto& c : cases) {
        Gradient<float> curve;
        for (auto [key, value] : c.points)
            curve.addEntry(key, value);
        for (auto [x, value] : c.expected)
            EXPECT_EQ(curve.value(x), value) << c.name << " at " << x;
    }
}

} // namespace
