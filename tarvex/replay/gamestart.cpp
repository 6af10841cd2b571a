#include "tarvex/replay/gamestart.h"

#include <cstdlib>
#include <ctime>

#include "tarvex/background.h"
#include "tarvex/enemy/firescript.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/enemy/movescript.h"
#include "tarvex/stateplay.h"

namespace Tarvex {

GameSeeds clockSeeds() {
    const auto now = static_cast<std::uint32_t>(std::time(nullptr));
    return GameSeeds{now, now, now, now};
}

void seedGame(const GameSeeds& seeds) {
    // The standard generator behind the particles and the shuffles of enemy pieces is
    // never seeded by the game: its sequence starts as srand(1) starts it.
    std::srand(1);
    MultiEntity::_rand.seed(RandGenerator::defaultSeed);
    statePlay._enemyChooser.seed(RandGenerator::defaultSeed);

    MoveScript::_rand.seed(seeds.moveScript);
    FireScript::_rand.seed(seeds.fireScript);
    Background::generator().seed(seeds.background);
    statePlay._rand.seed(seeds.play);

    // A game's reset leaves these as the game before left them.
    statePlay._timeSincePowerup = statePlay._powerupInterval;
    statePlay._flash.rewind();
    statePlay._flashValue = 0;
}

GameCheck checkGame(const StatePlay& play, int frame) {
    GameCheck check;
    check.frame = frame;
    check.score = play._score;
    check.lives = play._lives;
    const Vector2<float> ship = play._player._ship.pos();
    check.shipX = ship.x;
    check.shipY = ship.y;
    check.enemies = static_cast<int>(play._enemies.size());
    check.bullets = static_cast<int>(play._bullets.size());
    check.enemyBullets = static_cast<int>(play._enemyBullets.size());
    return check;
}

} // namespace Tarvex
