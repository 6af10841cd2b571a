// The play state driven the way a player drives it: key messages through the game object
// and frames with fixed steps, the picture read back after the game has stretched it.
#include <gtest/gtest.h>

#include <filesystem>

#include "pyrane/image.h"
#include "tarvex/enemy/designs.h"
#include "support/files.h"
#include "support/playtest.h"

namespace {

using Pyrane::Renderer2D;
using TestSupport::count;
using TestSupport::expectPrinted;
using TestSupport::Picture;
using TestSupport::Region;

// The lower part of the field, where only the ship is black.
const Region shipArea(0, 0, 160, 40);
// The rows of "PAUSED".
const Region pausedLabel(0, 50, 160, 68);

class StatePlayTest : public TestSupport::PlayTest {
protected:
    float shipSpeedX() { return play._player._ship.vel().toVector2().x; }
};

TEST_F(StatePlayTest, ANewGameStartsAfreshWithGetReadyAndABlinkingShip) {
    play._score = 500;
    play._lives = 0;
    game.menu();
    game.play();
    EXPECT_EQ(std::pair(play._score, play._lives), std::pair(0.0f, 2));
    EXPECT_EQ(play._messageText, "GET READY");
    // Half a second: a blink left beyond its period by the long steps of an earlier game
    // takes a few frames to wrap round.
    int shown = 0, hidden = 0;
    for (int i = 0; i < 50; ++i) {
        step(0.01);
        (count(readPicture(), shipArea, 0) ? shown : hidden) += 1;
    }
    EXPECT_TRUE(shown && hidden);
}

// Both layers of the field are drawn dark grey: solid white tiles come out at 0.3 (76
// or 77) over the middle grey of the field (127 or 128), the second layer as the first.
// A busy frame (layers, enemies, bullets, explosions, ship, text) drawn into the
// framebuffer and copied out of the window is the same picture to the pixel.
TEST_F(StatePlayTest, TheFramebufferAndTheCopyOutOfTheWindowDrawTheSamePicture) {
    for (auto design : {Tarvex::buildEnemy1, Tarvex::buildEnemy2, Tarvex::buildEnemy3})
        play.addEnemy(design);
    keyDown(VK_SPACE);
    step(1 / 60.0, 90);
    keyDown('P');
    step(0);
    const Picture drawn = readPicture();
    ASSERT_TRUE(game.renderer.pictureInFramebuffer());
    game.renderer.picture(160, 100, false);
    step(0);
    const Picture copied = readPicture();
    game.renderer.picture(160, 100, true);
    EXPECT_GT(count(drawn, Region(0, 0, 160, 100), 255), 100) << "hardly anything drawn";
    EXPECT_EQ(copied, drawn);
}

TEST_F(StatePlayTest, BothBackgroundLayersShowTheirTilesDarkGrey) {
    Pyrane::Image white(*game.bitmapManager.get("full32x32.png"), Vell::AABB2<int>(0, 0, 16, 16),
                        Vector2<int>(0, 0), true);
    const auto tiles1 = play._background1._tiles, tiles2 = play._background2._tiles;
    play._background1._tiles.assign(tiles1.size(), &white);
    play._background2._tiles.assign(tiles2.size(), &white);
    step(0.001);
    const Picture picture = readPicture();
    play._background1._tiles = tiles1;
    play._background2._tiles = tiles2;

    // Between the message line and the status bar only the layers are drawn.
    long dark = 0, other = 0;
    for (int y = 55; y < 85; ++y)
        for (int x = 0; x < 160; ++x) {
            const auto& p = picture[y * 160 + x];
            const bool grey = p.g == p.r && p.b == p.r;
            dark += grey && (p.r == 76 || p.r == 77);
            other += !grey || (p.r != 76 && p.r != 77 && p.r != 127 && p.r != 128);
        }
    EXPECT_EQ(other, 0);
    // The second layer's tiles alone cover about half its cells: without them, the dark
    // share would be about half of the area, with them about three quarters.
    EXPECT_GT(dark, 160 * 30 * 6 / 10);
}

TEST_F(StatePlayTest, ArrowKeysSteerTheShipWithInertiaInsideTheField) {
    // Enemies could hit the ship on its way into the corners and send it back to the start.
    quietField();
    steadyShip();
    keyDown(VK_RIGHT);
    EXPECT_EQ(play._player._ship.image(), game.images.at("player_tilt"));
    step(1.0 / 36);
    EXPECT_NEAR(shipSpeedX(), 50, 1e-3) << "full speed in 1/36 s";
    step(1.0 / 36, 9);
    keyUp(VK_RIGHT);
    step(1.0 / 24, 2);
    EXPECT_NEAR(shipSpeedX(), 0, 1e-3) << "at rest 1/12 s after the release";
    EXPECT_NEAR(shipPos().x, 80 + 50.0 / 36 * 10 + 25.0 / 24, 0.01);

    // Right pressed while Left is held wins, and releasing Left does not stop it.
    keyDown(VK_LEFT);
    step(0.1);
    keyDown(VK_RIGHT);
    step(0.1);
    EXPECT_NEAR(shipSpeedX(), 50, 1e-3);
    keyUp(VK_LEFT);
    step(0.1);
    EXPECT_NEAR(shipSpeedX(), 50, 1e-3);

    keyDown(VK_UP);
    step(0.1, 40);
    EXPECT_EQ(shipPos(), Vector2<float>(156, 96));
    keyDown(VK_LEFT);
    keyDown(VK_DOWN);
    step(0.1, 40);
    EXPECT_EQ(shipPos(), Vector2<float>(4, 4));
    step(0);
    const Picture picture = readPicture();
    EXPECT_GT(count(picture, {0, 0, 9, 9}, 0), 10) << "drawn inside too";
    EXPECT_EQ(count(picture, shipArea, 0), count(picture, {0, 0, 9, 9}, 0));
}

// How each volley looks and flies, and which bullets are misses, the bullet tests check.
TEST_F(StatePlayTest, AFrameFiresOneVolleyHoweverManyFellDue) {
    quietField();
    steadyShip();
    play._player._power = 3;
    keyDown(VK_SPACE);
    step(0.3);
    EXPECT_EQ(play._player._shotsPending, 5) << "the ship's step makes volleys due";
    step(0.001);
    EXPECT_EQ(play._bullets.size(), 7u) << "the next frame fires one volley of seven";
    EXPECT_EQ(play._shotsFired, 7);
    keyUp(VK_SPACE);
}

TEST_F(StatePlayTest, HeldFireKeysReArmTheFirstShotOnAutoRepeatButZDoesNot) {
    for (int key : {VK_SPACE, int('Z')}) {
        const int before = play._shotsFired;
        keyDown(key);
        step(0.01);
        step(0.055); // 0.065 s of the 0.07 s to the next volley
        EXPECT_EQ(play._shotsFired, before + 1) << "the first shot comes at once";
        keyDown(key, true);
        step(0.004);
        step(0);
        EXPECT_EQ(play._shotsFired, before + (key == 'Z' ? 1 : 2)) << key;
        keyUp(key);
    }
}

TEST_F(StatePlayTest, WhilePausedNothingMovesButTheFrameDrawsAndTheNextGameIsPausedToo) {
    steadyShip();
    play._player.invulnerable(1.0);
    step(0.1);
    keyDown('P');
    keyDown('P', true);
    ASSERT_TRUE(game.paused) << "a held P toggles once";
    const Picture before = readPicture();
    keyDown(VK_RIGHT);
    keyDown(VK_SPACE);
    game.renderer.color(1, 0, 0, 1);
    game.renderer.clear();
    step(0.5, 3);
    // Outside the blinking "PAUSED" in the middle rows.
    Picture after = readPicture();
    for (int i = pausedLabel.min.y * 160; i < pausedLabel.max.y * 160; ++i)
        after[i] = before[i];
    EXPECT_EQ(after, before) << "neither the ship, its blink nor a bullet moved";

    keyDown(VK_ESCAPE, true);
    EXPECT_TRUE(inPlay()) << "a repeated Escape is ignored";
    keyDown(VK_ESCAPE);
    EXPECT_EQ(game.currentState(), &Tarvex::stateMenu);
    game.play();
    keyDown(VK_UP);
    step(0.5);
    EXPECT_EQ(shipPos().y, 16);
    keyDown('P');
    step(0.1, 2);
    EXPECT_GT(shipPos().y, 16);
}

TEST_F(StatePlayTest, PausedShowsBlinkingAndLosingTheFocusPausesWithNoKeyLeftHeld) {
    quietField();
    steadyShip();
    keyDown(VK_LEFT);
    keyDown(VK_SPACE);
    step(0.1);
    game.message(game.hwnd(), WM_KILLFOCUS, 0, 0);
    ASSERT_TRUE(game.paused);
    play.clearBullets();
    play._messageText.clear();
    step(0.1);
    const TestSupport::Text paused{"PAUSED", {80, 60}, Renderer2D::CENTER, Renderer2D::CENTER,
                                   game.font};
    expectPrinted(readPicture(), pausedLabel, {paused});
    step(0.5);
    EXPECT_EQ(count(readPicture(), pausedLabel, 255), 0) << "blinked off";
    step(0.25);
    expectPrinted(readPicture(), pausedLabel, {paused});

    // A second loss keeps the pause; P resumes with the ship at rest and not firing,
    // since Left and Space went up while the window had no focus.
    game.message(game.hwnd(), WM_KILLFOCUS, 0, 0);
    EXPECT_TRUE(game.paused);
    keyDown('P');
    const Vector2<float> resting = shipPos();
    const int fired = play._shotsFired;
    step(0.1, 5);
    EXPECT_EQ(shipPos(), resting);
    EXPECT_EQ(play._shotsFired, fired);
    EXPECT_EQ(count(readPicture(), pausedLabel, 255), 0);

    // At game over the focus can go without a pause.
    play.gameOver();
    game.message(game.hwnd(), WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(game.paused);
}

TEST_F(StatePlayTest, MessagesStackAsLinesAndStayForTheSumOfTheirTimes) {
    step(0.5);
    play.message("POWER UP", 1.0, false);
    step(0.25, 10);
    ASSERT_EQ(play._messageText, "GET READY\nPOWER UP") << "3 s after the first";
    quietField(); // the enemies' white ammo would mix with the text
    step(0);
    expectPrinted(
        readPicture(), {10, 30, 150, 80},
        {{"GET READY\nPOWER UP", {80.2f, 45.2f}, Renderer2D::CENTER, Renderer2D::BOTTOM}});
    step(0.01);
    EXPECT_EQ(count(readPicture(), {10, 30, 150, 80}, 255), 0);

    play.message("ONE", 5.0, false);
    step(1.0);
    play.message("TWO", 0.5, true);
    EXPECT_EQ(play._messageText, "TWO");
    EXPECT_EQ(play._messageTime, 0) << "a replacing message starts its own clock";
}

TEST_F(StatePlayTest, TheStatusBarShowsPaddedScoresAndTheSpareShips) {
    for (const auto& [value, digits] : {std::pair{1234.9f, "0001234"}, {12345678.f, "12345678"}}) {
        play._score = value;
        play._hiscore = 12345;
        step(0.01);
        const Picture shown = readPicture();
        expectPrinted(shown, {0, 84, 58, 100}, {{digits, {2, 103}}});
        expectPrinted(shown, {58, 84, 130, 100}, {{"HI 0012345", {61, 103}}});
        // Two spare ships, their hot spots at x 154 and 146: white from x 142 to 158.
        EXPECT_GT(count(shown, {142, 84, 143, 100}, 255) * count(shown, {158, 84, 159, 100}, 255),
                  0);
        EXPECT_EQ(count(shown, {130, 84, 142, 100}, 255) + count(shown, {159, 84, 160, 100}, 255),
                  0);
    }
    play._lives = 0;
    step(0.01);
    EXPECT_EQ(count(readPicture(), {140, 84, 160, 100}, 255), 0);
}

TEST_F(StatePlayTest, GameOverFreezesTheStatisticsShowsThemAndSavesOnlyABetterScore) {
    std::filesystem::remove(game.hiscoreFile);
    play._score = play._hiscore = 100;
    play.gameOver();
    EXPECT_EQ(play._statAccuracy, 100) << "no shot fired";
    EXPECT_FALSE(std::filesystem::exists(game.hiscoreFile)) << "an equal score is not saved";

    game.play();
    steadyShip();
    play._messageText.clear();
    step(0.01);
    ASSERT_GT(count(readPicture(), {70, 5, 90, 15}, 0), 0);
    play._shotsFired = 3;
    play._shotsMissed = 2;
    play._coreKills = 4;
    play._enemiesDestroyed = 5;
    play._score = 100;
    play._hiscore = 50;
    play.message("CORE HIT +500", 1.0, false);
    play.gameOver();
    play._shotsFired = 10;
    play.gameOver();
    EXPECT_EQ(play._statAccuracy, 33) << "frozen by the first call";
    EXPECT_EQ(play._messageText, "");
    EXPECT_EQ(play._hiscore, 100);
    EXPECT_EQ(TestSupport::readFile(game.hiscoreFile), std::string("\0\0\xC8\x42", 4));

    step(0.01);
    const Picture shown = readPicture();
    EXPECT_EQ(count(shown, {70, 5, 90, 15}, 0), 0) << "the ship is gone";
    expectPrinted(shown, {0, 20, 160, 80},
                  {{"GAME OVER", {79, 74}, Renderer2D::CENTER, Renderer2D::TOP, game.font},
                   {"ACCURACY: 33\nKILLS: 5\nCORE HITS: 4\n", {80.1f, 59}, Renderer2D::CENTER}});
}

TEST_F(StatePlayTest, GameOverKeysWaitHalfASecondEscapeDoesNotAndTenSecondsEndIt) {
    play.gameOver();
    step(0.3);
    keyDown(VK_SPACE);
    keyDown(VK_LEFT);
    EXPECT_TRUE(inPlay());
    EXPECT_EQ(play._player._ship.image(), game.images.at("player")) << "no tilt either";
    step(0.2);
    keyDown(VK_SPACE);
    keyUp(VK_LEFT);
    EXPECT_TRUE(inPlay()) << "not yet at 0.5 s, and key-ups never leave";
    step(0.01);
    keyDown('A');
    EXPECT_FALSE(inPlay());

    game.play();
    play.gameOver();
    keyDown(VK_ESCAPE);
    EXPECT_FALSE(inPlay());

    game.play();
    play.gameOver();
    game.paused = true;
    step(10.0, 5);
    EXPECT_TRUE(inPlay()) << "the countdown stands while paused";
    game.paused = false;
    step(0.1, 99);
    EXPECT_TRUE(inPlay());
    step(0.2);
    EXPECT_FALSE(inPlay());
}

} // namespace
