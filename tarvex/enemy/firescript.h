#pragma once
// The little language that times an ammo group's volleys: counted loops, waits and
// Fire commands, executed one command per step. The script only reports which frame
// each step executed (_current); the enemy fires the volley of a Fire frame.
#include "common_classes/randgenerator.h"
#include "tarvex/enemy/scriptrunner.h"

namespace Tarvex {

namespace FireCommand {

using ScriptCommand::EndRepeat;
using ScriptCommand::Repeat;
using ScriptCommand::Wait;

// A volley of `count` pieces at `speed`: towards `angle`, or at the player when `aim`;
// `spread` is the width of the random jitter, `fan` the angle between the first and
// the last piece.
struct Fire {
    explicit Fire(int count = 0, float angle = 0, float spread = 0, float fan = 0, float speed = 0,
                  bool aim = false)
        : count(count), angle(angle), spread(spread), fan(fan), speed(speed), aim(aim) {}
    int count;
    float angle;
    float spread;
    float fan;
    float speed;
    bool aim;
};

// One stored command: the type says which of the slots holds it. IDLE stands for no
// command at all: an ended script reports its idle frame.
struct Frame {
    enum Type { REPEAT = 0, END_REPEAT, FIRE, WAIT, IDLE };

    Frame() = default;
    Frame(const Repeat& c) : type(REPEAT), repeat(c) {}
    Frame(const EndRepeat& c) : type(END_REPEAT), endRepeat(c) {}
    Frame(const Fire& c) : type(FIRE), fire(c) {}
    Frame(const Wait& c) : type(WAIT), wait(c) {}

    int type = IDLE;
    Repeat repeat;
    EndRepeat endRepeat;
    Fire fire;
    Wait wait;
};

} // namespace FireCommand

class FireScript : public ScriptRunner<FireCommand::Frame> {
public:
    using Fire = FireCommand::Fire;
    using Frame = FireCommand::Frame;

    FireScript() = default;
    // A copy's _current names its own frame, or its own idle frame.
    FireScript(const FireScript& other);
    FireScript& operator=(const FireScript& other);

    // Each appends a command and starts the script again from its first command; the
    // loops and a running wait stay as they are.
    void command(const Repeat& c) { append(c); }
    void command(const EndRepeat& c) { append(c); }
    void command(const Wait& c) { append(c); }
    void command(const Fire& c) { append(c); }

    // Executes at most one frame, or continues a running wait, and points _current at
    // the frame executed; an ended script leaves it at the idle frame.
    void step(double dt);

    // The frame the latest step executed (a wait stays current while it runs); null
    // before the first step.
    const Frame* _current = nullptr;
    Frame _idle;

    // The generator of every fire script's waits; the game seeds it at start-up.
    static RandGenerator _rand;

private:
    void end();
};

} // namespace Tarvex
