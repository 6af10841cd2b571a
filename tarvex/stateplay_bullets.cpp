// The play state's bullets: the ship's volleys by weapon level, the enemies' bullets
// that cost the ship its shield or a life, and the ship's bullets against the enemies.
#include <algorithm>
#include <vector>

#include "common_classes/sound/sound.h"
#include "pyrane/image.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/game.h"
#include "tarvex/ownedlist.h"
#include "tarvex/stateplay.h"

namespace Tarvex {

namespace {

// The x offsets of the bullets of one volley from the ship, by weapon level. Level 3
// adds its four to those of level 2, so two bullets fly together at +2 and at -2.
const std::vector<float> volleys[] = {{0}, {1, -2}, {0, 2, -2}, {0, 2, -2, 2, 4, -2, -4}};

// Player bullets fly until they are above this height.
constexpr float bulletTop = 105;
// Enemy bullets live inside this box; a bullet on its edge stays.
const Vell::AABB2<float> enemyBulletArea(-10, -10, 170, 110);
// Where enemy bullets hurt the ship, around its position.
const Vell::AABB2<float> shipHitBox(-2, -4, 2, 1);

bool outside(const Vector2<float>& p, const Vell::AABB2<float>& area) {
    return p.y > area.max.y || p.y < area.min.y || p.x > area.max.x || p.x < area.min.x;
}

} // namespace

void StatePlay::addBullet() {
    Sound::playSound("lazer", effectVolume);
    Pyrane::Image* image = game.image("box_1x2");
    const Vector2<float> ship = _player._ship.pos();
    for (float dx : volleys[std::clamp(_player._power, 0, 3)]) {
        Entity* bullet = new Entity;
        bullet->image(image);
        bullet->color(1, 1, 1, 1);
        bullet->_damage = 1;
        bullet->vel(RadVector2<float>(Vector2<float>(0, 200)));
        bullet->pos(ship + Vector2<float>(dx, 4));
        _bullets.push_back(bullet);
        ++_shotsFired;
    }
}

void StatePlay::animateBullets() {
    removeOwnedIf(_bullets, [this](Entity* bullet) {
        bullet->animate(dt);
        const bool missed = bullet->pos().y > bulletTop;
        if (missed) ++_shotsMissed;
        return missed;
    });
}

void StatePlay::animateEnemyBullets() {
    // All enemy bullets blink together, black and white.
    _flash.animate(dt);
    const RGBA<float> color =
        _flashValue > 0.5f ? RGBA<float>(1, 1, 1, 1) : RGBA<float>(0, 0, 0, 1);
    const Vector2<float> ship = _player._ship.pos();
    const Vell::AABB2<float> shipBox = shipHitBox + ship;

    removeOwnedIf(_enemyBullets, [&](Entity* bullet) {
        bullet->animate(dt);
        bullet->color(color);
        // The first hit makes the ship invulnerable or dead, so that one bullet at most
        // hurts it; the others fly on.
        const bool hurts = !_player._dead && !_player._invulnerable &&
                           bullet->collisionWithBox(shipBox, Vector2<float>());
        if (hurts) shipHit(ship);
        return hurts || outside(bullet->pos(), enemyBulletArea);
    });
}

void StatePlay::shipHit(const Vector2<float>& ship) {
    const RGBA<float> white(1, 1, 1, 1);
    if (_player._power > 0) {
        // The weapon's extra level is the shield: lost, with a moment's grace.
        addExplosion(ship, white, 16, 0, 200, -550, 0.3f);
        _player.powerdown();
        Sound::playSound("shield", effectVolume);
        _player.invulnerable(0.5);
        return;
    }
    addExplosion(ship, white, 64, 1, 200, -250, 0.7f);
    _player.die(0.5);
    Sound::playSound("die", effectVolume);
    _lives -= 1;
    if (_lives < 0) gameOver();
}

StatePlay::EnemyHits StatePlay::shootEnemies() {
    EnemyHits hits;
    for (MultiEntity* enemy : _enemies)
        removeOwnedIf(_bullets, [&](Entity* bullet) {
            if (!enemy->bulletCollision(bullet)) return false;
            hits.hit = true;
            score(enemy->_hitScore);
            if (enemy->_pieceDestroyed) hits.pieceDestroyed = true;
            return true;
        });
    return hits;
}

void StatePlay::playHitSounds(bool hit, bool pieceDestroyed) {
    // The clocks run on in quiet spells, so the first hit after one sounds at once.
    static double explosionSoundTime = 0;
    static double hitSoundTime = 0;
    constexpr double explosionSoundDelay = 0.05;
    constexpr double hitSoundDelay = 0.05;

    explosionSoundTime += dt;
    if (pieceDestroyed && explosionSoundTime >= explosionSoundDelay) {
        explosionSoundTime = 0;
        Sound::playSound("explosion", effectVolume);
    }
    hitSoundTime += dt;
    if (hit && !pieceDestroyed && hitSoundTime >= hitSoundDelay) {
        hitSoundTime = 0;
        Sound::playSound("hit", effectVolume);
    }
}

} // namespace Tarvex
