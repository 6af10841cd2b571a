// Bullets in the running play state: the ship's volleys and misses, and enemy bullets
// that blink, hurt the ship once per invulnerability and leave the field.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/enemytest.h"
#include "support/playtest.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/explosion.h"

namespace {

using Effects = std::multiset<std::string>;
using TestSupport::Picture;
using TestSupport::playEnemy;
using V = Vector2<float>;

class BulletTest : public TestSupport::PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        quietField();
        steadyShip();
        play._messageText.clear();
    }
    // The particles and the particle image of the newest explosion.
    std::pair<std::size_t, Pyrane::Image*> lastExplosion() {
        const Tarvex::Explosion* e = play._explosions.back();
        return {e->particles().size(), e->particleImage()};
    }
    bool listed(Tarvex::Entity* bullet) {
        return std::ranges::count(play._enemyBullets, bullet) == 1;
    }
};

TEST_F(BulletTest, EachWeaponLevelFiresItsVolleyWithOneLazer) {
    const std::vector<std::vector<float>> volleys = {
        {0}, {1, -2}, {0, 2, -2}, {0, 2, -2, 2, 4, -2, -4}};
    for (int level = 0; level < 4; ++level) {
        play.clearBullets();
        play._player._power = level;
        play._player._shotsPending = 1;
        const int fired = play._shotsFired;
        EXPECT_EQ(stepHearing(0), Effects{"lazer"}) << level;
        std::vector<float> dx;
        for (const Tarvex::Entity* bullet : play._bullets) {
            dx.push_back(bullet->pos().x - shipPos().x);
            EXPECT_EQ(bullet->pos().y, shipPos().y + 4);
        }
        EXPECT_EQ(dx, volleys[level]);
        EXPECT_EQ(play._shotsFired, fired + int(volleys[level].size()));

        // Two white pixels in each bullet's column, where bullets share a column too,
        // once they have left the ship 10 pixels behind.
        step(0.05);
        const Picture picture = readPicture();
        for (int x = 70; x < 90; ++x) {
            const bool column = std::ranges::count(volleys[level], float(x - 80)) > 0;
            EXPECT_EQ(TestSupport::count(picture, {x, 28, x + 1, 32}, 255), column ? 2 : 0)
                << "level " << level << " x " << x;
        }
    }
}

TEST_F(BulletTest, ABulletThatLeavesTheTopIsOneMissAndOneAtTheTopLineIsNone) {
    play._player._shotsPending = 1;
    step(0);
    Tarvex::Entity* bullet = play._bullets.front();
    bullet->pos(40, 105);
    step(0);
    EXPECT_EQ(play._bullets.size(), 1u) << "at 105 it stays";
    bullet->pos(40, 104.9f);
    step(0.001);
    EXPECT_TRUE(play._bullets.empty());
    step(0.1, 3);
    EXPECT_EQ(std::pair(play._shotsFired, play._shotsMissed), std::pair(1, 1));
    // Bullets leave only at the top; at the sides they fly on.
    play._player._shotsPending = 1;
    step(0);
    play._bullets.front()->pos(-20, 50);
    step(0.01);
    EXPECT_EQ(play._bullets.size(), 1u);
}

TEST_F(BulletTest, AHitTakesTheShieldFirstAndTheNextHitAfterHalfASecondIsFatal) {
    play._player._power = 1;
    enemyBullet(shipPos());
    const std::size_t explosions = play._explosions.size();
    EXPECT_EQ(stepHearing(0.001), Effects{"shield"});
    EXPECT_EQ(play._player._power, 0);
    EXPECT_TRUE(play._player._invulnerable && play._player._shield.visible());
    EXPECT_TRUE(play._enemyBullets.empty());
    ASSERT_EQ(play._explosions.size(), explosions + 1);
    EXPECT_EQ(lastExplosion(), std::pair(std::size_t(16), game.image("box_1x1")));

    // The shield holds half a second (strictly more before the ship is hit again).
    Tarvex::Entity* second = enemyBullet(shipPos());
    step(0.25);
    step(0.24);
    EXPECT_TRUE(listed(second));
    EXPECT_TRUE(play._player._invulnerable);
    // Past half a second the ship loses the shield after the bullets' turn of the frame.
    step(0.02);
    EXPECT_TRUE(listed(second));
    EXPECT_FALSE(play._player._invulnerable);
    EXPECT_EQ(play._lives, 2);
    EXPECT_EQ(stepHearing(0.001), Effects{"die"});
    EXPECT_FALSE(listed(second));
    EXPECT_TRUE(play._player._dead);
    EXPECT_EQ(play._lives, 1);
    EXPECT_EQ(lastExplosion(), std::pair(std::size_t(64), game.image("box_2x2")));
    EXPECT_FALSE(play._gameOver);
}

