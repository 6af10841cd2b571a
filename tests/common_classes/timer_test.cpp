#include "common_classes/timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

TEST(Timer, StepsMeasureRealTimeAndSumUp) {
    Timer t;
    t.reset(0);
    sleepMs(5);
    t.tick();
    EXPECT_GE(t.deltaTime(), 0.004);
    double first = t.deltaTime();
    sleepMs(2);
    t.tick();
    EXPECT_DOUBLE_EQ(t.totalTime(), first + t.deltaTime());
    t.reset(2.5);
    EXPECT_EQ(t.totalTime(), 2.5);
    EXPECT_EQ(t.deltaTime(), 0);
}

TEST(Timer, PausedIntervalNeverCounts) {
    Timer t;
    t.reset(1);
    t.pause(true);
    EXPECT_TRUE(t.pause());
    sleepMs(60);
    t.tick();
    EXPECT_EQ(t.deltaTime(), 0);
    EXPECT_EQ(t.totalTime(), 1);
    sleepMs(60);
    t.pause(false);
    t.tick();
    // Only the moment since un-pausing counts, not the 120 ms spent paused.
    EXPECT_LT(t.deltaTime(), 0.06);
    EXPECT_GE(t.deltaTime(), 0);
}

TEST(Timer, GlobalPauseStopsEveryTimerAndIsSkippedAfterwards) {
    Timer a, b;
    a.reset(0);
    b.reset(0);
    Timer::pauseAll(true);
    EXPECT_TRUE(Timer::pauseAll());
    sleepMs(60);
    a.tick();
    EXPECT_EQ(a.deltaTime(), 0);
    sleepMs(60);
    Timer::pauseAll(false);
    b.tick();
    a.tick();
    // b last measured before the pause began, a during it: both count only from
    // the moment the pause ended.
    EXPECT_LT(b.deltaTime(), 0.06);
    EXPECT_LT(a.deltaTime(), 0.06);
    EXPECT_LT(b.totalTime(), 0.06);
}

} // namespace
