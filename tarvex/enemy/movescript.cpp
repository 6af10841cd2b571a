#include "tarvex/enemy/movescript.h"

#include <cmath>

#include "pyrane/functions.h"

namespace Tarvex {

namespace {

// Headings are kept in [0, fullTurn); the value is the one the game has always used,
// a little above 2 pi.
constexpr float fullTurn = 6.283f;

// A Goto is reached once the engine's approximate distance (which never falls below
// 0.5) drops under this.
constexpr float reachedDistance = 1.0f;

} // namespace

RandGenerator MoveScript::_rand;

void MoveScript::step(double dt) {
    _pos += _vel.toVector2() * static_cast<float>(dt);
    changeSpeed(dt);
    if (_finished || flightHolds() || waitHolds(dt)) return;

    // Only a trailing Goto or Wait leaves the script unfinished at the end of its frames.
    if (_position == _frames.end()) {
        _finished = true;
        return;
    }
    if (!execute()) return;
    ++_position;
    if (_position == _frames.end() && !_gotoActive && !_waiting) _finished = true;
}

void MoveScript::changeSpeed(double dt) {
    if (!_accelerating) return;
    _vel.value += _acceleration * static_cast<float>(dt);
    if (_vel.value < 0) _vel.value = 0;
    if ((_acceleration < 0 && _vel.value <= _targetSpeed) ||
        (_acceleration >= 0 && _vel.value >= _targetSpeed)) {
        _vel.value = _targetSpeed;
        _accelerating = false;
    }
}

// The step in which a flight ends executes nothing else either.
bool MoveScript::flightHolds() {
    if (!_gotoActive) return false;
    const float d = Pyrane::distance(_pos.x, _pos.y, _target.x, _target.y);
    // Passed once the distance starts to grow again.
    if (d < reachedDistance || d > _lastDistance)
        _gotoActive = false;
    else
        _lastDistance = d;
    return true;
}

bool MoveScript::execute() {
    switch (executeShared(_rand)) {
    case Shared::ENDED:
        _finished = true;
        return false;
    case Shared::DONE:
        return true;
    case Shared::NO:
        break;
    }
    const Frame& frame = *_position;
    switch (frame.type) {
    case Frame::VELOCITY:
        velocity(frame.velocity);
        break;
    case Frame::SET_POS:
        _pos = point(frame.setPos);
        break;
    case Frame::GOTO:
        goTo(frame.goTo);
        break;
    default: // Aim, and a frame without a command
        break;
    }
    return true;
}

void MoveScript::velocity(const Velocity& c) {
    const float v = c.speed + static_cast<float>(_rand(-c.random / 2, c.random / 2));
    _targetSpeed = c.relative ? _targetSpeed + v : v;
    _acceleration = std::fabs(c.acceleration);
    if (_vel.value > _targetSpeed) _acceleration = -_acceleration;
    _accelerating = true;
}

// The random offsets are drawn x first, then y.
Vector2<float> MoveScript::point(const MoveCommand::Point& c) {
    const float rx = static_cast<float>(_rand(-c.randomX / 2, c.randomX / 2));
    const float ry = static_cast<float>(_rand(-c.randomY / 2, c.randomY / 2));
    Vector2<float> p(c.x, c.y);
    if (c.relative) p += _pos;
    return p + Vector2<float>(rx, ry);
}

// The speed stays: the enemy flies straight on along the new heading.
void MoveScript::goTo(const Goto& c) {
    _gotoActive = true;
    _target = point(c);
    float heading = std::atan2(_target.y - _pos.y, _target.x - _pos.x);
    if (heading < 0) heading += fullTurn;
    // A heading a hair below 0 would round up to a full turn; it is the same direction.
    if (heading >= fullTurn) heading = 0;
    _vel.angle = heading;
    _lastDistance = Pyrane::distance(_target.x, _target.y, _pos.x, _pos.y);
}

} // namespace Tarvex
