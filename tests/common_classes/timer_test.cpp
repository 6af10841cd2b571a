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
    t.reset(2.5);
    sleepMs(5);
    t.tick();
    EXPECT_GE(t.deltaTime(), 0.004);
    EXPECT_DOUBLE_EQ(t.totalTime(), 2.5 + t.deltaTime());
}

// A paused timer steps 0, and a pause of its own or of every timer never counts,
// whether or not the timer ticked during it.
TEST(Timer, PausedIntervalsNeverCount) {
    Timer own, during, before;
    for (Timer* t : {&own, &during, &before})
        t->reset(1);
    own.pause(true);
    Timer::pauseAll(true);
    sleepMs(60);
    own.tick();
    during.tick();
    EXPECT_EQ(own.deltaTime(), 0);
    EXPECT_EQ(during.deltaTime(), 0);
    Timer::pauseAll(false);
    during.tick();
    before.tick();
    sleepMs(60);
    own.pause(false);
    own.tick();
    for (Timer* t : {&own, &during, &before}) {
        EXPECT_LT(t->deltaTime(), 0.05);
        EXPECT_LT(t->totalTime(), 1.05);
    }
}

} // namespace
