#pragma once
// The player's ship: steering with inertia inside the field, the fire timer that makes
// volleys due, invulnerability with its blink and shield, death and respawn, and the
// weapon level. The play state feeds it the keys and fires the volleys it queues.
#include "common_classes/aabb2.h"
#include "pyrane/sprite.h"
#include "pyrane/timeline.h"

namespace Tarvex {

class Player {
public:
    Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Steering is ignored while dead; turning one way on releases the other.
    void left(bool on);
    void right(bool on);
    void up(bool on);
    void down(bool on);
    // Starts or stops firing; starting makes the first volley due on the next step.
    void fire(bool on);
    void invulnerable(double seconds);
    void die(double seconds);
    void powerup();
    void powerdown();
    // Back to the start: alive, at rest at (80, 16), power 0, 3 s of invulnerability.
    void reset();

    void animate(double dt);
    void draw();

    Pyrane::Sprite _ship;
    Pyrane::Sprite _shield;
    Vell::AABB2<float> _bounds{4, 4, 156, 96};
    float _shotsPending = 0;
    Pyrane::Timeline<float> _blink;
    float _blinkValue = 0;
    bool _invulnerable = false;
    bool _dead = false;
    int _power = 0;
    int _maxPower = 3;
    bool _left = false;
    bool _right = false;
    bool _up = false;
    bool _down = false;
    bool _fire = false;
    float _accel = 1800;
    float _decel = 600;
    float _maxSpeed = 50;
    double _fireInterval = 0.07;
    double _fireTime = 0;
    double _invulnerableTime = 0;
    double _invulnerableDuration = 0;
    double _deadTime = 0;
    double _deadDuration = 0;

private:
    // One axis of the velocity: towards the top speed while a key is held, else
    // coasting to rest.
    float steer(float v, bool minus, bool plus, float dt) const;
};

} // namespace Tarvex
