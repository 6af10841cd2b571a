#include "pyrane/timeline.h"

#include <gtest/gtest.h>

#include <vector>

using Pyrane::Timeline;
using Key = Timeline<float>::Keyframe;

namespace {

Timeline<float> ramp(float& target, bool loop) {
    Timeline<float> t;
    t.targetObject(target);
    t.addKey(Key(0, 0, Timeline<float>::ABSOLUTE));
    t.addKey(Key(1, 10, Timeline<float>::ABSOLUTE));
    t.loop(loop);
    return t;
}

std::vector<float> run(Timeline<float>& t, const float& value, int updates, double dt) {
    std::vector<float> seen;
    for (int i = 0; i < updates; ++i) {
        t.animate(dt);
        seen.push_back(value);
    }
    return seen;
}

} // namespace

TEST(Timeline, OnceRunsToTheLastKeyAndStaysThere) {
    float v = 99;
    auto t = ramp(v, false);
    EXPECT_EQ(run(t, v, 6, 0.25), (std::vector<float>{2.5f, 5, 7.5f, 10, 10, 10}));
    // A finished track no longer writes, even when the variable is changed elsewhere.
    v = 3;
    t.animate(0.25);
    EXPECT_EQ(v, 3);
    // Rewinding plays it again.
    t.rewind();
    t.animate(0.5);
    EXPECT_FLOAT_EQ(v, 5);
}

TEST(Timeline, LoopLeavesTheWrappingUpdateAloneAndRereadsTheBase) {
    float v = 99;
    auto t = ramp(v, true);
    EXPECT_EQ(run(t, v, 6, 0.25), (std::vector<float>{2.5f, 5, 7.5f, 7.5f, 2.5f, 5}));
    EXPECT_DOUBLE_EQ(t.time(), 0.5);
}

TEST(Timeline, RelativeKeysChangeByTheirValue) {
    float v = 0;
    Timeline<float> t;
    t.targetObject(v);
    t.loop(false);
    t.addKey(Key(0, 1, Timeline<float>::ABSOLUTE));
    t.addKey(Key(1, 4, Timeline<float>::RELATIVE));
    t.addKey(Key(2, -2, Timeline<float>::RELATIVE));
    EXPECT_EQ(run(t, v, 5, 0.5), (std::vector<float>{3, 5, 4, 3, 3}));
}

TEST(Timeline, KeysAddedOutOfOrderPlayInTimeOrderAndTiesKeepTheirOrder) {
    float v = 0;
    Timeline<float> t;
    t.targetObject(v);
    t.loop(false);
    t.addKey(Key(1, 10, Timeline<float>::ABSOLUTE));
    t.addKey(Key(0, 0, Timeline<float>::ABSOLUTE));
    t.addKey(Key(1, 20, Timeline<float>::ABSOLUTE));
    ASSERT_EQ(t.keys().size(), 3u);
    EXPECT_EQ(t.keys()[0].time, 0);
    EXPECT_EQ(t.keys()[1].value, 10);
    EXPECT_EQ(t.keys()[2].value, 20);
    t.animate(0.5);
    EXPECT_FLOAT_EQ(v, 5);
    t.animate(0.5);
    EXPECT_FLOAT_EQ(v, 20);
}

TEST(Timeline, AddingAKeyRestartsTheTrack) {
    float v = 0;
    auto t = ramp(v, false);
    t.animate(0.75);
    t.addKey(Key(2, 30, Timeline<float>::ABSOLUTE));
    EXPECT_EQ(t.time(), 0);
    t.animate(1.5);
    EXPECT_FLOAT_EQ(v, 20);
}

TEST(Timeline, WithoutTargetNothingHappens) {
    Timeline<float> t;
    t.addKey(Key(0, 0, Timeline<float>::ABSOLUTE));
    t.addKey(Key(1, 10, Timeline<float>::ABSOLUTE));
    t.animate(0.5);
    EXPECT_EQ(t.time(), 0);
}

TEST(Timeline, VariableHoldsBeforeALateFirstKey) {
    float v = 4;
    Timeline<float> t;
    t.targetObject(v);
    t.loop(false);
    t.addKey(Key(1, 0, Timeline<float>::ABSOLUTE));
    t.addKey(Key(2, 10, Timeline<float>::ABSOLUTE));
    EXPECT_EQ(run(t, v, 3, 0.5), (std::vector<float>{4, 0, 5}));
}

TEST(Timeline, ACopyStartsFromTheBeginningButAMoveKeepsItsPlace) {
    float v = 0;
    auto t = ramp(v, true);
    t.animate(0.5);

    Timeline<float> copy(t);
    EXPECT_EQ(copy.target(), &v);
    EXPECT_EQ(copy.time(), 0);
    EXPECT_TRUE(copy.loop());
    copy.animate(0.25);
    EXPECT_FLOAT_EQ(v, 2.5f);

    Timeline<float> assigned;
    assigned = t;
    EXPECT_EQ(assigned.time(), 0);
    EXPECT_EQ(assigned.keys().size(), 2u);

    Timeline<float> moved(std::move(t));
    EXPECT_DOUBLE_EQ(moved.time(), 0.5);
    moved.animate(0.25);
    EXPECT_FLOAT_EQ(v, 7.5f);
}
