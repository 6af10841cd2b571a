// Power-ups and bombs in the running play state: how they look and move, when the ship
// collects them and what that gives, the bombs' clearing of enemy bullets and their
// blast rings on the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "pyrane/functions.h"
#include "pyrane/image.h"
#include "pyrane/imagesequence.h"
#include "pyrane/particle.h"
#include "support/enemytest.h"
#include "support/playtest.h"
#include "tarvex/blast.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/explosion.h"

namespace {

using Effects = std::multiset<std::string>;
using Tarvex::Powerup;
using TestSupport::Picture;
using V = Vector2<float>;

// The drop velocity: 10 pixels a second, downwards.
const RadVector2<float> drop(10, -1.57f);

class PowerupTest : public TestSupport::PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        quietField();
        steadyShip();
        play._messageText.clear();
    }
    Powerup* add(const V& pos, Powerup::Type type, const RadVector2<float>& vel = drop) {
        play.addPowerup(pos, vel, type);
        return play._powerups.back();
    }
    // Whether the ship's and the power-up's visible pixels overlap where they are now;
    // a power-up shows its picture from its first step on.
    bool overlapsShip(const Powerup* p) {
        return p->_anim.image() && Pyrane::Image::collision(*play._player._ship.image(), shipPos(),
                                                            1, *p->_anim.image(), p->pos(), 1) != 0;
    }
    // An enemy bullet at the distance d (by the game's distance) right of c.
    Tarvex::Entity* bulletAtDistance(const V& c, float d) {
        // Straight along x the distance is (dx 1007 + 512) / 1024.
        const V pos = c + V((d * 1024 - 512) / 1007, 0);
        EXPECT_NEAR(Pyrane::distance(pos.x, pos.y, c.x, c.y), d, 1e-4);
        return enemyBullet(pos);
    }
};

// Pixels that are not grey: on the field only the power-ups' colours.
long coloured(const Picture& picture, TestSupport::Region r) {
    long n = 0;
    for (int y = r.min.y; y < r.max.y; ++y)
        for (int x = r.min.x; x < r.max.x; ++x)
            n += TestSupport::grey(picture, x, y) < 0;
    return n;
}

// How bombs home in and the weapon falls, the game-over test shows.
TEST_F(PowerupTest, EachKindShowsItsAnimationWhereItIs) {
    for (const auto& [type, name] : {std::pair{Powerup::Fire, "pow_fire"},
                                     {Powerup::BombWhite, "bomb_white"},
                                     {Powerup::BombBlack, "bomb_black"}}) {
        play.clearPowerups();
        Powerup* p = add({40, 60}, type);
        EXPECT_EQ(p->_anim.sequence(), game.sequence(name));

        // 15 frames a second, round and round through the four.
        std::vector<int> frames;
        for (int i = 0; i < 6; ++i) {
            step(1.0 / 15 + 1e-6);
            frames.push_back(p->_anim.frame());
        }
        EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 0, 1, 2})) << name;
        EXPECT_EQ(p->_anim.image(), game.sequence(name)->image(2));

        // Drawn where it is, and nothing coloured anywhere else.
        const V pos = p->pos();
        const Picture picture = readPicture();
        const TestSupport::Region around(int(pos.x) - 9, int(pos.y) - 9, int(pos.x) + 9,
                                         int(pos.y) + 9);
        EXPECT_GT(coloured(picture, around), 8) << name;
        EXPECT_EQ(coloured(picture, {0, 0, 160, 100}), coloured(picture, around)) << name;
    }
}

TEST_F(PowerupTest, TheWeaponPowerupRaisesTheLevelAndAtTheTopScoresTheBonus) {
    play._player._power = 1;
    add(shipPos(), Powerup::Fire);
    EXPECT_EQ(stepHearing(0.001), Effects{"powerup"});
    EXPECT_TRUE(play._powerups.empty());
    EXPECT_EQ(play._player._power, 2);
    EXPECT_EQ(play._messageText, "POWER UP");
    EXPECT_EQ(play._score, 0);
    ASSERT_FALSE(play._explosions.empty());
    EXPECT_EQ(play._explosions.back()->particles().size(), 32u);

    play._messageText.clear();
    play._player._power = 3;
    add(shipPos(), Powerup::Fire);
    step(0.001);
    EXPECT_EQ(play._player._power, 3);
    EXPECT_EQ(play._score, 10000);
    EXPECT_EQ(play._messageText, "BONUS 10000");
    play.clearExplosions();
    step(0.001);
    TestSupport::expectPrinted(
        readPicture(), {10, 30, 150, 60},
        {{"BONUS 10000", {80.2f, 45.2f}, Pyrane::Renderer2D::CENTER, Pyrane::Renderer2D::BOTTOM}});
}

