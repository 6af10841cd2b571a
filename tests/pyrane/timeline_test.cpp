#include "pyrane/timeline.h"

#include <gtest/gtest.h>

#include <vector>

#include "pyrane/timelinesprite.h"

using namespace Pyrane;
using Key = Timeline<float>::Keyframe;

namespace {

constexpr auto ABS = Timeline<float>::ABSOLUTE;
constexpr auto REL = Timeline<float>::RELATIVE;

Timeline<float> track(const std::vector<Key>& keys, bool loop) {
    Timeline<float> t;
    for (const Key& key : keys)
        t.addKey(key);
    t.loop(loop);
    return t;
}

// From 0 to `to` in one second.
Timeline<float> ramp(float to, bool loop = true) {
    return track({{0, 0, ABS}, {1, to, ABS}}, loop);
}

} // namespace

TEST(Timeline, Sequences) {
    const struct {
        const char* name;
        std::vector<Key> keys;
        bool loop;
        double dt;
        std::vector<float> seen;
    } cases[] = {
        {"once", {{0, 0, ABS}, {1, 10, ABS}}, false, 0.25, {2.5f, 5, 7.5f, 10, 10, 10}},
        // The wrapping update leaves the variable alone; the next takes it as the base.
        {"looping", {{0, 0, ABS}, {1, 10, ABS}}, true, 0.25, {2.5f, 5, 7.5f, 7.5f, 2.5f, 5}},
        {"relative", {{0, 1, ABS}, {1, 4, REL}, {2, -2, REL}}, false, 0.5, {3, 5, 4, 3, 3}},
        // Sorted by time, keys of equal time in the order they were added.
        {"out of order", {{1, 10, ABS}, {0, 0, ABS}, {1, 20, ABS}}, false, 0.5, {5, 20, 20}},
        // Before a late first key the variable holds.
        {"late first key", {{1, 0, ABS}, {2, 10, ABS}}, false, 0.5, {4, 0, 5}},
    };
    for (const auto& c : cases) {
        float v = 4;
        Timeline<float> t = track(c.keys, c.loop);
        t.targetObject(v);
        std::vector<float> seen;
        for (std::size_t i = 0; i < c.seen.size(); ++i) {
            t.animate(c.dt);
            seen.push_back(v);
        }
        EXPECT_EQ(seen, c.seen) << c.name;
    }
}

TEST(Timeline, FinishedOrUnaimedTracksChangeNothing) {
    float v = 0;
    Timeline<float> t = ramp(10, false);
    t.animate(0.5);
    EXPECT_EQ(t.time(), 0);
    t.targetObject(v);
    t.animate(1);
    v = 3;
    t.animate(0.25);
    EXPECT_EQ(v, 3);
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
