#include "pyrane/timeline.h"

#include <gtest/gtest.h>

#include <vector>

#include "pyrane/timelinesprite.h"

using namespace Pyrane;
using Key = Timeline<float>::Keyframe;

namespace {

constexpr auto ABS = Timeline<float>::ABSOLUTE;

// From 0 to `to` in one second, looping.
Timeline<float> ramp(float to) {
    Timeline<float> t;
    t.addKey(Key(0, 0, ABS));
    t.addKey(Key(1, to, ABS));
    return t;
}

} // namespace

// The game's blinks: absolute keys from time 0, looping.
TEST(Timeline, ALoopingTrackWrapsLeavingTheVariableForTheNextUpdateToTakeAsItsBase) {
    float v = 4;
    Timeline<float> t = ramp(10);
    t.targetObject(v);
    std::vector<float> seen;
    for (int i = 0; i < 6; ++i) {
        t.animate(0.25);
        seen.push_back(v);
    }
    EXPECT_EQ(seen, (std::vector<float>{2.5f, 5, 7.5f, 7.5f, 2.5f, 5}));
}

TEST(TimelineSprite, SetTimelineStoresOneFreshCopyPerVariable) {
    TimelineSprite s;
    float v = 0, other = 0;
    Timeline<float> first = ramp(10), second = ramp(20);
    second.targetObject(v);
    second.animate(0.5);
    s.setTimeline(v, first);
    EXPECT_EQ(first.target(), &v); // the caller's timeline is aimed too
    s.setTimeline(v, second);
    s.setTimeline(other, second);
    ASSERT_EQ(s.timelines().size(), 2u);
    s.animate(0.25);
    // The second one, from the beginning, replacing the first and added anew.
    EXPECT_FLOAT_EQ(v, 5);
    EXPECT_FLOAT_EQ(other, 5);
    // Growing the list keeps the progress of the stored timelines.
    float more[8] = {};
    for (float& m : more)
        s.setTimeline(m, first);
    s.animate(0.25);
    EXPECT_FLOAT_EQ(v, 10);
}
