// Enemies in the running play state: the supply that opens and refills the field, what
// happens to escaped and destroyed enemies, the power-up drops and their gap, and the
// boss wave after every hundred regular enemies.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <utility>
#include <set>

#include "common_classes/sound/sound.h"
#include "support/playtest.h"
#include "tarvex/enemy/designs.h"
#include "tarvex/enemy/multientity.h"
#include "tarvex/powerup.h"

namespace {

using Effects = std::multiset<std::string>;
using Tarvex::MultiEntity;
using Tarvex::Powerup;
using V = Vector2<float>;

// Which design built an enemy, told apart by its pieces: the small box has four hull
// pieces and no core, the cross one hull piece, the rhombus four and a core, the carrier
// 48 and a core; the boss 71 and no core.
std::string design(const MultiEntity& e) {
    if (e._hullCount == 4 && !e._core) return "box";
    if (e._hullCount == 1 && !e._core) return "cross";
    if (e._hullCount == 4 && e._core) return "rhombus";
    if (e._hullCount == 48 && e._core) return "carrier";
    if (e._hullCount == 71 && !e._core) return "boss";
    return "?";
}

class EnemiesTest : public TestSupport::PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        play._messageText.clear();
    }
    // An enemy of one hull piece at pos, still, already past its first second.
    MultiEntity* still(const V& pos) {
        auto* e = new MultiEntity;
        e->addHull(game.image("box_4x4"), 0, 0, 1, 10);
        e->_pos = pos;
        e->_age = 2.0;
        play._enemies.push_back(e);
        return e;
    }
    // An enemy that has lost every piece, as the bullet pass or a bomb leaves it.
    MultiEntity* wreck(float blowupScore, bool coreHit) {
        MultiEntity* e = still(V(80, 50));
        e->clear();
        e->_blowupScore = blowupScore;
        e->_coreHit = coreHit;
        return e;
    }
    // Destroyed enemies drop a weapon power-up almost surely.
    MultiEntity* dropper(const V& pos) {
        MultiEntity* e = wreck(0, false);
        e->_pos = pos;
        e->_powerupDrop.addValue(Powerup::Fire, 1000);
        return e;
    }
    void animateEnemies(double dt) {
        play.dt = dt;
        play.animateEnemies();
    }
    void supply(double dt = 0.01) {
        play.dt = dt;
        play.supplyEnemies();
    }
    // A hundred enemies spawned and the field clear: the boss after its warning.
    MultiEntity* bringBoss() {
        play.clearEnemies();
        play._enemiesSpawned = 100;
        supply(0.01);
        supply(2.0);
        return play._boss;
    }
    int regularCount() {
        return int(
            std::ranges::count_if(play._enemies, [](auto* e) { return design(*e) != "boss"; }));
    }
};

TEST_F(EnemiesTest, TheFieldIsRefilledUpToTheLimitOnlyOnceItHasThinnedOutToTheRefillLevel) {
    struct Case {
        int spawned, onField, added;
    };
    // At 300 spawned the refill level is 10 and the field fills while below 15.75.
    for (const Case c : {Case{0, 2, 1}, Case{0, 3, 0}, Case{300, 10, 6}, Case{300, 11, 0},
                         Case{50, 3, 3}, Case{900, 4, 16}}) {
        SCOPED_TRACE(c.spawned);
        play.clearEnemies();
        play._bossDue = 100000;
        play._enemiesSpawned = c.spawned;
        for (int i = 0; i < c.onField; ++i)
            still(V(80, 50));
        supply();
        EXPECT_EQ(int(play._enemies.size()), c.onField + c.added);
        EXPECT_EQ(play._enemiesSpawned, c.spawned + c.added);
    }
}

// How the mix changes with the enemies spawned, the kept replay's figures show; the
// designs it never meets must still come up.
TEST_F(EnemiesTest, EveryRegularDesignComesUpInALaterMix) {
    play._bossDue = 100000;
    play._enemiesSpawned = 1000;
    std::set<std::string> seen;
    for (int i = 0; i < 20 && seen.size() < 4; ++i) {
        play.clearEnemies();
        supply();
        for (MultiEntity* e : play._enemies)
            seen.insert(design(*e));
    }
    EXPECT_EQ(seen, (std::set<std::string>{"box", "cross", "rhombus", "carrier"}));
}

