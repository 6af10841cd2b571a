#include <cmath>

#include "pyrane/sprite.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/enemy/shuffle.h"

namespace Tarvex {

// A group whose pieces the player has all destroyed stops its script; one that has fired
// them all runs on, and its volleys find nothing to fire.
void MultiEntity::animateAmmoGroup(AmmoGroup& group, double dt) {
    if (group.ammoCount <= 0) return;
    group.script.step(dt);
    const FireScript::Frame* frame = group.script._current;
    if (frame && frame->type == FireScript::Frame::FIRE) fire(group, frame->fire);
}

// The pieces leave from the front of the group, fanned evenly from -fan / 2 to +fan / 2
// around their direction, with one random jitter for the whole volley. An enemy at or
// below the bottom edge uses the volley up without firing.
void MultiEntity::fire(AmmoGroup& group, const FireScript::Fire& volley) {
    const float jitter = static_cast<float>(_rand(-volley.spread / 2, volley.spread / 2));
    _bulletSpeed = volley.speed;
    const float base = volley.angle + jitter;
    float step = 0;
    float offset = 0;
    if (volley.count != 1) {
        step = volley.fan / static_cast<float>(volley.count - 1);
        offset = volley.fan / -2;
    }
    // Without the play state's bullet list the pieces stay where they are.
    const bool canFire = _firedBullets && _pos.y > 0;
    for (int i = 0; i < volley.count; ++i, offset += step) {
        if (group.ammo.empty() || !canFire) continue;
        AmmoEntity* piece = group.ammo.front();
        piece->pos(absolute(piece));
        float direction = base + offset;
        if (volley.aim && _player) {
            // Straight at the ship; atan2 needs no normalised vector, and one on top of
            // the ship simply fires to the right instead of in no direction at all.
            const Vector2<float> d = _player->pos() - piece->pos();
            direction = std::atan2(d.y, d.x);
            if (volley.spread > 0.01f) direction += jitter;
            direction += offset;
        }
        piece->vel(RadVector2<float>(_bulletSpeed, direction));
        piece->_hp = 1;
        _firedBullets->push_back(piece);
        group.ammo.pop_front();
        if (group.ammo.empty()) break;
    }
}

// list::sort is stable, which the firing order may be but need not be.
void MultiEntity::sortAmmoByPriority() {
    _ammoGroups.back().ammo.sort(AmmoEntity::Less());
}

void MultiEntity::randomizeAmmo() {
    std::list<AmmoEntity*>& ammo = _ammoGroups.back().ammo;
    std::vector<AmmoEntity*> pieces(ammo.begin(), ammo.end());
    shufflePieces(pieces);
    ammo.assign(pieces.begin(), pieces.end());
}

} // namespace Tarvex
