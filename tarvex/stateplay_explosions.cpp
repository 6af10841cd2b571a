// The play state's explosions: added by the game's events, moved and drawn every
// frame, removed with their particles once their time is over.
#include <memory>

#include "pyrane/renderer2d.h"
#include "tarvex/explosion.h"
#include "tarvex/game.h"
#include "tarvex/ownedlist.h"
#include "tarvex/stateplay.h"

namespace Tarvex {

void StatePlay::addExplosion(const Vector2<float>& pos, const RGBA<float>& color, int count,
                             int image, float speed, float acceleration, float duration) {
    auto explosion =
        std::make_unique<Explosion>(pos, color, count, image, speed, acceleration, duration);
    _explosions.push_back(explosion.get());
    explosion.release();
}

void StatePlay::animateExplosions() {
    removeOwnedIf(_explosions, [this](Explosion* explosion) {
        explosion->animate(dt);
        return explosion->lifetime() > explosion->_duration;
    });
}

void StatePlay::drawExplosions() {
    Pyrane::ImageBatch batch(game.renderer);
    drawOwned(_explosions);
}

void StatePlay::clearExplosions() {
    clearOwned(_explosions);
}

} // namespace Tarvex
