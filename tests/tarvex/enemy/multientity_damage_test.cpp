// Composite enemies under fire: which piece a bullet hits, the closed and open core,
// blow-ups with their bursts and scores, and bombs by distance.
#include <gtest/gtest.h>

#include "support/enemytest.h"
#include "tarvex/enemy/multientity.h"

namespace {

using namespace Tarvex;
using V = Vector2<float>;
using Color = RGBA<float>;
using Kinds = std::vector<std::string>;

class EnemyDamage : public TestSupport::EnemyTest {
protected:
    // The play state's bomb curves: full damage up to 70 units, none from 71 on.
    Gradient<float> curve(float damage) {
        Gradient<float> g;
        g.addEntry(0, damage);
        g.addEntry(70, damage);
        g.addEntry(71, 0);
        return g;
    }
    Gradient<float> _hullCurve = curve(50);
    Gradient<float> _ammoCurve = curve(10);
};

// A core of 100 points at (80, 50) under a ring of four hull pieces, and an ammo piece
// at (10, 0) from it.
void coreInRing(MultiEntity& enemy, double closed = 4.0) {
    enemy._hullColor = Color(0, 0, 1, 1);
    enemy._ammoColor = Color(0, 1, 0, 1);
    enemy.addCore(game.image("box_2x2"), 0, 0, 3, 1.0, closed, 100);
    for (V at : {V(-4, 0), V(4, 0), V(0, -4), V(0, 4)})
        enemy.addHull(game.image("box_2x2"), at.x, at.y, 2, 25);
    enemy.addAmmo(game.image("box_2x2"), 10, 0, 1, 1, 5, 0);
}

TEST_F(EnemyDamage, ABulletHitsOnlyWithinTwoUnitsOfAPieceAndDamagesOnlyTheFirstPieceItMeets) {
    MultiEntity enemy;
    enemy.addHull(game.image("box_4x4"), 0, 0, 3, 25); // box (78..82, 48..52)
    enemy.addAmmo(game.image("box_2x2"), 0, 0, 2, 1, 5, 0);
    EXPECT_FALSE(shoot(enemy, 84.1f, 50));
    EXPECT_FALSE(shoot(enemy, 80, 45.9f));
    EXPECT_TRUE(explosionKinds().empty());

    // Over both pieces the ammo piece takes the bullet: a spark, no score yet.
    EXPECT_TRUE(shoot(enemy, 80, 50));
    EXPECT_EQ(explosionKinds(), Kinds{"spark"});
    EXPECT_EQ(enemy._ammoGroups[0].ammo.front()->_hp, 1);
    EXPECT_EQ(enemy._hull.front()->_hp, 3);
    EXPECT_FALSE(enemy._pieceDestroyed);
    EXPECT_EQ(enemy._hitScore, 0);
    // The second bullet destroys it: its score, a burst, one piece less in the count.
    EXPECT_TRUE(shoot(enemy, 80, 50));
    std::vector<Color> colors;
    EXPECT_EQ(explosionKinds(&colors), (Kinds{"spark", "spark", "burst"}));
    EXPECT_TRUE(colors[2].r == 1 && colors[2].g == 1 && colors[2].b == 1) << "ammo colour";
    EXPECT_TRUE(enemy._pieceDestroyed);
    EXPECT_EQ(enemy._hitScore, 5);
    EXPECT_EQ(enemy._ammoGroups[0].ammoCount, 0);
    EXPECT_TRUE(enemy._ammoGroups[0].ammo.empty());

    // The edge of the 4 x 4 box still touches the hull piece's box.
    EXPECT_TRUE(shoot(enemy, 84, 50, 2));
    EXPECT_EQ(enemy._hull.front()->_hp, 1);
    EXPECT_EQ(enemy._hitScore, 0) << "reset by every bullet";
    EXPECT_FALSE(enemy._pieceDestroyed);
}

TEST_F(EnemyDamage, AClosedCoreWithHullLeftAbsorbsTheBulletAndAnOpenCoreDiesFromOne) {
    MultiEntity enemy;
    coreInRing(enemy);
    EXPECT_TRUE(shoot(enemy, 80, 50, 10));
    EXPECT_EQ(enemy._core->_hp, 3);
    EXPECT_EQ(enemy._hullCount, 4) << "the closed core covers the hull under it";
    EXPECT_TRUE(explosionKinds().empty());
    EXPECT_EQ(enemy._hitScore, 0);

    for (int i = 0; i <= 4 * 4; ++i)
        enemy.animate(0.25);
    ASSERT_TRUE(enemy._coreOpen);
    EXPECT_TRUE(shoot(enemy, 80, 50, 0.5f)) << "whatever its hit points";
    EXPECT_EQ(enemy._core, nullptr);
    EXPECT_TRUE(enemy._coreHit);
    EXPECT_EQ(enemy._blowupScore, 500);
    EXPECT_EQ(enemy._hitScore, 0);
    EXPECT_FALSE(enemy._pieceDestroyed);
    EXPECT_EQ(enemy._hullCount, 0);
    EXPECT_EQ(enemy._ammoGroups[0].ammoCount, 0);
    EXPECT_TRUE(enemy._hull.empty() && enemy._ammoGroups[0].ammo.empty());
    std::vector<Color> colors;
    EXPECT_EQ(explosionKinds(&colors),
              (Kinds{"core", "burst", "burst", "burst", "burst", "burst"}));
    EXPECT_EQ(colors[0].b, 1) << "the core bursts in the hull colour";
    int ammoBursts = 0;
    for (const Color& c : colors)
        ammoBursts += c.g == 1;
    EXPECT_EQ(ammoBursts, 1);
}

TEST_F(EnemyDamage, TheLastHullPieceBlowsUpTheCoreAndABareCoreTakesDamage) {
    MultiEntity enemy;
    coreInRing(enemy);
    for (V at : {V(76, 50), V(84, 50), V(80, 46)})
        for (int shot = 0; shot < 2; ++shot)
            shoot(enemy, at.x, at.y - (at.y == 46 ? 0.5f : 0));
    ASSERT_EQ(enemy._hullCount, 1);
    ASSERT_NE(enemy._core, nullptr);
    // From above, clear of the core's box.
    EXPECT_TRUE(shoot(enemy, 80, 54.5f));
    EXPECT_TRUE(shoot(enemy, 80, 54.5f));
    EXPECT_EQ(enemy._hitScore, 25) << "the last piece's score";
    EXPECT_TRUE(enemy._pieceDestroyed);
    EXPECT_EQ(enemy._core, nullptr);
    EXPECT_EQ(enemy._blowupScore, 500);
    EXPECT_FALSE(enemy._coreHit);
    EXPECT_EQ(enemy._ammoGroups[0].ammoCount, 0) << "the guns go with the core";

    // A closed core without hull sparks and takes damage; at 0 it dies for its score.
    MultiEntity bare;
    bare.addCore(game.image("box_2x2"), 0, 0, 2, 1.0, 4.0, 40);
    clearExplosions();
    EXPECT_TRUE(shoot(bare, 80, 50));
    EXPECT_EQ(bare._core->_hp, 1);
    EXPECT_EQ(explosionKinds(), Kinds{"spark"});
    EXPECT_TRUE(shoot(bare, 80, 50));
    EXPECT_EQ(bare._core, nullptr);
    EXPECT_EQ(bare._hitScore, 40);
    EXPECT_EQ(bare._blowupScore, 200);
    EXPECT_FALSE(bare._coreHit);
    EXPECT_EQ(explosionKinds(), (Kinds{"spark", "spark", "core"}));
}

TEST_F(EnemyDamage, ABlowUpShowsAtMostTenBurstsForTheHullAndTenForEachGroupAndDeletesAll) {
    MultiEntity enemy;
    enemy.addCore(game.image("box_2x2"), 0, 0, 1, 1.0, 4.0, 25);
    for (int i = 0; i < 48; ++i)
        enemy.addHull(game.image("box_4x2"), float(i % 8) * 4 - 16, float(i / 8) * 3 - 9, 1, 10);
    for (int i = 0; i < 96; ++i)
        enemy.addAmmo(game.image("box_2x1"), float(i % 16) * 2 - 16, 12, 1, 1, 5, 0);
    enemy.newAmmoGroup();
    for (int i = 0; i < 5; ++i)
        enemy.addAmmo(game.image("box_2x1"), float(i), 20, 1, 1, 5, 0);
    enemy.destroyCore();
    EXPECT_EQ(countExplosions("core"), 1);
    EXPECT_EQ(countExplosions("burst"), 10 + 10 + 5);
    EXPECT_EQ(countExplosions("spark"), 0);
    EXPECT_EQ(enemy._blowupScore, 125);
    EXPECT_EQ(enemy._hullCount, 0);
    EXPECT_TRUE(enemy._hull.empty());
    for (const AmmoGroup& group : enemy._ammoGroups)
        EXPECT_TRUE(group.ammo.empty() && group.ammoCount == 0);

    // Deleting pieces on their own sums their scores with one shared budget of bursts.
    std::list<HullEntity*> hull;
    std::list<AmmoEntity*> ammo;
    for (int i = 0; i < 3; ++i) {
        hull.push_back(new HullEntity);
        hull.back()->_score = 10;
        ammo.push_back(new AmmoEntity);
        ammo.back()->_score = 1;
    }
    ammo.push_back(new AmmoEntity);
    ammo.back()->_score = 1;
    clearExplosions();
    EXPECT_EQ(enemy.destroyEntities(hull, ammo, 5), 34);
    EXPECT_EQ(countExplosions("burst"), 5);
}

// How far a bomb reaches and what each kind of bomb spares, the play state's bomb tests
// check with the game's own curves.
TEST_F(EnemyDamage, BombsDamageByDistanceThroughTheirCurvesWithoutCoverOrSparks) {
    // 60 units from a closed core of 25 hit points: 50 damage kills it for 6 x its score.
    MultiEntity enemy;
    enemy.addCore(game.image("box_2x2"), 0, 0, 25, 1.0, 4.0, 100);
    enemy.addHull(game.image("box_2x2"), 0, 0, 100, 10);
    enemy.bomb(V(80, 110), &_hullCurve, &_ammoCurve);
    EXPECT_EQ(enemy._core, nullptr);
    EXPECT_EQ(enemy._hitScore, 600);
    EXPECT_EQ(enemy._blowupScore, 500);
    EXPECT_FALSE(enemy._coreHit);
    EXPECT_EQ(enemy._hullCount, 0);

    // Hull bombed away leaves the core; an open core dies from any damage above 0.01.
    MultiEntity open;
    coreInRing(open);
    Gradient<float> weak = curve(2.5f);
    open.bomb(V(80, 50), &weak, nullptr);
    EXPECT_EQ(open._hullCount, 0);
    EXPECT_EQ(open._hitScore, 100);
    ASSERT_NE(open._core, nullptr) << "losing the hull to a bomb does not blow up the core";
    EXPECT_EQ(open._core->_hp, 0.5f);
    EXPECT_EQ(countExplosions("spark"), 0) << "a bomb's damage makes no sparks";
    EXPECT_EQ(open._ammoGroups[0].ammoCount, 1);
    for (int i = 0; i <= 16; ++i)
        open.animate(0.25);
    ASSERT_TRUE(open._coreOpen);
    Gradient<float> tiny = curve(0.02f);
    open.bomb(V(80, 50), &tiny, nullptr);
    EXPECT_EQ(open._core, nullptr);
    EXPECT_EQ(open._hitScore, 600);
    EXPECT_FALSE(open._coreHit);
}

TEST_F(EnemyDamage, AFiredPieceIsNoLongerHitThroughItsEnemy) {
    MultiEntity enemy;
    enemy.addHull(game.image("box_2x2"), -10, 0, 1, 10);
    enemy.addAmmo(game.image("box_2x2"), 0, 0, 1, 1, 5, 0);
    enemy.fireScript().command(FireScript::Fire(1, 0, 0, 0, 40, false));
    enemy.fireScript().command(FireScript::Wait(1, 0));
    enemy.animate(0.01);
    ASSERT_EQ(_fired.size(), 1u);
    EXPECT_FALSE(shoot(enemy, 80, 50));
    enemy.bomb(V(80, 50), &_hullCurve, &_ammoCurve);
    EXPECT_EQ(_fired.front()->_hp, 1) << "the bomb spared the bullet";
    EXPECT_EQ(enemy._hullCount, 0);
}

} // namespace
