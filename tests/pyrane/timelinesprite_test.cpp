#include "pyrane/timelinesprite.h"

#include <gtest/gtest.h>

#include <memory>

using Pyrane::Timeline;
using Pyrane::TimelineSprite;
using Key = Timeline<float>::Keyframe;

namespace {

Timeline<float> ramp(float to) {
    Timeline<float> t;
    t.addKey(Key(0, 0, Timeline<float>::ABSOLUTE));
    t.addKey(Key(1, to, Timeline<float>::ABSOLUTE));
    return t;
}

} // namespace

TEST(TimelineSprite, SetTimelineKeepsOneTimelinePerVariable) {
    TimelineSprite s;
    float outside = 0;
    auto first = ramp(10);
    auto second = ramp(20);
    s.setTimeline(outside, first);
    EXPECT_EQ(first.target(), &outside); // the caller's timeline is aimed too
    s.setTimeline(outside, second);
    ASSERT_EQ(s.timelines().size(), 1u);
    s.animate(0.5);
    EXPECT_FLOAT_EQ(outside, 10); // the second one, half way

    float other = 0;
    s.setTimeline(other, first);
    EXPECT_EQ(s.timelines().size(), 2u);
}

TEST(TimelineSprite, StoresACopyThatStartsFromTheBeginning) {
    TimelineSprite s;
    float v = 0;
    auto t = ramp(10);
    t.targetObject(v);
    t.animate(0.5);
    s.setTimeline(v, t);
    s.animate(0.25);
    EXPECT_FLOAT_EQ(v, 2.5f);
    // Growing the list keeps the progress of the stored timelines.
    float more[8] = {};
    for (float& m : more)
        s.setTimeline(m, t);
    s.animate(0.25);
    EXPECT_FLOAT_EQ(v, 5);
}

TEST(TimelineSprite, PausingFreezesTimelinesButNotMotion) {
    TimelineSprite s;
    float v = 0;
    auto t = ramp(10);
    s.setTimeline(v, t);
    s.vel(10, 0);
    s.pause(true);
    s.animate(0.5);
    EXPECT_EQ(v, 0);
    EXPECT_FLOAT_EQ(s.pos().x, 5);
    s.pause(false);
    s.animate(0.5);
    EXPECT_FLOAT_EQ(v, 5);
    EXPECT_FLOAT_EQ(s.pos().x, 10);
}

TEST(TimelineSprite, RewindsAllOrOnlyTheTracksThatDoNotLoop) {
    TimelineSprite s;
    float once = 0, looping = 0;
    auto a = ramp(10);
    a.loop(false);
    auto b = ramp(10);
    s.setTimeline(once, a);
    s.setTimeline(looping, b);
    s.animate(0.5);
    s.rewindNonLoopingTimelines();
    EXPECT_EQ(s.timelines()[0].time(), 0);
    EXPECT_DOUBLE_EQ(s.timelines()[1].time(), 0.5);
    s.rewindAllTimelines();
    EXPECT_EQ(s.timelines()[1].time(), 0);
}

TEST(TimelineSprite, CopiesDriveTheCopysOwnFields) {
    // Drives every field that copies follow, and one variable elsewhere.
    struct Driven : TimelineSprite {
        void driveAll(Timeline<float>& t) {
            for (float* f :
                 {&_pos.x, &_pos.y, &_vel.value, &_vel.angle, &_accel, &_color.r, &_color.g,
                  &_color.b, &_color.a, &_imageRotation, &_imageScale.x, &_imageScale.y})
                setTimeline(*f, t);
        }
    };
    auto fields = [](const Pyrane::Sprite& s) {
        return std::vector<float>{s.pos().x,         s.pos().y,        s.vel().value,
                                  s.vel().angle,     s.accel(),        s.color().r,
                                  s.color().g,       s.color().b,      s.color().a,
                                  s.imageRotation(), s.imageScale().x, s.imageScale().y};
    };
    Driven s;
    float outside = 0;
    Timeline<float> t = ramp(1);
    s.driveAll(t);
    s.setTimeline(outside, t);
    s.animate(0.5);
    EXPECT_EQ(fields(s), std::vector<float>(12, 0.5f));

    std::unique_ptr<Pyrane::Sprite> copy(s.duplicate());
    auto* timed = dynamic_cast<TimelineSprite*>(copy.get());
    ASSERT_NE(timed, nullptr);
    ASSERT_EQ(timed->timelines().size(), 13u);
    EXPECT_EQ(timed->timelines().back().target(), &outside);
    // The copies start from the beginning and drive the copy's fields, the last one
    // still the variable elsewhere.
    timed->animate(0.25);
    EXPECT_EQ(fields(*timed), std::vector<float>(12, 0.25f));
    EXPECT_EQ(fields(s), std::vector<float>(12, 0.5f));
    EXPECT_FLOAT_EQ(outside, 0.25f);
}
