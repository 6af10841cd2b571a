// The enemy designs built on fresh enemies: how much they hold, how they enter, fire and
// break. Where each piece sits is left to the kept replay's figures and the drawing tests.
#include "tarvex/enemy/designs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/enemytest.h"
#include "tarvex/enemy/multientity.h"

namespace {

using namespace Tarvex;
using V = Vector2<float>;
using Box = Vell::AABB2<float>;

class Designs : public TestSupport::EnemyTest {};

// What it takes to break each design and what it earns, summed over its pieces: a change
// to any of them changes how the game plays, also for designs the kept replay never meets
// (the boss comes after a hundred enemies).
TEST_F(Designs, EachDesignHoldsItsPiecesHitPointsScoresAndDrops) {
    struct Sums {
        int pieces = 0;
        float hp = 0, score = 0;
        bool operator==(const Sums&) const = default;
        std::string text() const {
            return std::to_string(pieces) + " pieces, " + std::to_string(hp) + " hp, " +
                   std::to_string(score) + " points";
        }
    };
    struct Expected {
        void (*build)(MultiEntity&);
        Sums hull;
        std::vector<Sums> ammo;
        float coreHp, coreScore; // -1 without a core
        std::size_t drops;
        float dropWeight;
    };
    const Expected designs[] = {
        {buildEnemy1, {1, 8, 100}, {{4, 4, 40}}, -1, -1, 4, 16},
        {buildEnemy2, {4, 4, 100}, {{4, 4, 40}}, -1, -1, 4, 112},
        {buildEnemy3, {48, 48, 480}, {{96, 96, 480}}, 25, 100, 4, 22},
        {buildEnemy4, {4, 32, 100}, {{8, 24, 200}}, 1, 50, 4, 116},
        {buildBoss1, {71, 315, 2300}, {{120, 600, 600}, {23, 460, 115}}, -1, -1, 1, 0.0001f},
    };
    auto sum = [](const auto& pieces) {
        Sums sums;
        for (const Entity* piece : pieces) {
            ++sums.pieces;
            sums.hp += piece->_hp;
            sums.score += piece->_score;
        }
        return sums;
    };
    for (const Expected& d : designs) {
        SCOPED_TRACE(&d - designs);
        MultiEntity e;
        d.build(e);
        EXPECT_TRUE(sum(e._hull) == d.hull) << sum(e._hull).text();
        EXPECT_EQ(e._hullCount, d.hull.pieces);
        ASSERT_EQ(e._ammoGroups.size(), d.ammo.size());
        for (std::size_t g = 0; g < d.ammo.size(); ++g) {
            const Sums got = sum(e._ammoGroups[g].ammo);
            EXPECT_TRUE(got == d.ammo[g]) << got.text();
            EXPECT_EQ(e._ammoGroups[g].ammoCount, d.ammo[g].pieces);
        }
        EXPECT_EQ(e._core ? e._core->_hp : -1, d.coreHp);
        EXPECT_EQ(e._core ? e._core->_score : -1, d.coreScore);
        EXPECT_EQ(e._powerupDrop.entries().size(), d.drops);
        EXPECT_FLOAT_EQ(e._powerupDrop.totalWeight(), d.dropWeight);
    }
}

// Where each design appears (after its first two commands) and how fast it then flies.
TEST_F(Designs, EachDesignEntersInItsRangeAndDesign4TakesItsSideFromTheEnemiesGenerator) {
    struct Entry {
        void (*build)(MultiEntity&);
        Box at;
        float minSpeed, maxSpeed;
    };
    const Entry entries[] = {
        {buildEnemy1, Box(40, 110, 120, 110), 0, 0},
        {buildEnemy2, Box(10, 115, 150, 125), 16.5f, 23.5f},
        {buildEnemy3, Box(20, 125, 140, 135), 12.5f, 17.5f},
        {buildEnemy4, Box(-10, 45, 170, 95), 25, 35},
        {buildBoss1, Box(80, 130, 80, 130), 30, 30},
    };
    int left = 0, right = 0;
    for (int i = 0; i < 40; ++i)
        for (const Entry& entry : entries) {
            RandGenerator next = MultiEntity::_rand;
            next.rand(); // the enemy's drop table
            const bool fromLeft = next(0, 1) < 0.5;
            MultiEntity e;
            entry.build(e);
            e.animate(1 / 60.0);
            e.animate(1 / 60.0);
            EXPECT_TRUE(e._pos.x >= entry.at.min.x && e._pos.x <= entry.at.max.x) << e._pos.x;
            EXPECT_TRUE(e._pos.y >= entry.at.min.y && e._pos.y <= entry.at.max.y) << e._pos.y;
            const float speed = e._moveScript._vel.value;
            EXPECT_TRUE(speed >= entry.minSpeed && speed <= entry.maxSpeed) << speed;
            if (entry.build != buildEnemy4) continue;
            EXPECT_EQ(e._pos.x, fromLeft ? -10 : 170);
            (fromLeft ? left : right)++;
            e.animate(1 / 60.0);
            EXPECT_NEAR(std::cos(e._moveScript._vel.angle), fromLeft ? 1 : -1, 0.1)
                << "heading across the field";
        }
    EXPECT_GT(left, 5);
    EXPECT_GT(right, 5);
}

// Held in the middle of the field, each design fires its guns until they are spent.
TEST_F(Designs, EachDesignFiresAsManyShotsAsItsScriptsAndAmmoAllow) {
    const std::pair<void (*)(MultiEntity&), std::size_t> shots[] = {
        {buildEnemy1, 4}, {buildEnemy2, 4}, {buildEnemy3, 96}, {buildEnemy4, 4}, {buildBoss1, 143}};
    for (auto [build, count] : shots) {
        MultiEntity e;
        build(e);
        e._moveScript = MoveScript();
        e._pos = V(80, 60);
        for (int frame = 0; frame < 100 * 20; ++frame)
            e.animate(1 / 20.0);
        EXPECT_EQ(_fired.size(), count);
        for (Entity* piece : _fired)
            delete piece;
        _fired.clear();
    }
}

TEST_F(Designs, Design3sClosedCoreIsSafeFromBulletsUntilTheLastHullPieceGoes) {
    MultiEntity e;
    buildEnemy3(e);
    e._pos = V(80, 50);
    for (int shot = 0; shot < 10; ++shot)
        EXPECT_TRUE(shoot(e, 80, 50, 5));
    EXPECT_EQ(e._core->_hp, 25);

    // Each hull piece shot from its outer side, clear of the core; ammo in the way goes
    // first.
    int bullets = 0;
    while (e._hullCount > 0 && bullets < 1000) {
        const HullEntity* target = e._hull.front();
        const V at = target->pos();
        ASSERT_TRUE(shoot(e, 80 + at.x + (at.x < 0 ? -1.5f : 1.5f),
                          50 + at.y + (at.y < 0 ? -1.f : 1.f), 5));
        ++bullets;
        if (e._hullCount > 0) {
            ASSERT_NE(e._core, nullptr);
        }
    }
    EXPECT_EQ(e._hullCount, 0);
    EXPECT_EQ(e._core, nullptr) << "blown up with the 48th piece";
    EXPECT_EQ(e._blowupScore, 500);
    EXPECT_FALSE(e._coreHit);
    EXPECT_EQ(e._hitScore, 10);
    EXPECT_EQ(e._ammoGroups[0].ammoCount, 0);
}

} // namespace
