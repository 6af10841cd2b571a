// A whole game as the scripted player plays it, frame by frame: from the title menu into
// play until the last ship is lost, the game-over screen, back to the menu, and nothing
// of the game left holding particles.
#include <gtest/gtest.h>

#include <set>

#include "pyrane/particle.h"
#include "support/playtest.h"
#include "support/scriptedplayer.h"
#include "tarvex/enemy/multientity.h"

namespace {

using Tarvex::MultiEntity;

class PlayThroughTest : public TestSupport::GameTest {
protected:
    // One pass of the main loop for whichever state is current.
    static void frame(double dt) {
        OpenglAppMultistate::State* state = game.currentState();
        state->dt = dt;
        state->time += dt;
        state->frame();
    }

    Tarvex::StatePlay& play = Tarvex::statePlay;
};

TEST_F(PlayThroughTest, AGameRunsFromTheMenuToGameOverAndBackAndGivesEveryParticleBack) {
    constexpr double dt = 1.0 / 30;
    ASSERT_EQ(game.currentState(), &Tarvex::stateMenu);
    for (int i = 0; i < 10; ++i)
        frame(dt);
    play._hiscore = 0;

    keyDown(VK_RETURN); // any key starts a game
    ASSERT_EQ(game.currentState(), &play);
    keyUp(VK_RETURN);
    int lives = play._lives, livesLost = 0;
    std::set<int> hullCounts;
    // Twenty minutes of play at most; the ship dies long before.
    int frames = 0;
    for (; frames < 20 * 60 * 30 && !play._gameOver; ++frames) {
        TestSupport::ScriptedPlayer::act();
        frame(dt);
        ASSERT_EQ(game.currentState(), &play);
        if (play._lives < lives) ++livesLost;
        lives = play._lives;
        for (const MultiEntity* e : play._enemies)
            hullCounts.insert(e->_hullCount);
    }
    ASSERT_TRUE(play._gameOver);
    EXPECT_EQ(livesLost, 3); // both spare ships, then the last one
    // Fire held all the time: a volley at least every second.
    EXPECT_GT(play._shotsFired, frames / 30);
    EXPECT_GE(play._enemiesSpawned, 3);
    EXPECT_TRUE(hullCounts.contains(4)); // the small boxes at least
    // The statistics are frozen and a beaten hiscore kept.
    EXPECT_EQ(play._statKills, play._enemiesDestroyed);
    EXPECT_EQ(play._statCoreHits, play._coreKills);
    EXPECT_EQ(play._hiscore, play._score);

    // The world runs on under "GAME OVER"; keys do nothing for half a second.
    frame(dt);
    keyDown(VK_SPACE);
    EXPECT_EQ(game.currentState(), &play);
    for (int i = 0; i < 15; ++i)
        frame(dt);
    play.clearEnemies();
    play.clearEnemyBullets();
    play.clearExplosions();
    play.clearPowerups();
    frame(0);
    TestSupport::expectPrinted(readPicture(), TestSupport::Region(20, 62, 140, 80),
                               {{"GAME OVER", Vector2<float>(79, 74), Pyrane::Renderer2D::CENTER,
                                 Pyrane::Renderer2D::TOP, game.font}});
    keyDown(VK_SPACE);
    EXPECT_EQ(game.currentState(), &Tarvex::stateMenu);
    for (int i = 0; i < 10; ++i)
        frame(dt);

    // A second game, left with Escape in the middle of play: a new game clears what the
    // last one left, and everything that held particles lets them go.
    keyDown(VK_RETURN);
    ASSERT_EQ(game.currentState(), &play);
    keyDown('Z');
    for (int i = 0; i < 30 * 30; ++i) {
        TestSupport::ScriptedPlayer::act();
        frame(dt);
    }
    EXPECT_GT(play._enemies.size(), 0u);
    keyDown(VK_ESCAPE);
    EXPECT_EQ(game.currentState(), &Tarvex::stateMenu);
    keyDown(VK_RETURN);
    EXPECT_EQ(Pyrane::Particle::_totalFreeCount, 10000);
    keyDown(VK_ESCAPE);
    EXPECT_EQ(game.currentState(), &Tarvex::stateMenu);
}

} // namespace
