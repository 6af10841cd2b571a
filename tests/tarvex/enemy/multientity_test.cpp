// Composite enemies in the started game: construction, pieces, the core's phases, the
// drift, drawing and the volleys of their ammo groups.
#include "tarvex/enemy/multientity.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "support/enemytest.h"
#include "tarvex/enemy/shuffle.h"

namespace {

using namespace Tarvex;
using TestSupport::Pixel;
using V = Vector2<float>;
using Fire = FireScript::Fire;
using Wait = FireScript::Wait;
using Color = RGBA<float>;

class MultiEntityTest : public TestSupport::EnemyTest {};

// Which colour each piece takes, the drawing test shows.
TEST_F(MultiEntityTest, PiecesTakeABoxAroundTheirOffsetAndASecondCoreReplacesTheFirst) {
    MultiEntity enemy;
    enemy.addHull(image("box_4x2"), -5, 2, 8, 25);
    enemy.addAmmo(image("box_2x2"), 3, -1, 2, 1, 10, 7);
    EXPECT_EQ(enemy.newAmmoGroup(), 1);
    enemy.addAmmo(image("box_2x1"), 0, 4, 1, 1, 5, 0);
    enemy.addCore(image("cross_1_4x4"), 1, 1, 3, 1.0, 4.0, 50);
    enemy.addCore(image("cross_2_4x4"), 0, 0, 25, 2.0, 3.0, 100);

    const HullEntity* hull = enemy._hull.front();
    EXPECT_EQ(hull->posAbs(), V(-5, 2)) << "animated once";
    EXPECT_EQ(hull->_bbox, Vell::AABB2<float>(-2, -1, 2, 1));
    EXPECT_EQ(enemy._ammoGroups[1].ammoCount, 1) << "into the current group";
    // The second core replaced the first (the sanitizer run sees the first deleted).
    EXPECT_EQ(enemy._core->image(), image("cross_2_4x4"));
    EXPECT_EQ(enemy._coreClosedTime, 3.0);

    enemy.clear();
    EXPECT_EQ(enemy._hullCount, 0);
    EXPECT_EQ(enemy._core, nullptr);
    for (const AmmoGroup& group : enemy._ammoGroups)
        EXPECT_EQ(group.ammoCount, 0);
    EXPECT_EQ(enemy._ammoGroups.size(), 2u) << "the groups stay";
}

TEST_F(MultiEntityTest, TheCoreOpensAfterItsClosedTimeAndClosesAfterItsOpenTimeCarryingTheRest) {
    MultiEntity enemy;
    enemy._hullColor = Color(0.2f, 0, 0, 1);
    enemy.addCore(image("box_2x2"), 0, 0, 1, 1.0, 4.0, 100);
    // Quarter-second steps add up exactly: 4 s is not yet more than 4 s.
    std::string phases;
    for (int frame = 1; frame <= 40; ++frame) {
        const bool wasOpen = enemy._coreOpen;
        enemy.animate(0.25);
        phases += enemy._coreOpen ? 'o' : '-';
        // Opening leaves the colour to the flash of the next frame; closing restores it.
        if (enemy._coreOpen != wasOpen) {
            EXPECT_EQ(enemy._core->color(), enemy._hullColor) << frame;
        }
    }
    EXPECT_EQ(phases, std::string(16, '-') + "oooo" + std::string(16, '-') + "oooo");
    EXPECT_EQ(enemy._coreTimer, 1.0) << "the excess of 0.25 s carried into the phase";

    // While open, the flash shows four greys in turn, 0.1 s a round.
    MultiEntity flashing;
    flashing.addCore(image("box_2x2"), 0, 0, 1, 1.0, 0.0, 100);
    flashing.animate(0.001);
    ASSERT_TRUE(flashing._coreOpen);
    std::map<float, int> greys;
    for (int frame = 0; frame < 90; ++frame) {
        flashing.animate(0.01);
        const Color c = flashing._core->color();
        EXPECT_TRUE(c.r == c.g && c.g == c.b && c.a == 1);
        ++greys[c.r];
    }
    EXPECT_EQ(greys.size(), 4u);
    EXPECT_EQ(greys.begin()->first, 0);
    EXPECT_EQ(greys.rbegin()->first, 1);
    EXPECT_TRUE(greys.count(0.4f) && greys.count(0.75f));
}

TEST_F(MultiEntityTest, DrawsHullThenAmmoThenCoreAtItsPositionAndNoFiredPiece) {
    MultiEntity enemy;
    enemy._pos = V(40, 30);
    enemy._hullColor = Color(1, 0, 0, 1);
    enemy.addHull(image("box_4x4"), 0, 0, 1, 1); // covers (38..41, 28..31)
    enemy._ammoColor = Color(0, 1, 0, 1);
    enemy.addAmmo(image("box_2x2"), 0, 0, 1, 1, 1, 0); // (39..40, 29..30)
    enemy.addAmmo(image("box_2x2"), 10, 0, 1, 1, 1, 0);
    enemy._hullColor = Color(0, 0, 1, 1);
    enemy.addCore(image("box_1x1"), 0, 0, 1, 1, 1, 1); // (40, 30)
    enemy.fireScript().command(Fire(1, 0, 0, 0, 40, false));
    enemy.fireScript().command(Wait(1, 0));

    auto at = [](const std::vector<Pixel>& field, int x, int y) { return field[y * 160 + x]; };
    const Pixel red{255, 0, 0, 255}, green{0, 255, 0, 255}, blue{0, 0, 255, 255};
    std::vector<Pixel> field = drawField(enemy);
    EXPECT_EQ(at(field, 38, 28), red);
    EXPECT_EQ(at(field, 39, 29), green);
    EXPECT_EQ(at(field, 40, 30), blue);
    EXPECT_EQ(at(field, 49, 29), green);

    // The first piece flies off; the enemy draws what it still carries.
    enemy.animate(0.01);
    ASSERT_EQ(_fired.size(), 1u);
    field = drawField(enemy);
    EXPECT_EQ(at(field, 39, 29), red);
    EXPECT_EQ(at(field, 40, 30), blue);
    EXPECT_EQ(at(field, 49, 29), green);
}

TEST_F(MultiEntityTest, AVolleyFansItsPiecesAroundOneJitteredDirectionFromTheFrontOfTheGroup) {
    MultiEntity enemy;
    for (int i = 0; i < 6; ++i)
        enemy.addAmmo(image("box_2x1"), float(i), -2, 3, 1, 5, 0);
    std::vector<AmmoEntity*> order(enemy._ammoGroups[0].ammo.begin(),
                                   enemy._ammoGroups[0].ammo.end());
    enemy.fireScript().command(Fire(4, -1.57f, 0.1f, 1, 40, false));
    enemy.fireScript().command(Fire(4, 0, 0, 0, 50, false));
    enemy.fireScript().command(Wait(1, 0));

    RandGenerator next = MultiEntity::_rand;
    const float r = float(next(-0.05, 0.05));
    enemy.animate(0.01);
    ASSERT_EQ(_fired.size(), 4u);
    const float fan[] = {-0.5f, -1 / 6.f, 1 / 6.f, 0.5f};
    int i = 0;
    for (Entity* piece : _fired) {
        EXPECT_EQ(piece, order[i]) << "front first";
        EXPECT_EQ(piece->pos(), V(80 + float(i), 48)) << "absolute";
        EXPECT_EQ(piece->vel().value, 40);
        EXPECT_NEAR(piece->vel().angle, -1.57f + r + fan[i], 1e-5);
        EXPECT_EQ(piece->_hp, 1);
        ++i;
    }
    EXPECT_EQ(enemy._ammoGroups[0].ammo.size(), 2u);
    EXPECT_EQ(enemy._ammoGroups[0].ammoCount, 6) << "firing does not count";

    // The next volley finds two pieces left: it fires them and stops.
    enemy.animate(0.01);
    EXPECT_EQ(_fired.size(), 6u);
    EXPECT_EQ(enemy._bulletSpeed, 50);
    EXPECT_TRUE(enemy._ammoGroups[0].ammo.empty());
}

TEST_F(MultiEntityTest, NoPieceLeavesAtTheBottomEdgeAndAGroupWithoutAmmoCountStandsStill) {
    MultiEntity low;
    low._pos = V(80, 0);
    low.addAmmo(image("box_2x2"), 0, 0, 1, 1, 1, 0);
    low.fireScript().command(Fire(1, -1.57f, 0, 0, 40, false));
    low.fireScript().command(Fire(1, -1.57f, 0, 0, 40, false));
    low.fireScript().command(Wait(1, 0));
    low.animate(0.01);
    EXPECT_TRUE(_fired.empty());
    EXPECT_EQ(low.fireScript()._current->type, FireScript::Frame::FIRE) << "the volley is used up";
    low._pos = V(80, 0.5f);
    low.animate(0.01);
    EXPECT_EQ(_fired.size(), 1u) << "the second Fire finds the enemy above the edge";

    MultiEntity spent;
    spent.addAmmo(image("box_2x2"), 0, 0, 1, 1, 1, 0);
    spent._ammoGroups[0].ammoCount = 0;
    spent.fireScript().command(Fire(1, -1.57f, 0, 0, 40, false));
    spent.fireScript().command(Wait(1, 0));
    spent.animate(0.01);
    EXPECT_EQ(spent.fireScript()._current, nullptr) << "the script was not stepped";
    EXPECT_EQ(_fired.size(), 1u);
}

TEST_F(MultiEntityTest, AmmoShufflesIntoEveryOrderAlike) {
    MultiEntity enemy;
    for (float x : {3.f, 1.f, 2.f, 0.f})
        enemy.addAmmo(image("box_2x2"), x, 0, 1, 1, 1, 0);
    // Every order of three pieces comes up about as often as every other.
    std::map<std::vector<int>, int> orders;
    for (int i = 0; i < 60000; ++i) {
        std::vector<int> v{0, 1, 2};
        shufflePieces(v);
        ++orders[v];
    }
    ASSERT_EQ(orders.size(), 6u);
    for (const auto& [order, count] : orders)
        EXPECT_NEAR(count, 10000, 500);

    // randomizeAmmo keeps the pieces and comes up with every order of them.
    std::list<AmmoEntity*> all = enemy._ammoGroups[0].ammo;
    all.sort();
    std::set<std::list<AmmoEntity*>> seen;
    for (int i = 0; i < 1000; ++i) {
        enemy.randomizeAmmo();
        std::list<AmmoEntity*> now = enemy._ammoGroups[0].ammo;
        seen.insert(now);
        now.sort();
        ASSERT_EQ(now, all);
    }
    EXPECT_EQ(seen.size(), 24u) << "every order of four pieces";
}

} // namespace
