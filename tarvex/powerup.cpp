#include "tarvex/powerup.h"

#include <cmath>

namespace Tarvex {

Vector2<float> Powerup::_playerPos;

Powerup::Powerup() {
    _anim.parent(this);
    _anim.loop(-1, true);
    _anim.frameDelay(1.0 / 15);
    _anim.animType(Pyrane::AnimatedSprite::LOOP);
}

void Powerup::animate(double dt) {
    if (_homing) _vel.angle = std::atan2(_playerPos.y - _pos.y, _playerPos.x - _pos.x);
    Entity::animate(dt);
}

} // namespace Tarvex
