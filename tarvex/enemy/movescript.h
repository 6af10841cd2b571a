#pragma once
// The little language that moves an enemy: counted loops, waits, speed changes, flights
// towards a point and jumps, executed one command per step. The script owns a position
// and a polar velocity; while it runs, its enemy sits where the script is.
#include "common_classes/radvector2.h"
#include "common_classes/randgenerator.h"
#include "common_classes/vector2.h"
#include "tarvex/enemy/scriptrunner.h"

namespace Tarvex {

namespace MoveCommand {

using ScriptCommand::EndRepeat;
using ScriptCommand::Repeat;
using ScriptCommand::Wait;

// Changes the speed towards a new target, within random / 2 of `speed` (added to the
// current target when relative), at `acceleration` units per second per second.
struct Velocity {
    explicit Velocity(float speed = 0, float random = 0, float acceleration = 0,
                      bool relative = false)
        : speed(speed), random(random), acceleration(acceleration), relative(relative) {}
    float speed;
    float random;
    float acceleration;
    bool relative;
};
// Accepted and ignored: nothing interprets it.
struct Aim {};
// A point (x, y), offset from the script's position when relative, moved at random by
// up to half of randomX and randomY either way. Goto turns towards it and flies on
// until it is reached or passed; SetPos jumps there.
struct Point {
    explicit Point(float x = 0, float y = 0, float randomX = 0, float randomY = 0,
                   bool relative = false)
        : x(x), y(y), randomX(randomX), randomY(randomY), relative(relative) {}
    float x, y, randomX, randomY;
    bool relative;
};
struct Goto : Point {
    using Point::Point;
};
struct SetPos : Point {
    using Point::Point;
};

// One stored command: the type says which of the slots holds it.
struct Frame {
    enum Type { NONE = -1, REPEAT = 0, END_REPEAT, VELOCITY, AIM, SET_POS, WAIT, GOTO };

    Frame() = default;
    Frame(const Repeat& c) : type(REPEAT), repeat(c) {}
    Frame(const EndRepeat& c) : type(END_REPEAT), endRepeat(c) {}
    Frame(const Velocity& c) : type(VELOCITY), velocity(c) {}
    Frame(const Aim& c) : type(AIM), aim(c) {}
    Frame(const SetPos& c) : type(SET_POS), setPos(c) {}
    Frame(const Wait& c) : type(WAIT), wait(c) {}
    Frame(const Goto& c) : type(GOTO), goTo(c) {}

    int type = NONE;
    Repeat repeat;
    EndRepeat endRepeat;
    Velocity velocity;
    Aim aim;
    SetPos setPos;
    Wait wait;
    Goto goTo;
};

} // namespace MoveCommand

class MoveScript : public ScriptRunner<MoveCommand::Frame> {
public:
    using Velocity = MoveCommand::Velocity;
    using Aim = MoveCommand::Aim;
    using Goto = MoveCommand::Goto;
    using SetPos = MoveCommand::SetPos;
    using Frame = MoveCommand::Frame;

    // Each appends a command and starts the script again from its first command; the
    // loops, a running wait or flight, the position and the velocity stay as they are.
    void command(const Repeat& c) { append(c); }
    void command(const EndRepeat& c) { append(c); }
    void command(const Wait& c) { append(c); }
    void command(const Velocity& c) { append(c); }
    void command(const Aim& c) { append(c); }
    void command(const Goto& c) { append(c); }
    void command(const SetPos& c) { append(c); }

    // Moves by the velocity, carries a speed change on and executes at most one
    // command, or continues a running wait or flight.
    void step(double dt);

    Vector2<float> _pos;
    Vector2<float> _target;
    float _lastDistance = 0;
    RadVector2<float> _vel{0, -1.57f};
    float _targetSpeed = 0;
    float _acceleration = 0;
    bool _gotoActive = false;
    bool _accelerating = false;

    // The generator of every movement script; the game seeds it at start-up.
    static RandGenerator _rand;

private:
    void changeSpeed(double dt);
    // Continues a running flight; false when none runs.
    bool flightHolds();
    // Executes the frame at _position; false when it ended the script.
    bool execute();
    void velocity(const Velocity& c);
    Vector2<float> point(const MoveCommand::Point& c);
    void goTo(const Goto& c);
};

} // namespace Tarvex
