#include "support/enemytest.h"

#include <algorithm>

#include "support/glwindow.h"

namespace TestSupport {

using Tarvex::MultiEntity;

MultiEntity* playEnemy(const Vector2<float>& pos, std::initializer_list<Piece> pieces) {
    auto* e = new MultiEntity;
    Tarvex::statePlay._enemies.push_back(e);
    e->_pos = pos;
    Pyrane::Image* image = game.image("box_2x2");
    for (const Piece& p : pieces) {
        if (p.kind == 'h') e->addHull(image, p.at.x, p.at.y, p.hp, p.score);
        if (p.kind == 'a') e->addAmmo(image, p.at.x, p.at.y, p.hp, 1, p.score, 0);
        if (p.kind == 'c') e->addCore(image, p.at.x, p.at.y, p.hp, 1, 1, p.score);
    }
    return e;
}

void EnemyTest::SetUp() {
    startGame();
    _savedFired = std::exchange(MultiEntity::_firedBullets, &_fired);
    _savedExplosions = std::exchange(MultiEntity::_explosions, &_explosions);
    _savedShip = std::exchange(MultiEntity::_player, &_ship);
}

void EnemyTest::TearDown() {
    for (Tarvex::Entity* piece : _fired)
        delete piece;
    _fired.clear();
    clearExplosions();
    MultiEntity::_firedBullets = _savedFired;
    MultiEntity::_explosions = _savedExplosions;
    MultiEntity::_player = _savedShip;
}

std::vector<std::string> EnemyTest::explosionKinds(std::vector<RGBA<float>>* colors) const {
    std::vector<std::string> kinds;
    for (const Tarvex::Explosion* e : _explosions) {
        const auto& images = Tarvex::Explosion::_particleImages;
        const std::size_t image = static_cast<std::size_t>(
            std::find(images.begin(), images.end(), e->particleImage()) - images.begin());
        const std::size_t count = e->particles().size();
        if (image == 0 && count == 8 && e->_duration == 0.2f)
            kinds.push_back("spark");
        else if (image == 2 && count == 8 && e->_duration == 0.35f)
            kinds.push_back("burst");
        else if (image == 1 && count == 32 && e->_duration == 0.5f)
            kinds.push_back("core");
        else
            kinds.push_back("unknown");
        if (colors) colors->push_back(e->particles().front()->color);
    }
    return kinds;
}

int EnemyTest::countExplosions(const std::string& kind) const {
    return static_cast<int>(std::ranges::count(explosionKinds(), kind));
}

void EnemyTest::clearExplosions() {
    for (Tarvex::Explosion* e : _explosions)
        delete e;
    _explosions.clear();
}

bool EnemyTest::shoot(MultiEntity& enemy, float x, float y, float damage) {
    Tarvex::Entity bullet;
    bullet.pos(x, y);
    bullet._damage = damage;
    return enemy.bulletCollision(&bullet);
}

std::vector<Pixel> EnemyTest::drawField(MultiEntity& enemy) {
    game.beginPicture();
    game.renderer.color(0.5f, 0.5f, 0.5f, 1);
    game.renderer.clear();
    game.renderer.color(1, 1, 1, 1);
    enemy.draw();
    return readPicture(game.renderer);
}

} // namespace TestSupport