TEST_F(EnemiesTest, TwoCoreKillsInAFrameGiveTwoMessagesTwoBonusesAndOneSound) {
    play.clearEnemies();
    const float score = play._score;
    wreck(250, true);
    wreck(40, false); // its core went another way: counted, no bonus
    wreck(100, true);
    Sound::stopAllSounds();
    animateEnemies(0.01);
    const Effects heard = TestSupport::effectsPlaying();
    EXPECT_EQ(heard.count("corehit"), 1u);
    EXPECT_EQ(play._messageText, "CORE HIT +500\nCORE HIT +200");
    EXPECT_EQ(play._messageDuration, 2.0);
    EXPECT_EQ(play._score, score + 700);
    EXPECT_EQ(play._coreKills, 2);
    EXPECT_EQ(play._enemiesDestroyed, 3);
    EXPECT_TRUE(play._enemies.empty());
    // Without a core kill no sound.
    wreck(40, false);
    Sound::stopAllSounds();
    animateEnemies(0.01);
    EXPECT_EQ(TestSupport::effectsPlaying().count("corehit"), 0u);
    EXPECT_EQ(play._enemiesDestroyed, 4);
}

TEST_F(EnemiesTest, DropsAreMoreThanTwoSecondsApartAndADropInsideTheGapIsLost) {
    play.clearEnemies();
    play.clearPowerups();
    play._timeSincePowerup = 2.0; // not above the interval
    dropper(V(30, 60));
    animateEnemies(0.01);
    EXPECT_TRUE(play._powerups.empty());
    play._timeSincePowerup = 2.001;
    dropper(V(30, 60));
    dropper(V(90, 70)); // the same frame: inside the gap
    animateEnemies(0.01);
    ASSERT_EQ(play._powerups.size(), 1u);
    Powerup* p = play._powerups.front();
    EXPECT_EQ(p->_type, Powerup::Fire);
    EXPECT_EQ(p->pos(), V(30, 60));
    EXPECT_FLOAT_EQ(p->vel().value, 10);
    EXPECT_FLOAT_EQ(p->vel().angle, -1.57f);
    EXPECT_EQ(play._timeSincePowerup, 0);
    EXPECT_EQ(play._enemiesDestroyed, 3);
    // The lost drop is not made up for when the gap is over.
    play._timeSincePowerup = 2.5;
    animateEnemies(0.01);
    EXPECT_EQ(play._powerups.size(), 1u);
    dropper(V(50, 50));
    animateEnemies(0.01);
    EXPECT_EQ(play._powerups.size(), 2u);
}

TEST_F(EnemiesTest, AfterAHundredEnemiesTheBossComesOnAClearFieldAfterAWarning) {
    play.clearEnemies();
    play._enemiesSpawned = 98;
    still(V(80, 50));
    still(V(80, 50));
    still(V(80, 50)); // 3 of them: the refill level at 98 is 4.6
    supply();
    // Only up to the hundredth, though the limit is above 7.
    EXPECT_EQ(play._enemiesSpawned, 100);
    EXPECT_EQ(play._enemies.size(), 5u);
    for (int i = 0; i < 3; ++i) {
        delete play._enemies.back();
        play._enemies.pop_back();
    }
    // Two left, under the refill level, and still none added.
    supply();
    EXPECT_EQ(play._enemiesSpawned, 100);
    EXPECT_EQ(play._messageText, "");
    // The field clears: the warning, then the boss 2 s later.
    play.clearEnemies();
    supply(0.5);
    EXPECT_EQ(play._messageText, "WARNING");
    EXPECT_EQ(play._messageDuration, 2.0);
    EXPECT_TRUE(play._enemies.empty());
    supply(1.4);
    EXPECT_TRUE(play._enemies.empty());
    supply(0.1);
    ASSERT_EQ(play._enemies.size(), 1u);
    MultiEntity* boss = play._enemies.front();
    EXPECT_EQ(design(*boss), "boss");
    EXPECT_EQ(play._boss, boss);
    EXPECT_EQ(play._enemiesSpawned, 101);
    EXPECT_EQ(play._messageText, "WARNING"); // said once
    // While it lives, nothing else comes.
    supply(3);
    EXPECT_EQ(play._enemies.size(), 1u);
}