TEST_F(PowerupTest, ABombDroppedOntoTheShipGoesOffInTheFirstFrameItOverlaps) {
    for (const auto& [type, sound] :
         {std::pair{Powerup::BombWhite, "bomb2"}, {Powerup::BombBlack, "bomb1"}}) {
        play.clearBlasts();
        Powerup* p = add(shipPos() + V(0.3f, 30), type);
        int frames = 0;
        Effects heard;
        while (play._powerups.size() == 1 && frames++ < 200) {
            ASSERT_FALSE(overlapsShip(p)) << "left on the ship after a frame";
            heard = stepHearing(0.02);
        }
        EXPECT_TRUE(play._powerups.empty());
        EXPECT_GT(frames, 50) << "it took its time at the drop speed";
        EXPECT_EQ(heard, Effects{sound});
        ASSERT_EQ(play._blasts.size(), 1u);
        EXPECT_EQ(play._blasts.front()->_color.r, type == Powerup::BombWhite ? 1 : 0);
    }
}

TEST_F(PowerupTest, DuringGameOverPowerupsMoveButNoneIsCollected) {
    const V last = shipPos();
    play.gameOver();
    add(last + V(0, 3), Powerup::BombBlack);
    add(last + V(-20, 0), Powerup::BombWhite);
    add(last + V(0, 2), Powerup::Fire);
    step(0.1, 30);
    ASSERT_EQ(play._powerups.size(), 3u);
    // The bombs homed in on the last position, where they now hover; the weapon fell.
    int homing = 0;
    for (const Powerup* p : play._powerups)
        if (p->_homing) {
            ++homing;
            EXPECT_LT((p->pos() - last).abs(), 1.5f);
        }
    EXPECT_EQ(homing, 2) << "both bombs, not the weapon";
    EXPECT_LT(play._powerups.back()->pos().y, last.y - 25);
    EXPECT_EQ(play._score, 0);
    EXPECT_TRUE(play._blasts.empty());
    EXPECT_EQ(play._player._power, 0);
}

TEST_F(PowerupTest, APowerupStaysUntilItsWholePictureHasLeftTheArea) {
    // The pictures span (-8, -8)-(7, 7) around the position: a power-up whose picture
    // just touches the area stays, a hair further out it goes.
    play._player._ship.pos(80, 50);
    for (const float beyond : {0.f, 0.01f})
        for (const V pos :
             {V(-23 - beyond, 50), V(184 + beyond, 50), V(80, -23 - beyond), V(80, 124 + beyond)}) {
            play.clearPowerups();
            add(pos, Powerup::Fire, RadVector2<float>());
            step(0.001);
            EXPECT_EQ(play._powerups.size(), beyond > 0 ? 0u : 1u) << pos.x << ", " << pos.y;
        }
}

TEST_F(PowerupTest, BombsClearEnemyBulletsUpToDistance70ButNotAt71) {
    play._player._ship.pos(150, 90);
    const V centre(40, 30);
    for (const bool white : {true, false})
        for (const auto& [d, cleared] : std::vector<std::pair<float, bool>>{
                 {0.5f, true}, {35, true}, {70, true}, {70.5f, true}, {71, false}, {90, false}}) {
            play.clearEnemyBullets();
            play.clearExplosions();
            Tarvex::Entity* bullet = bulletAtDistance(centre, d);
            const V pos = bullet->pos();
            if (white)
                play.whiteBomb(centre);
            else
                play.blackBomb(centre);
            EXPECT_EQ(play._enemyBullets.empty(), cleared) << d;
            // A cleared bullet bursts into a small white ring where it was.
            ASSERT_EQ(play._explosions.size(), cleared ? 1u : 0u) << d;
            if (cleared) {
                EXPECT_EQ(play._explosions.back()->pos(), pos);
                EXPECT_EQ(play._explosions.back()->particles().size(), 8u);
            }
        }
}

// Where the ring of a bomb at (80, 50) is at 0.3 s: from 24.5 to 60.4 pixels.
struct Sample {
    float radius, degrees;
};
const std::vector<Sample> inRing = {{40, 0},   {40, 180}, {40, 270}, {30, 225},
                                    {55, 300}, {40, 355}, {40, 359}, {40, 5}};
const std::vector<Sample> offRing = {{5, 0}, {15, 90}, {18, 200}, {66, 0}, {66, 180}};

int greyAt(const Picture& picture, const Sample& s) {
    const float a = s.degrees * 3.14159265f / 180;
    return TestSupport::grey(picture, int(80 + s.radius * std::cos(a)),
                             int(50 + s.radius * std::sin(a)));
}

