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
