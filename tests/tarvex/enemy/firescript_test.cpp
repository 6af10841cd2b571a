// The fire script stepped with the game's frame step and seeded generators: which frame
// each step reports, the timing of volleys, loops and waits, and copies. How often a loop
// runs and what appending a command does, which both script languages share, the
// movement script's tests check.
#include "tarvex/enemy/firescript.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "scripttest.h"

namespace {

using namespace ScriptTest;
using namespace Tarvex::FireCommand;
using Tarvex::FireScript;

template <typename... Commands> FireScript scriptOf(const Commands&... commands) {
    return ScriptTest::scriptOf<FireScript>(commands...);
}

int currentType(const FireScript& script) {
    return script._current ? script._current->type : -1;
}

// The steps (counted from 1) in which the script reported a Fire frame, until it ended.
std::vector<int> fireSteps(FireScript& script, int limit = 100000) {
    std::vector<int> steps;
    for (int step = 1; !script._finished && step <= limit; ++step) {
        script.step(dt);
        if (currentType(script) == Frame::FIRE) steps.push_back(step);
    }
    return steps;
}

// The steps a wait of `time` seconds holds its script after the step that started it.
int heldSteps(double time) {
    int held = 0;
    double elapsed = 0;
    do {
        elapsed += dt;
        ++held;
    } while (elapsed < time);
    return held;
}

TEST(FireScript, NestedLoopsFireFourVolleysInTwoPairsWithTheirWaitsBetween) {
    Range pairGap(0.1 + 3 * dt, 0.3 + 4 * dt), betweenPairs(0.9 + 6 * dt, 2.5 + 8 * dt);
    for (unsigned seed = 0; seed < 300; ++seed) {
        FireScript::_rand.seed(seed);
        RandGenerator reference;
        reference.seed(seed);
        FireScript script = scriptOf(Repeat(2), Repeat(2), Fire(1, -1.57f, 0, 0, 40, false),
                                     Wait(0.2, 0.1), EndRepeat(), Wait(1.5, 0.7), EndRepeat());
        const std::vector<int> fires = fireSteps(script);
        ASSERT_EQ(fires.size(), 4u) << seed;
        EXPECT_EQ(fires[0], 3) << "Repeat and Repeat take a step each";

        // The waits in the order they run: inner, inner, outer, inner, inner, outer.
        double waits[6];
        for (int i = 0; i < 6; ++i)
            waits[i] = i % 3 == 2 ? 1.5 + reference(0.7, -0.7) : 0.2 + reference(0.1, -0.1);
        // A Fire, its Wait, the wait, EndRepeat, then the next Fire.
        EXPECT_EQ(fires[1] - fires[0], heldSteps(waits[0]) + 3);
        // ... and between the pairs the outer wait with EndRepeat and Repeat around it.
        EXPECT_EQ(fires[2] - fires[1], heldSteps(waits[1]) + heldSteps(waits[2]) + 6);
        EXPECT_EQ(fires[3] - fires[2], heldSteps(waits[3]) + 3);
        pairGap.add((fires[1] - fires[0]) * dt);
        pairGap.add((fires[3] - fires[2]) * dt);
        betweenPairs.add((fires[2] - fires[1]) * dt);
        EXPECT_EQ(script._current, &script._idle);
    }
    // Each wait is rounded up to whole steps. Two waits between the pairs rarely come
    // near their ends together; bounds are all that is asked of their sum.
    pairGap.expectBothEndsReached(dt);
}

TEST(FireScript, EveryStepReportsTheFrameItRanAndAnEndedScriptItsIdleFrame) {
    FireScript never;
    never.step(dt);
    EXPECT_EQ(never._current, nullptr) << "a script without commands reports nothing";

    const Fire shot(1, 0, 0, 0, 40, false);
    FireScript script = scriptOf(Repeat(2), shot, Wait(0.04, 0), EndRepeat(), shot, Wait(1, 0));
    const int pass[] = {Frame::FIRE, Frame::WAIT, Frame::WAIT,
                        Frame::WAIT, Frame::WAIT, Frame::END_REPEAT};
    std::vector<int> expected = {Frame::REPEAT};
    expected.insert(expected.end(), std::begin(pass), std::end(pass));
    expected.insert(expected.end(), std::begin(pass), std::end(pass));
    expected.insert(expected.end(), {Frame::FIRE, Frame::IDLE, Frame::IDLE});
    for (int type : expected) {
        script.step(dt);
        EXPECT_EQ(currentType(script), type);
    }
    EXPECT_TRUE(script._finished) << "a trailing Wait is cut short";

    // A Fire in the last frame, or after an unmatched EndRepeat, is never reported.
    const FireScript neverFire[] = {scriptOf(shot), scriptOf(Wait(0.1, 0), shot),
                                    scriptOf(Repeat(2), Wait(0, 0), EndRepeat(), shot),
                                    scriptOf(EndRepeat(), shot, shot)};
    for (FireScript s : neverFire) {
        EXPECT_TRUE(fireSteps(s).empty());
        EXPECT_EQ(s._current, &s._idle);
        s.step(dt);
        EXPECT_EQ(s._current, &s._idle);
    }
}

// Ammo groups hold their scripts by value and live in a growing vector: a copy must run
// on by itself, report its own frames and outlive the original.
TEST(FireScript, ACopyRunsOnInItsOwnFramesWhenTheOriginalIsGone) {
    auto make = [] {
        return scriptOf(Repeat(3), Fire(1, 0, 0, 0, 40, false), Wait(0.05, 0), Repeat(2),
                        Fire(2, 0, 0, 0, 40, false), EndRepeat(), EndRepeat(), Wait(0.1, 0));
    };
    for (int before : {0, 3, 5, 9, 40}) {
        auto original = std::make_unique<FireScript>(make());
        FireScript twin = make();
        for (int i = 0; i < before; ++i) {
            original->step(dt);
            twin.step(dt);
        }
        std::vector<FireScript> copies;
        for (int i = 0; i < 20; ++i)
            copies.push_back(*original);
        FireScript assigned = make();
        assigned = *original;
        copies.push_back(assigned);
        original.reset();

        for (int i = 0; !twin._finished && i < 1000; ++i) {
            twin.step(dt);
            for (FireScript& copy : copies) {
                copy.step(dt);
                ASSERT_EQ(currentType(copy), currentType(twin)) << before;
                if (copy._current && copy._current != &copy._idle) {
                    bool own = false;
                    for (const Frame& frame : copy._frames)
                        own = own || &frame == copy._current;
                    ASSERT_TRUE(own);
                    if (copy._current->type == Frame::FIRE) {
                        EXPECT_EQ(copy._current->fire.count, twin._current->fire.count);
                    }
                }
            }
        }
        for (const FireScript& copy : copies)
            EXPECT_TRUE(copy._finished);
    }
}

} // namespace
