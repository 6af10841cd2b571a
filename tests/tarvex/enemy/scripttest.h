#pragma once
// Helpers for the script tests: scripts written as one expression, the game's usual
// frame step, and a tracker of the smallest and largest value a random draw gave.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace ScriptTest {

constexpr double dt = 1.0 / 60.0;

template <typename Script, typename... Commands> Script scriptOf(const Commands&... commands) {
    Script script;
    (script.command(commands), ...);
    return script;
}

// Every value seen must lie in [lo, hi], and over enough draws the values must come
// within 2 % of the width of both ends.
struct Range {
    Range(double lo, double hi) : lo(lo), hi(hi) {}
    void add(double v) {
        EXPECT_GE(v, lo);
        EXPECT_LE(v, hi);
        min = std::min(min, v);
        max = std::max(max, v);
    }
    // `slack` widens the margin for values counted in whole steps.
    void expectBothEndsReached(double slack = 0) const {
        const double margin = (hi - lo) * 0.02 + slack;
        EXPECT_LT(min, lo + margin);
        EXPECT_GT(max, hi - margin);
    }
    double lo, hi;
    double min = std::numeric_limits<double>::max();
    double max = std::numeric_limits<double>::lowest();
};

} // namespace ScriptTest
