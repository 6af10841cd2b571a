#include "tarvex/player.h"

#include <algorithm>

namespace Tarvex {

namespace {
const Vector2<float> startPos(80, 16);
}

Player::Player() {
    _ship.pos(startPos);
    _ship.color(0, 0, 0, 1);
    using Key = Pyrane::Timeline<float>::Keyframe;
    _blink.addKey(Key(0.0, 0, Pyrane::Timeline<float>::ABSOLUTE));
    _blink.addKey(Key(0.05, 1, Pyrane::Timeline<float>::ABSOLUTE));
    _blink.addKey(Key(0.1, 0, Pyrane::Timeline<float>::ABSOLUTE));
    _blink.loop(true);
    _blink.targetObject(_blinkValue);
    reset();
}

void Player::left(bool on) {
    if (_dead) return;
    _left = on;
    if (on) _right = false;
}

void Player::right(bool on) {
    if (_dead) return;
    _right = on;
    if (on) _left = false;
}

void Player::up(bool on) {
    if (_dead) return;
    _up = on;
    if (on) _down = false;
}

void Player::down(bool on) {
    if (_dead) return;
    _down = on;
    if (on) _up = false;
}

void Player::fire(bool on) {
    _fire = on;
    _shotsPending = 0;
    _fireTime = _fireInterval;
}

void Player::invulnerable(double seconds) {
    _invulnerable = true;
    _invulnerableTime = 0;
    _invulnerableDuration = seconds;
    _shield.visible(true);
}

void Player::die(double seconds) {
    _dead = true;
    _deadTime = 0;
    _deadDuration = seconds;
    _left = _right = _up = _down = false;
    _power = 0;
    _ship.pos(startPos);
}

void Player::powerup() {
    _power = std::min(_power + 1, _maxPower);
}

void Player::powerdown() {
    _power = std::max(_power - 1, 0);
}

void Player::reset() {
    _ship.alpha(1);
    _shotsPending = 0;
    _fireTime = 0;
    _fire = false;
    _invulnerable = false;
    _dead = false;
    _left = _right = _up = _down = false;
    invulnerable(3.0);
    _power = 0;
    // A new ship starts at rest, not with the drift of the last one.
    _ship.vel(RadVector2<float>());
    _ship.pos(startPos);
}

float Player::steer(float v, bool minus, bool plus, float dt) const {
    if (minus) return std::max(v - _accel * dt, -_maxSpeed);
    if (plus) return std::min(v + _accel * dt, _maxSpeed);
    if (v < 0) v = std::min(v + _decel * dt, 0.f);
    if (v > 0) v = std::max(v - _decel * dt, 0.f);
    return v;
}

void Player::animate(double dt) {
    const float fdt = float(dt);
    Vector2<float> v = _ship.vel().toVector2();
    v.x = steer(v.x, _left, _right, fdt);
    v.y = steer(v.y, _down, _up, fdt);
    _ship.vel(RadVector2<float>(v));
    _ship.animate(dt);

    Vector2<float> p = _ship.pos();
    p.x = std::clamp(p.x, _bounds.min.x, _bounds.max.x);
    p.y = std::clamp(p.y, _bounds.min.y, _bounds.max.y);
    _ship.pos(p);
    // The ship is drawn where it was clamped to, in this very frame.
    _ship.posAbs(p);
    _shield.pos(p);

    if (_fire && !_dead) {
        _fireTime += dt;
        while (_fireTime > _fireInterval) {
            _shotsPending += 1;
            _fireTime -= _fireInterval;
        }
    }

    if (_invulnerable) {
        _invulnerableTime += dt;
        _blink.animate(dt);
        _ship.alpha(_blinkValue > 0.5f ? 1.f : 0.f);
        if (_invulnerableTime > _invulnerableDuration) {
            _ship.alpha(1);
            _invulnerable = false;
            _shield.visible(false);
        }
    }

    if (_dead) {
        _deadTime += dt;
        if (_deadTime > _deadDuration) reset();
    }

    _shield.animate(dt);
}

void Player::draw() {
    if (_dead) return;
    _ship.draw();
    _shield.draw();
}

} // namespace Tarvex
