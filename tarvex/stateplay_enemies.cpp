// The play state's enemies: the supply that refills the field as it thins out, with a
// mix and limits that grow harder with the number of enemies spawned; each enemy's
// entry, flight, escape or destruction with its bonus and power-up; and the boss wave
// that follows every hundred regular enemies.
#include <sstream>

#include "common_classes/sound/sound.h"
#include "pyrane/renderer2d.h"
#include "tarvex/enemy/designs.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/game.h"
#include "tarvex/ownedlist.h"
#include "tarvex/stateplay.h"

namespace Tarvex {

namespace {

// The design of each kind the chooser draws.
void (*const designs[])(MultiEntity&) = {buildEnemy2, buildEnemy1, buildEnemy4, buildEnemy3};
constexpr int kindCount = 4;

// Power-ups leave a destroyed enemy downwards at this speed.
constexpr float dropSpeed = 10;
constexpr float down = -1.57f;

// A living enemy has escaped once its position is past one of these edges; the top is
// open, since enemies enter from above.
bool escaped(const Vector2<float>& p) {
    return p.y < -10 || p.x > 170 || p.x < -10;
}

} // namespace

void StatePlay::addEnemy() {
    addEnemy(designs[_enemyChooser()]);
}

MultiEntity* StatePlay::addEnemy(void (*design)(MultiEntity&)) {
    auto* enemy = new MultiEntity;
    design(*enemy);
    // Whatever the design's own flight leaves inside the field heads off the bottom-left.
    enemy->_moveScript.command(MoveScript::Goto(-30, -30, 0, 0, false));
    enemy->_moveScript.command(MoveScript::Wait(2.5, 1.0));
    const float x = float(_rand(10, 150));
    const float vy = float(_rand(-10, -10));
    const float vx = float(_rand(-10, 10));
    enemy->_pos.set(x, 110);
    enemy->_vel.set(vx, vy);
    _enemies.push_back(enemy);
    ++_enemiesSpawned;
    return enemy;
}

void StatePlay::animateEnemies() {
    bool coreKilled = false;
    removeOwnedIf(_enemies, [&](MultiEntity* enemy) {
        enemy->animate(dt);
        if (enemy->_hullCount > 0 || enemy->_core) {
            if (enemy->_age <= enemy->_minAge || !escaped(enemy->_pos)) return false;
            // Escaped: nothing scored, nothing counted.
            if (enemy == _boss) _boss = nullptr;
            return true;
        }
        enemyDestroyed(*enemy, coreKilled);
        return true;
    });
    // One sound for however many cores went in this frame.
    if (coreKilled) Sound::playSound("corehit", effectVolume);
}

void StatePlay::enemyDestroyed(MultiEntity& enemy, bool& coreKilled) {
    if (enemy._coreHit) {
        const float bonus = 2 * enemy._blowupScore;
        std::ostringstream text;
        text << "CORE HIT +" << bonus;
        message(text.str(), 1.0, false);
        score(bonus);
        ++_coreKills;
        coreKilled = true;
    }
    // The kind is drawn for every enemy; one that falls due too soon after the last drop
    // is lost, not kept for later.
    const Powerup::Type drop = enemy._powerupDrop();
    if (drop != Powerup::None && _timeSincePowerup > _powerupInterval) {
        addPowerup(enemy._pos, RadVector2<float>(dropSpeed, down), drop);
        _timeSincePowerup = 0;
    }
    ++_enemiesDestroyed;
    if (&enemy == _boss) {
        std::ostringstream text;
        text << "BOSS DOWN +" << _bossBonus;
        message(text.str(), 2.0, false);
        score(_bossBonus);
        _boss = nullptr;
    }
}

void StatePlay::drawEnemies() {
    Pyrane::ImageBatch batch(game.renderer);
    drawOwned(_enemies);
}

void StatePlay::clearEnemies() {
    clearOwned(_enemies);
    _boss = nullptr;
}

void StatePlay::supplyEnemies() {
    if (_boss) return;
    if (_enemiesSpawned >= _bossDue) {
        bossWave();
        return;
    }
    const float spawned = float(_enemiesSpawned);
    if (_refillLevel.value(spawned) < float(_enemies.size())) return;
    // The mix is set when a refill starts and holds until the next one.
    for (int kind = 0; kind < kindCount; ++kind)
        _enemyChooser.updateWeight(kind, _enemyWeights[kind].value(spawned));
    const float most = _maxEnemies.value(spawned);
    while (most > float(_enemies.size()) && _enemiesSpawned < _bossDue)
        addEnemy();
}

void StatePlay::bossWave() {
    // The regular enemies still on the field go their way first.
    if (!_enemies.empty()) return;
    if (_bossWarningTime < 0) {
        message("WARNING", _bossWarningDuration, false);
        _bossWarningTime = 0;
    }
    _bossWarningTime += dt;
    if (_bossWarningTime < _bossWarningDuration) return;
    _bossWarningTime = -1;
    _boss = addEnemy(buildBoss1);
    // The boss is counted as spawned: the next one is due after as many regular enemies.
    _bossDue = _enemiesSpawned + _bossInterval;
}

} // namespace Tarvex
