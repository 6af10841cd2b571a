#pragma once
// What the two script languages of the enemies share: the loop and wait commands, and
// the running of a list of frames one step at a time with a stack of open loops and a
// wait clock. Each language adds its own commands and what its frames do.
#include <iterator>
#include <list>
#include <stack>
#include <vector>

#include "common_classes/randgenerator.h"

namespace Tarvex {

namespace ScriptCommand {

// Runs the commands up to the matching EndRepeat `count` times (at least once).
struct Repeat {
    explicit Repeat(int count = 0) : count(count) {}
    int count;
};
// Closes the innermost open Repeat; without one it ends the script.
struct EndRepeat {};
// Pauses for `time` seconds, give or take up to `random` (the full width either way).
struct Wait {
    explicit Wait(double time = 0, double random = 0) : time(time), random(random) {}
    double time;
    double random;
};

} // namespace ScriptCommand

template <typename Frame> class ScriptRunner {
public:
    using Repeat = ScriptCommand::Repeat;
    using EndRepeat = ScriptCommand::EndRepeat;
    using Wait = ScriptCommand::Wait;
    using Position = typename std::list<Frame>::iterator;

    // One open loop: the repetitions still to run and its Repeat frame.
    struct StackEntry {
        int count;
        Position position;
    };

    std::stack<StackEntry> _stack;
    std::list<Frame> _frames;
    bool _waiting = false;
    double _waitElapsed = 0;
    double _waitTime = 0;
    bool _finished = true;
    Position _position = _frames.begin();

protected:
    ScriptRunner() = default;
    // A copy runs on from the same place in its own frames, never the original's.
    ScriptRunner(const ScriptRunner& other) { *this = other; }
    ScriptRunner& operator=(const ScriptRunner& other) {
        if (this == &other) return *this;
        _frames = other._frames;
        std::vector<StackEntry> entries;
        for (std::stack<StackEntry> open = other._stack; !open.empty(); open.pop())
            entries.push_back(open.top());
        _stack = {};
        for (auto it = entries.rbegin(); it != entries.rend(); ++it)
            _stack.push(StackEntry{it->count, samePlace(other, it->position)});
        _waiting = other._waiting;
        _waitElapsed = other._waitElapsed;
        _waitTime = other._waitTime;
        _finished = other._finished;
        _position = samePlace(other, other._position);
        return *this;
    }
    ~ScriptRunner() = default;

    // The frame of this script that stands where `it` stands in `other`'s frames.
    Position samePlace(const ScriptRunner& other, typename std::list<Frame>::const_iterator it) {
        return std::next(_frames.begin(), std::distance(other._frames.cbegin(), it));
    }

    // Appending starts the script again from its first frame; the open loops and a
    // running wait stay as they are.
    void append(const Frame& frame) {
        _frames.push_back(frame);
        _position = _frames.begin();
        _finished = false;
    }

    // Closes the innermost loop: back to its Repeat frame (so that the next frame is the
    // first inside the loop) until its count runs out. Counted down before the test, so
    // a count of 0 or less still ran the body once. False, with nothing done, when no
    // loop is open: the script ends there.
    bool endRepeat() {
        if (_stack.empty()) return false;
        if (--_stack.top().count <= 0)
            _stack.pop();
        else
            _position = _stack.top().position;
        return true;
    }

    void wait(const Wait& c, RandGenerator& rand) {
        _waitTime = c.time + rand(c.random, -c.random);
        if (_waitTime < 0) _waitTime = 0;
        _waitElapsed = 0;
        _waiting = true;
    }

    // Counts a running wait on. True while a wait held this step, also in the step in
    // which it ends: that step executes nothing else.
    bool waitHolds(double dt) {
        if (!_waiting) return false;
        _waitElapsed += dt;
        if (_waitElapsed >= _waitTime) _waiting = false;
        return true;
    }

    enum class Shared { NO, DONE, ENDED };

    // Executes the frame at _position when it is a loop or wait command, which both
    // languages run alike; NO for a frame of the language's own. ENDED when the frame
    // ended the script.
    Shared executeShared(RandGenerator& rand) {
        const Frame& frame = *_position;
        switch (frame.type) {
        case Frame::REPEAT:
            _stack.push(StackEntry{frame.repeat.count, _position});
            return Shared::DONE;
        case Frame::END_REPEAT:
            return endRepeat() ? Shared::DONE : Shared::ENDED;
        case Frame::WAIT:
            wait(frame.wait, rand);
            return Shared::DONE;
        default:
            return Shared::NO;
        }
    }
};

} // namespace Tarvex
