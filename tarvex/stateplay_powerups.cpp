// The play state's power-ups and bombs: power-ups fall or home in on the ship until it
// collects them; a weapon power-up raises the weapon level, a bomb sets off a blast ring
// and damages enemies and enemy bullets around it.
#include <memory>

#include "common_classes/sound/sound.h"
#include "pyrane/functions.h"
#include "pyrane/image.h"
#include "pyrane/imagesequence.h"
#include "tarvex/blast.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/game.h"
#include "tarvex/ownedlist.h"
#include "tarvex/stateplay.h"

namespace Tarvex {

namespace {

// A power-up is lost once its whole picture has left this box.
const Vell::AABB2<float> powerupArea(-16, -16, 176, 116);

// Both bombs: the ring's radius and growing time.
constexpr float bombRadius = 70;
constexpr double bombDuration = 0.5;

// The picture of each kind of power-up.
const char* sequenceName(Powerup::Type type) {
    switch (type) {
    case Powerup::Fire:
        return "pow_fire";
    case Powerup::BombWhite:
        return "bomb_white";
    case Powerup::BombBlack:
        return "bomb_black";
    case Powerup::None:
        break;
    }
    return nullptr;
}

} // namespace

void StatePlay::addPowerup(const Vector2<float>& pos, const RadVector2<float>& vel,
                           Powerup::Type type) {
    auto powerup = std::make_unique<Powerup>();
    powerup->pos(pos);
    powerup->vel(vel);
    powerup->_type = type;
    if (const char* name = sequenceName(type)) powerup->_anim.sequence(game.sequence(name));
    // The weapon power-up falls straight along its start velocity.
    if (type == Powerup::Fire) powerup->_homing = false;
    _powerups.push_back(powerup.release());
}

void StatePlay::animatePowerups() {
    const Pyrane::Image* ship = _player._ship.image();
    removeOwnedIf(_powerups, [&](Powerup* powerup) {
        powerup->animate(dt);
        const Pyrane::Image* picture = powerup->_anim.image();
        // Any visible pixel of the ship on any visible pixel of the power-up.
        const bool touches = ship && picture &&
                             Pyrane::Image::collision(*ship, _player._ship.pos(), 1, *picture,
                                                      powerup->pos(), 1) != 0;
        if (touches) {
            // During game over nobody collects it, and it does not leave while it lies
            // on the ship's last position.
            if (!_gameOver) pickupPowerup(powerup);
            return !_gameOver;
        }
        const Vell::AABB2<float> box =
            picture ? picture->vertexBox() + powerup->pos() : Vell::AABB2<float>() + powerup->pos();
        return !box.intersects(powerupArea);
    });
}

void StatePlay::pickupPowerup(Powerup* powerup) {
    const Vector2<float> pos = powerup->pos();
    switch (powerup->_type) {
    case Powerup::Fire:
        Sound::playSound("powerup", effectVolume);
        if (_player._power >= _player._maxPower) {
            message(_bonusText, 1.0, false);
            score(_bonus);
        } else {
            message("POWER UP", 1.0, false);
        }
        addExplosion(pos, RGBA<float>(1, 1, 1, 1), 32, 0, 200, -500, 0.4f);
        _player.powerup();
        break;
    case Powerup::BombWhite:
        whiteBomb(pos);
        break;
    case Powerup::BombBlack:
        blackBomb(pos);
        break;
    case Powerup::None:
        break;
    }
}

void StatePlay::drawPowerups() {
    drawOwned(_powerups);
}

void StatePlay::clearPowerups() {
    clearOwned(_powerups);
}

void StatePlay::whiteBomb(const Vector2<float>& pos) {
    _blasts.push_back(new Blast(pos, bombRadius, bombDuration, RGBA<float>(1, 1, 1, 1)));
    // Clears bullets and hurts ammo, but spares hull and cores.
    applyBombDamage(pos, nullptr, &_bombAmmoDamage);
    Sound::playSound("bomb2", effectVolume);
}

void StatePlay::blackBomb(const Vector2<float>& pos) {
    _blasts.push_back(new Blast(pos, bombRadius, bombDuration, RGBA<float>(0, 0, 0, 1)));
    Sound::playSound("bomb1", effectVolume);
    applyBombDamage(pos, &_bombHullDamage, &_bombAmmoDamage);
}

void StatePlay::applyBombDamage(const Vector2<float>& center, Gradient<float>* hullDamage,
                                Gradient<float>* ammoDamage) {
    for (MultiEntity* enemy : _enemies) {
        const bool hadCore = enemy->_core != nullptr;
        enemy->bomb(center, hullDamage, ammoDamage);
        score(enemy->_hitScore);
        // The blow-up's points count when this bomb blew the core up; a core that went
        // earlier has had its points.
        if (hadCore && !enemy->_core) score(enemy->_blowupScore);
    }
    if (!ammoDamage) return;
    // Enemy bullets within the ammo curve's reach burst and are gone.
    removeOwnedIf(_enemyBullets, [&](Entity* bullet) {
        const Vector2<float> pos = bullet->pos();
        const bool cleared =
            ammoDamage->value(Pyrane::distance(pos.x, pos.y, center.x, center.y)) > 0.01f;
        if (cleared) addExplosion(pos, RGBA<float>(1, 1, 1, 1), 8, 0, 100, -500, 0.2f);
        return cleared;
    });
}

void StatePlay::animateBlasts() {
    removeOwnedIf(_blasts, [this](Blast* blast) {
        blast->animate(dt);
        return blast->_done;
    });
}

void StatePlay::drawBlasts() {
    drawOwned(_blasts);
}

void StatePlay::clearBlasts() {
    clearOwned(_blasts);
}

} // namespace Tarvex
