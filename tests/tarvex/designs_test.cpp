// The enemy designs built on fresh enemies: their pieces, drops and scripts as the play
// state meets them, and how they enter, fire and break.
#include "tarvex/enemy/designs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>

#include "support/enemytest.h"
#include "tarvex/enemy/multientity.h"

namespace {

using namespace Tarvex;
using V = Vector2<float>;
using Box = Vell::AABB2<float>;
using Drops = std::vector<std::pair<Powerup::Type, float>>;

class Designs : public TestSupport::EnemyTest {};

// Pieces by image name and offset, in the order added.
using Placed = std::vector<std::pair<std::string, V>>;

Placed at(const std::string& name, std::initializer_list<V> offsets) {
    Placed placed;
    for (V v : offsets)
        placed.emplace_back(name, v);
    return placed;
}

Placed grid(const std::string& name, float x, float y, int cols, int rows, float dx, float dy) {
    Placed placed;
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < cols; ++k)
            placed.emplace_back(name, V(x + float(k) * dx, y + float(r) * dy));
    return placed;
}

Placed operator+(Placed a, const Placed& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

bool byPlace(const std::pair<std::string, V>& a, const std::pair<std::string, V>& b) {
    return std::tie(a.first, a.second.x, a.second.y) < std::tie(b.first, b.second.x, b.second.y);
}

template <typename List> Placed placed(const List& pieces) {
    Placed p;
    for (const Entity* piece : pieces) {
        std::string name = "?";
        for (const auto& [n, image] : game.images)
            if (image == piece->image()) name = n;
        p.emplace_back(name, piece->pos());
    }
    return p;
}

// Hit points and score of a list of pieces, each summed.
template <typename List> std::pair<float, float> values(const List& pieces) {
    std::pair<float, float> sum;
    for (const Entity* piece : pieces) {
        sum.first += piece->_hp;
        sum.second += piece->_score;
    }
    return sum;
}

struct Group {
    Placed pieces;
    std::pair<float, float> values;
    bool shuffled;
};

struct Core {
    const char* image = nullptr; // null without a core
    float hp, score, open, closed;
};

struct Design {
    const char* name;
    void (*build)(MultiEntity&);
    Placed hull;
    std::pair<float, float> hullValues;
    std::vector<Group> ammo;
    Core core;
    Drops drops;
};

// The four quarters "rhomb_n_a" to "rhomb_n_d" of a rhombus at an offset.
Placed rhomb(int n, V at) {
    Placed placed;
    for (const char* quarter : {"_a", "_b", "_c", "_d"})
        placed.emplace_back("rhomb_" + std::to_string(n) + quarter, at);
    return placed;
}

const Design designs[] = {
    {"enemy 1",
     buildEnemy1,
     at("cross_1_4x4", {{0, 0}}),
     {8, 100},
     {{at("box_2x2", {{-4, -2}, {-4, 3}, {5, -2}, {5, 3}}), {4, 40}, false}},
     {},
     {{Powerup::None, 10}, {Powerup::BombBlack, 2}, {Powerup::BombWhite, 2}, {Powerup::Fire, 2}}},
    {"enemy 2",
     buildEnemy2,
     at("box_4x2", {{-1, 2}, {-1, -4}}) + at("box_2x4", {{-4, -1}, {2, -1}}),
     {4, 100},
     {{at("box_2x2", {{-2, -2}, {-2, 0}, {0, 0}, {0, -2}}), {4, 40}, false}},
     {},
     {{Powerup::None, 100}, {Powerup::BombBlack, 3}, {Powerup::BombWhite, 6}, {Powerup::Fire, 3}}},
    {"enemy 3",
     buildEnemy3,
     grid("box_4x2", -5, -2, 4, 3, -4, -3) + grid("box_4x2", 6, -2, 4, 3, 4, -3) +
         grid("box_4x2", -5, 2, 4, 3, -4, 3) + grid("box_4x2", 6, 2, 4, 3, 4, 3),
     {48, 480},
     {{grid("box_2x1", -4, -4, 8, 3, -2, -3) + grid("box_2x1", 5, -4, 8, 3, 2, -3) +
           grid("box_2x1", -4, 3, 8, 3, -2, 3) + grid("box_2x1", 5, 3, 8, 3, 2, 3),
       {96, 480},
       true}},
     {"cross_2_4x4", 25, 100, 1.0f, 4.0f},
     {{Powerup::None, 10}, {Powerup::BombBlack, 3}, {Powerup::BombWhite, 3}, {Powerup::Fire, 6}}},
    {"enemy 4",
     buildEnemy4,
     rhomb(9, {0, 0}),
     {32, 100},
     {{rhomb(3, {5, 0}) + rhomb(3, {-5, 0}), {24, 200}, false}},
     {"box_2x2", 1, 50, 0.5f, 2.0f},
     {{Powerup::None, 100}, {Powerup::Fire, 5}, {Powerup::BombWhite, 6}, {Powerup::BombBlack, 5}}},
    {"boss",
     buildBoss1,
     at("box_16x16", {{-48, 0}}) + grid("box_4x4", -38, -22, 4, 4, 4, 4) +
         at("rhomb_15_c", {{-40, -8}}) + at("rhomb_15_b", {{-40, -8}}) +
         grid("box_4x4", -22, -38, 4, 4, 4, 4) + grid("box_4x4", -6, -38, 4, 4, 4, 4) +
         at("box_16x16", {{48, 0}, {32, -16}}) + at("rhomb_15_d", {{40, -8}}) +
         at("rhomb_15_a", {{40, -8}}) + grid("box_4x4", 22, -38, 4, 4, -4, 4),
     {7 * 5 + 16 * 2.5f + 48 * 5, 7 * 100 + 64 * 25},
     {{grid("box_2x2", -21, 0, 15, 8, 3, -3), {600, 600}, true},
      {grid("box_1x12", -22, -32, 23, 1, 2, 6), {460, 115}, true}},
     {},
     {{Powerup::None, 0.0001f}}},
};

TEST_F(Designs, EachDesignHasItsPiecesGroupsCoreAndDropsInTheirOrder) {
    for (const Design& d : designs) {
        SCOPED_TRACE(d.name);
        MultiEntity e;
        d.build(e);
        EXPECT_EQ(placed(e._hull), d.hull);
        EXPECT_EQ(values(e._hull), d.hullValues);
        EXPECT_EQ(e._hullCount, int(d.hull.size()));
        ASSERT_EQ(e._ammoGroups.size(), d.ammo.size());
        for (std::size_t g = 0; g < d.ammo.size(); ++g) {
            const AmmoGroup& group = e._ammoGroups[g];
            Placed ammo = placed(group.ammo), expected = d.ammo[g].pieces;
            if (d.ammo[g].shuffled) {
                EXPECT_NE(ammo, expected) << "shuffled";
                std::ranges::sort(ammo, byPlace);
                std::ranges::sort(expected, byPlace);
            }
            EXPECT_EQ(ammo, expected);
            EXPECT_EQ(values(group.ammo), d.ammo[g].values);
            EXPECT_EQ(group.ammoCount, int(expected.size()));
            EXPECT_FALSE(group.script._finished) << "every group has a script";
            for (const AmmoEntity* piece : group.ammo)
                ASSERT_TRUE(piece->_damage == 1 && piece->priority == 0);
        }
        if (!d.core.image) {
            EXPECT_EQ(e._core, nullptr);
        } else {
            ASSERT_NE(e._core, nullptr);
            EXPECT_EQ(e._core->image(), image(d.core.image));
            EXPECT_EQ(e._core->pos(), V(0, 0));
            EXPECT_EQ(std::tuple(e._core->_hp, e._core->_score, e._coreOpenTime, e._coreClosedTime),
                      std::tuple(d.core.hp, d.core.score, d.core.open, d.core.closed));
        }
        Drops drops;
        for (const auto& entry : e._powerupDrop.entries())
            drops.emplace_back(entry.value, entry.weight);
        EXPECT_EQ(drops, d.drops);
        EXPECT_FALSE(e._moveScript._finished);
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

TEST_F(Designs, Design1DiesWithItsGunsWhenItsCrossIsShot) {
    auto e = std::make_unique<MultiEntity>();
    buildEnemy1(*e);
    e->_pos = V(80, 50);
    for (int shot = 0; shot < 7; ++shot)
        EXPECT_TRUE(shoot(*e, 80, 50));
    EXPECT_EQ(e->_hullCount, 1);
    EXPECT_TRUE(shoot(*e, 80, 50));
    EXPECT_EQ(e->_hitScore, 100);
    // No hull and no core: the play state retires it, and its four guns go with it.
    EXPECT_EQ(e->_hullCount, 0);
    EXPECT_EQ(e->_core, nullptr);
    EXPECT_EQ(e->_ammoGroups[0].ammo.size(), 4u);
    e.reset();
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