TEST_F(EnemiesTest, TheBossDownScoresItsBonusAndTheNextBossFollowsAHundredRegularEnemiesLater) {
    ASSERT_NE(bringBoss(), nullptr);
    MultiEntity* boss = play._boss;
    const float score = play._score;
    const int destroyed = play._enemiesDestroyed;
    play._messageText.clear();
    boss->clear(); // every piece shot off
    animateEnemies(0.01);
    EXPECT_EQ(play._boss, nullptr);
    EXPECT_TRUE(play._enemies.empty());
    EXPECT_EQ(play._messageText, "BOSS DOWN +5000");
    EXPECT_EQ(play._score, score + 5000);
    EXPECT_EQ(play._enemiesDestroyed, destroyed + 1);
    EXPECT_TRUE(play._powerups.empty()); // the boss drops nothing
    // The supply resumes and stops again after a hundred regular enemies.
    int regular = 0;
    for (int i = 0; i < 200 && !play._boss; ++i) {
        regular += regularCount();
        play.clearEnemies();
        supply(0.5);
    }
    EXPECT_EQ(regular, 100);
    EXPECT_EQ(play._enemiesSpawned, 202);
    EXPECT_NE(play._boss, nullptr);
}

TEST_F(EnemiesTest, ABossThatLeavesTheFieldScoresNothingAndTheSupplyResumes) {
    ASSERT_NE(bringBoss(), nullptr);
    const float score = play._score;
    play._boss->_age = 5;
    play._boss->_moveScript._finished = true;
    play._boss->_pos = V(80, -50);
    animateEnemies(0.01);
    EXPECT_EQ(play._boss, nullptr);
    EXPECT_EQ(play._score, score);
    EXPECT_EQ(play._enemiesDestroyed, 0);
    supply();
    EXPECT_GT(regularCount(), 0);
    EXPECT_EQ(play._boss, nullptr);
}

TEST_F(EnemiesTest, ANewGameForgetsTheBossWave) {
    ASSERT_NE(bringBoss(), nullptr);
    game.menu();
    game.play();
    EXPECT_EQ(play._boss, nullptr);
    EXPECT_EQ(play._bossDue, 100);
    step(0.001);
    EXPECT_EQ(play._enemies.size(), 3u);
}

// The rows of the field that hold anything but black after `draw` on a black field,
// from the bottom up: the lowest and the highest.
std::pair<int, int> rowsDrawn(const std::function<void()>& draw) {
    Pyrane::Renderer2D& renderer = game.renderer;
    game.beginPicture();
    renderer.color(0, 0, 0, 1);
    renderer.clear();
    draw();
    const TestSupport::Picture shown = TestSupport::readPicture(renderer);
    std::pair<int, int> rows{100, -1};
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 160; ++x)
            if (TestSupport::grey(shown, x, y) != 0) rows = {std::min(rows.first, y), y};
    return rows;
}

// The boss fights below the status bar, so the score and "HI" stay readable: none of its
// pieces reaches the bar's rows once it has come down, nor while it swings.
TEST_F(EnemiesTest, TheBossStaysBelowTheStatusBar) {
    play._hiscore = 8888888;
    play._score = 8888888;
    const int barBottom = rowsDrawn([&] { play.drawStatusBar(); }).first;
    bringBoss();
    animateEnemies(0);
    for (int frame = 0; frame < 60 * 12; ++frame) {
        animateEnemies(1.0 / 60);
        if (frame < 60 * 3 || frame % 30 != 0) continue;
        const int bossTop = rowsDrawn([&] { play.drawEnemies(); }).second;
        ASSERT_LT(bossTop, barBottom) << "at frame " << frame;
    }
}

} // namespace
