#pragma once
// A power-up that a destroyed enemy leaves behind: an animated capsule that falls or
// homes in on the ship until the ship collects it. Its kinds are also what the enemies'
// drop tables name.
#include "common_classes/vector2.h"
#include "pyrane/animatedsprite.h"
#include "tarvex/entity.h"

namespace Tarvex {

class Powerup : public Entity {
public:
    // None drops nothing; Fire raises the weapon level; the bombs go off on pick-up.
    enum Type { None = 0, Fire = 1, BombWhite = 2, BombBlack = 3 };

    // The animation is a child that cycles its frames at 15 a second without end.
    Powerup();
    // The animation, a member, leaves the children before the entity part deletes them.
    ~Powerup() override = default;

    // A homing power-up turns its velocity towards the ship, keeping its speed, then it
    // moves with its animation.
    void animate(double dt) override;

    Type _type = None;
    Pyrane::AnimatedSprite _anim;
    bool _homing = true;

    // Where the ship is, written by the play state in every frame of a running game.
    static Vector2<float> _playerPos;
};

} // namespace Tarvex