TEST_F(PowerupTest, TheBlastShowsAsARingAndIsGoneAfterOneSecond) {
    play._player._ship.pos(150, 90);
    for (const bool white : {false, true}) {
        play.clearBlasts();
        if (white)
            play.whiteBomb({80, 50});
        else
            play.blackBomb({80, 50});
        const int ring = white ? 255 : 0;
        step(0.1, 3);
        const Picture picture = readPicture();
        for (const Sample& s : inRing)
            EXPECT_EQ(greyAt(picture, s), ring) << s.radius << " at " << s.degrees;
        for (const Sample& s : offRing)
            EXPECT_NE(greyAt(picture, s), ring) << s.radius << " at " << s.degrees;

        step(0.25, 2);
        step(0.1);
        EXPECT_EQ(play._blasts.size(), 1u) << "at 0.9 s";
        step(0.11);
        EXPECT_TRUE(play._blasts.empty()) << "at 1.01 s";
        const Picture after = readPicture();
        for (const Sample& s : inRing)
            EXPECT_NE(greyAt(after, s), ring) << s.radius << " at " << s.degrees;
    }
}

TEST_F(PowerupTest, LeavingAGameInTheMiddleOfEverythingStartsTheNextOneEmpty) {
    play._player._shotsPending = 1;
    step(0.01);
    add({50, 50}, Powerup::BombBlack);
    add({60, 60}, Powerup::Fire);
    enemyBullet({150, 10});
    play.blackBomb({20, 90});
    play.whiteBomb({40, 90});
    play.addExplosion({70, 70}, RGBA<float>(1, 1, 1, 1), 64, 1, 200, -250, 0.7f);
    step(0.01);
    ASSERT_FALSE(play._bullets.empty() || play._enemyBullets.empty() || play._powerups.empty() ||
                 play._blasts.empty() || play._explosions.empty());
    keyDown(VK_ESCAPE);
    ASSERT_FALSE(inPlay());
    game.play();
    EXPECT_TRUE(play._bullets.empty() && play._enemyBullets.empty() && play._powerups.empty() &&
                play._blasts.empty() && play._explosions.empty());
    EXPECT_EQ(Pyrane::Particle::_totalFreeCount, Pyrane::Particle::_totalMaxCount)
        << "the explosions' particles are given back";
}

TEST_F(PowerupTest, AWhiteBombSparesHullAndCoresAndHurtsOnlyAmmo) {
    Tarvex::MultiEntity* hull =
        TestSupport::playEnemy({60, 50}, {{'h', {0, 0}, 10, 50}, {'h', {4, 0}, 10, 50}});
    Tarvex::MultiEntity* armed = TestSupport::playEnemy(
        {40, 50}, {{'c', {0, 0}, 1, 100}, {'h', {0, 4}, 10, 50}, {'a', {0, -4}, 15, 3}});
    play.whiteBomb({70, 50});
    EXPECT_EQ(play._score, 0);
    EXPECT_EQ(hull->_hullCount, 2);
    for (const Tarvex::Entity* piece : hull->_hull)
        EXPECT_EQ(piece->_hp, 10);
    ASSERT_NE(armed->_core, nullptr);
    EXPECT_EQ(armed->_core->_hp, 1);
    ASSERT_EQ(armed->_ammoGroups[0].ammoCount, 1);
    EXPECT_EQ(armed->_ammoGroups[0].ammo.front()->_hp, 5) << "10 damage to ammo";

    // The ammo piece is gone by the second bomb, and only its score counts.
    play.whiteBomb({70, 50});
    EXPECT_EQ(play._score, 3);
    EXPECT_EQ(armed->_ammoGroups[0].ammoCount, 0);
    EXPECT_NE(armed->_core, nullptr);
}

TEST_F(PowerupTest, ABlackBombHurtsEverythingInReachAndScoresEachBlowUpOnce) {
    // 50 damage to hull and core, 10 to ammo, within 70 pixels.
    Tarvex::MultiEntity* cored = TestSupport::playEnemy(
        {60, 50}, {{'c', {0, 0}, 25, 100}, {'h', {4, 0}, 60, 5}, {'a', {-4, 0}, 20, 3}});
    Tarvex::MultiEntity* plain =
        TestSupport::playEnemy({90, 50}, {{'h', {0, 0}, 50, 5}, {'a', {0, 4}, 10, 3}});
    Tarvex::MultiEntity* far = TestSupport::playEnemy({150, 10}, {{'h', {0, 0}, 1, 5}});
    const V centre(80, 50);
    ASSERT_GE(Pyrane::distance(149, 9, centre.x, centre.y), 71);
    play._player._ship.pos(150, 90);
    play.blackBomb(centre);
    // The core's blow-up takes the whole enemy with it: the core's score and five times
    // it as the bomb's points, the blow-up's five times once more, its pieces nothing.
    EXPECT_EQ(cored->_core, nullptr);
    EXPECT_EQ(cored->_hullCount + cored->_ammoGroups[0].ammoCount, 0);
    EXPECT_EQ(std::pair(plain->_hullCount, plain->_ammoGroups[0].ammoCount), std::pair(0, 0));
    EXPECT_EQ(far->_hullCount, 1);
    EXPECT_EQ(play._score, 100 + 500 + 500 + 5 + 3);

    // A second bomb in the same frame finds nothing left to blow up.
    play.blackBomb(centre);
    EXPECT_EQ(play._score, 1108);
}

} // namespace
