#pragma once
// A sprite that takes part in the fight: hit points, the damage it deals, the points
// it is worth and a collision box relative to its position. Bullets, enemy pieces and
// power-ups are entities.
#include "common_classes/aabb2.h"
#include "common_classes/vector2.h"
#include "pyrane/sprite.h"

namespace Tarvex {

class Entity : public Pyrane::Sprite {
public:
    Entity() = default;

    void hit(float damage) { _hp -= damage; }
    // Pixel-accurate test through the images' collision masks, this entity's image
    // placed at its position plus offset. False when either has no image.
    bool collision(Entity* other, const Vector2<float>& offset) const;
    // The collision box, moved to the position plus offset, touches or overlaps box.
    bool collisionWithBox(const Vell::AABB2<float>& box, const Vector2<float>& offset) const;
    // Fits the collision box to the image around its hot spot; keeps it without one.
    void calcBbox();

    float _hp = 0;
    float _damage = 0;
    float _score = 0;
    Vell::AABB2<float> _bbox;
};

} // namespace Tarvex
