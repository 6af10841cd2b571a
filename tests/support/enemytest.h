#pragma once
// Composite enemies in tests: one added to the play state from a list of pieces, and a
// fixture for tests of enemies in the started game: the enemies' links point at lists and
// a ship of the test's own (emptied and put back afterwards), the game's images by name,
// the explosions told apart by their kind, and the field drawn and read back.
#include <gtest/gtest.h>

#include <initializer_list>
#include <list>
#include <string>
#include <vector>

#include "support/gamesession.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/explosion.h"

namespace TestSupport {

// An enemy of the play state at pos, built of 2 x 2 pieces at the offsets given, each
// with its hit points and score.
struct Piece {
    char kind; // 'h'ull, 'a'mmo or 'c'ore
    Vector2<float> at;
    float hp, score;
};
Tarvex::MultiEntity* playEnemy(const Vector2<float>& pos, std::initializer_list<Piece> pieces);

class EnemyTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static Pyrane::Image* image(const std::string& name) { return game.image(name); }

    // "spark", "burst" (a piece destroyed) or "core" (the core destroyed), in the order
    // made; `colors` gets each explosion's colour.
    std::vector<std::string> explosionKinds(std::vector<RGBA<float>>* colors = nullptr) const;
    int countExplosions(const std::string& kind) const;
    void clearExplosions();

    // Whether a player's bullet of the given damage at (x, y) hits the enemy.
    static bool shoot(Tarvex::MultiEntity& enemy, float x, float y, float damage = 1);
    // The 160 x 100 field after clearing it to grey and drawing the enemy.
    static std::vector<Pixel> drawField(Tarvex::MultiEntity& enemy);

    std::list<Tarvex::Entity*> _fired;
    std::list<Tarvex::Explosion*> _explosions;
    Pyrane::Sprite _ship;

private:
    std::list<Tarvex::Entity*>* _savedFired = nullptr;
    std::list<Tarvex::Explosion*>* _savedExplosions = nullptr;
    Pyrane::Sprite* _savedShip = nullptr;
};

} // namespace TestSupport
