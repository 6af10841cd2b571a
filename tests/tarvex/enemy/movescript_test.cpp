// The movement script stepped with the game's frame step and seeded generators: timing
// of its commands and loops, flights and waits below zero. How speeds change, the kept
// replay shows; where random positions land, the designs' tests check through the
// enemies' entries.
#include "tarvex/enemy/movescript.h"

#include <gtest/gtest.h>

#include "scripttest.h"

namespace {

using namespace ScriptTest;
using namespace Tarvex::MoveCommand;
using Tarvex::MoveScript;

template <typename... Commands> MoveScript scriptOf(const Commands&... commands) {
    return ScriptTest::scriptOf<MoveScript>(commands...);
}

// Steps until the script has finished, at most `limit` times; the number of steps.
int stepsToFinish(MoveScript& script, int limit = 100000) {
    int steps = 0;
    while (!script._finished && steps < limit) {
        script.step(dt);
        ++steps;
    }
    return steps;
}

// Steps while the flag is set, at most `limit` times; the number of steps.
int stepWhile(MoveScript& script, const bool& flag, int limit = 100000) {
    int steps = 0;
    while (flag && steps < limit) {
        script.step(dt);
        ++steps;
    }
    return steps;
}

TEST(MoveScript, EachStepExecutesOneCommandAndLoopsCostOneStepForRepeatAndEachEndRepeat) {
    MoveScript empty;
    EXPECT_TRUE(empty._finished);
    empty.step(dt);
    EXPECT_EQ(empty._pos, Vector2<float>(0, 0));

    MoveScript script = scriptOf(Aim(), SetPos(10, 20), SetPos(1, 2, 0, 0, true));
    EXPECT_FALSE(script._finished);
    script.step(dt);
    EXPECT_EQ(script._pos, Vector2<float>(0, 0)) << "only the first command ran";
    script.step(dt);
    EXPECT_EQ(script._pos, Vector2<float>(10, 20));
    EXPECT_FALSE(script._finished);
    script.step(dt);
    EXPECT_EQ(script._pos, Vector2<float>(11, 22));
    EXPECT_TRUE(script._finished) << "finished in the step that ran the last command";

    // A loop of n commands repeated k times takes k * (n + 1) + 1 steps.
    for (int n : {0, 1, 3})
        for (int k : {1, 2, 5}) {
            MoveScript loop;
            loop.command(Repeat(k));
            for (int i = 0; i < n; ++i)
                loop.command(Aim());
            loop.command(EndRepeat());
            EXPECT_EQ(stepsToFinish(loop), k * (n + 1) + 1) << n << " x " << k;
        }
}

TEST(MoveScript, RepeatRunsItsBodyCountTimesAtLeastOnceAndLoopsNest) {
    const SetPos right(1, 0, 0, 0, true);
    const struct {
        MoveScript script;
        float x;
    } cases[] = {
        {scriptOf(Repeat(2), right, EndRepeat()), 2},
        {scriptOf(Repeat(0), right, EndRepeat()), 1},
        {scriptOf(Repeat(-3), right, EndRepeat()), 1},
        {scriptOf(Repeat(2), Repeat(3), right, EndRepeat(), right, EndRepeat()), 8},
        // An EndRepeat without an open loop ends the script on the spot.
        {scriptOf(right, EndRepeat(), right), 1},
        {scriptOf(Repeat(2), right, EndRepeat(), EndRepeat(), right), 2},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        MoveScript script = cases[i].script;
        stepsToFinish(script);
        EXPECT_TRUE(script._finished) << i;
        EXPECT_EQ(script._pos.x, cases[i].x) << i;
        EXPECT_TRUE(script._stack.empty()) << i;
    }
}

TEST(MoveScript, GotoTurnsTowardsItsTargetAndHoldsTheScriptUntilReachedOrPassed) {
    MoveScript script = scriptOf(SetPos(80, 110), Velocity(40, 0, 10000, false),
                                 Goto(0, -45, 0, 0, true), SetPos(0, 0));
    for (int i = 0; i < 3; ++i)
        script.step(dt);
    ASSERT_TRUE(script._gotoActive);
    EXPECT_NEAR(script._vel.angle, 4.712, 0.001) << "straight down";
    EXPECT_EQ(script._target, Vector2<float>(80, 65));
    int steps = stepWhile(script, script._gotoActive);
    // 45 units at 40 per second is 67.5 steps: the flight ends within a step of (80, 65).
    EXPECT_GE(steps, 67);
    EXPECT_LE(steps, 69);
    EXPECT_NEAR(script._pos.y, 65, 40 * dt);
    // The heading 6.283 - pi / 2 is a hair off straight down.
    EXPECT_NEAR(script._pos.x, 80, 0.05);
    script.step(dt);
    EXPECT_EQ(script._pos, Vector2<float>(0, 0)) << "the next command runs one step later";

    // Too fast to come within 1: 1 2/3 units a step towards a point 10.8 away. The flight
    // ends in the step after the closest approach, when the distance grows again.
    MoveScript passing =
        scriptOf(Velocity(100, 0, 100000, false), Aim(), Goto(10.8f, 0, 0, 0, true));
    for (int i = 0; i < 3; ++i)
        passing.step(dt);
    EXPECT_EQ(passing._vel.angle, 0);
    const float startX = passing._pos.x;
    steps = stepWhile(passing, passing._gotoActive);
    EXPECT_EQ(steps, 7);
    EXPECT_NEAR(passing._pos.x - startX, 7 * 100 * dt, 1e-3);

    // Its own position is reached at once, since two equal points are 0.5 apart.
    MoveScript here = scriptOf(SetPos(5, 5), Goto(0, 0, 0, 0, true));
    here.step(dt);
    here.step(dt);
    EXPECT_TRUE(here._gotoActive);
    here.step(dt);
    EXPECT_FALSE(here._gotoActive);
    EXPECT_FALSE(here._finished) << "a trailing Goto leaves the script running";
    here.step(dt);
    EXPECT_TRUE(here._finished);

    // At speed 0 the target never comes closer: the script waits for good.
    MoveScript never = scriptOf(Goto(50, 50), SetPos(1, 1));
    for (int i = 0; i < 10000; ++i)
        never.step(dt);
    EXPECT_TRUE(never._gotoActive);
    EXPECT_EQ(never._pos, Vector2<float>(0, 0));
}

// How long a wait holds its script, the fire script's tests check on the code both share.
TEST(MoveScript, ARandomWaitBelowZeroStillHoldsOneStep) {
    bool sawZero = false;
    for (unsigned seed = 0; seed < 400 && !sawZero; ++seed) {
        MoveScript::_rand.seed(seed);
        MoveScript wide = scriptOf(Wait(1.0, 3.0), SetPos(1, 1));
        wide.step(dt);
        ASSERT_TRUE(wide._waiting);
        EXPECT_GE(wide._waitTime, 0);
        if (wide._waitTime > 0) continue;
        sawZero = true;
        wide.step(dt);
        EXPECT_FALSE(wide._waiting);
        EXPECT_EQ(wide._pos, Vector2<float>(0, 0)) << "the ending step runs nothing";
        wide.step(dt);
        EXPECT_EQ(wide._pos, Vector2<float>(1, 1));
    }
    EXPECT_TRUE(sawZero) << "a third of these waits come out negative";
}

TEST(MoveScript, AppendingRestartsFromTheFirstCommandAndKeepsEverythingRunning) {
    MoveScript script =
        scriptOf(SetPos(10, 10), Velocity(30, 0, 10000, false), Repeat(3), Wait(1, 0));
    for (int i = 0; i < 5; ++i)
        script.step(dt);
    ASSERT_TRUE(script._waiting);
    const Vector2<float> pos = script._pos;
    const float speed = script._vel.value;
    script.command(SetPos(0, 0, 0, 0, true));
    EXPECT_FALSE(script._finished);
    EXPECT_EQ(script._position, script._frames.begin());
    EXPECT_TRUE(script._waiting);
    EXPECT_EQ(script._stack.size(), 1u);
    EXPECT_EQ(script._pos, pos);
    EXPECT_EQ(script._vel.value, speed);
    // The running wait holds on; then the script starts again with its SetPos.
    stepWhile(script, script._waiting);
    script.step(dt);
    EXPECT_EQ(script._pos, Vector2<float>(10, 10));
}

} // namespace