TEST_F(BulletTest, OnlyOneBulletHurtsPerInvulnerabilityAndNoneTheInvulnerableOrDeadShip) {
    // Two bullets on the ship in one frame: the first takes the shield, the other flies
    // on through the ship, moved all the same.
    play._player._power = 2;
    Tarvex::Entity* first = enemyBullet(shipPos());
    Tarvex::Entity* second = enemyBullet(shipPos(), RadVector2<float>(10, -1.57f));
    step(0.1);
    EXPECT_EQ(play._player._power, 1);
    EXPECT_FALSE(listed(first));
    ASSERT_TRUE(listed(second));
    EXPECT_LT(second->pos().y, 16);

    play.clearEnemyBullets();
    play._player.die(0.5);
    Tarvex::Entity* overWreck = enemyBullet(shipPos(), RadVector2<float>(10, -1.57f));
    step(0.1);
    EXPECT_TRUE(listed(overWreck));
    EXPECT_EQ(play._lives, 2);

    // The ship's hit box is (-2, -4)-(2, 1) around it: a 2 x 2 bullet (-1, -1)-(1, 1)
    // around its position touches it from (-3, -5) to (3, 2) away.
    for (const float beyond : {0.f, 0.01f})
        for (const V offset :
             {V(3 + beyond, 0), V(-3 - beyond, 0), V(0, 2 + beyond), V(0, -5 - beyond)}) {
            play.clearEnemyBullets();
            play._player.reset();
            play._player.invulnerable(0);
            play._player._power = 1;
            step(0.001);
            Tarvex::Entity* bullet = enemyBullet(shipPos() + offset);
            step(0);
            const bool hits = beyond == 0;
            EXPECT_EQ(!listed(bullet), hits) << offset.x << ", " << offset.y;
            EXPECT_EQ(play._player._power, hits ? 0 : 1);
        }
}

TEST_F(BulletTest, EnemyBulletsOnTheAreasEdgeStayForTheFrameAndBeyondItGo) {
    play._player._ship.pos(80, 50);
    for (const float beyond : {0.f, 0.01f})
        for (const V pos :
             {V(170 + beyond, 20), V(-10 - beyond, 20), V(20, 110 + beyond), V(20, -10 - beyond)}) {
            Tarvex::Entity* bullet = enemyBullet(pos);
            step(0.01);
            EXPECT_EQ(listed(bullet), beyond == 0) << pos.x << ", " << pos.y;
        }
}

TEST_F(BulletTest, EnemyBulletsBlinkTogetherBlackAndWhite) {
    enemyBullet({40, 60});
    enemyBullet({120, 60});
    int white = 0, black = 0;
    for (int i = 0; i < 32; ++i) {
        step(0.01);
        const Picture picture = readPicture();
        const int left = TestSupport::grey(picture, 40, 60);
        EXPECT_EQ(left, TestSupport::grey(picture, 120, 60));
        EXPECT_EQ(left, TestSupport::grey(picture, 39, 59));
        white += left == 255;
        black += left == 0;
    }
    // Two periods of 0.16 s, white while the flash is above its middle: half the time.
    EXPECT_EQ(white + black, 32);
    EXPECT_NEAR(white, 16, 2);
}

TEST_F(BulletTest, EveryBulletOnAnEnemyGoesAndItsSoundsKeepTheirDelays) {
    // A big piece right over the ship's guns: every volley hits in the frame it is
    // fired, both bullets of level 1 at once.
    playEnemy({80, 24}, {{'h', {-4, 0}, 100, 1},
                         {'h', {-2, 0}, 100, 1},
                         {'h', {0, 0}, 100, 1},
                         {'h', {2, 0}, 100, 1}});
    play._player._power = 1;
    step(0.1);
    std::vector<Effects> heard;
    for (int frame = 0; frame < 5; ++frame) {
        play._player._shotsPending = 1;
        heard.push_back(stepHearing(0.02));
        EXPECT_TRUE(play._bullets.empty());
    }
    // The hit sounds at once after a quiet spell, then not before 0.05 s have passed.
    EXPECT_EQ(heard, (std::vector<Effects>{
                         {"hit", "lazer"}, {"lazer"}, {"lazer"}, {"hit", "lazer"}, {"lazer"}}));
    EXPECT_EQ(play._shotsMissed, 0);

    // One bullet destroys a piece while the other only hits: the explosion alone sounds.
    play.clearEnemies();
    playEnemy({80, 21}, {{'h', {4, 0}, 1, 7}});
    playEnemy({80, 21}, {{'h', {-4, 0}, 100, 1}});
    step(0.1);
    play._player._shotsPending = 1;
    EXPECT_EQ(stepHearing(0.001), (Effects{"explosion", "lazer"}));
    EXPECT_TRUE(play._bullets.empty());
    EXPECT_EQ(play._score, 7);
}

TEST_F(BulletTest, AfterGameOverBulletsStillInFlightHitButTheScoreStaysFinal) {
    playEnemy({80, 40}, {{'h', {0, 0}, 1, 10}});
    play._player._shotsPending = 1;
    step(0);
    play._score = 500;
    play.gameOver();
    EXPECT_EQ(stepHearing(0.1), Effects{"explosion"});
    EXPECT_TRUE(play._bullets.empty());
    EXPECT_EQ(play._score, 500);
    EXPECT_EQ(play._hiscore, 500);
}

} // namespace
