// The play state driven the way a player drives it: key messages through the game object
// and frames with fixed steps, the picture read back after the game has stretched it.
#include "tarvex/stateplay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "pyrane/renderer2d.h"
#include "support/gamesession.h"
#include "support/tempdir.h"
#include "tarvex/game.h"
#include "tarvex/statemenu.h"

namespace {

using Pyrane::Renderer2D;
using TestSupport::Pixel;
using Picture = std::vector<Pixel>;

struct Region {
    int x0, y0, x1, y1; // max corner excluded
};

bool isBlack(Pixel p) {
    return p.r == 0 && p.g == 0 && p.b == 0;
}
bool isWhite(Pixel p) {
    return p.r == 255 && p.g == 255 && p.b == 255;
}
Pixel at(const Picture& picture, int x, int y) {
    return picture[std::size_t(y) * 160 + x];
}

// Which pixels of the region pass the test, and how many: on the grey field only the
// ship and the text shadows are black, only text, bullets and icons white.
std::vector<bool> mask(const Picture& picture, Region r, bool (*test)(Pixel)) {
    std::vector<bool> m;
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x)
            m.push_back(test(at(picture, x, y)));
    return m;
}
long count(const Picture& picture, Region r, bool (*test)(Pixel)) {
    const std::vector<bool> m = mask(picture, r, test);
    return std::count(m.begin(), m.end(), true);
}

// Text printed in white on its own on a cleared field, for comparison with the game's.
Picture printed(const std::function<void(Renderer2D&)>& print) {
    Renderer2D& renderer = game.renderer;
    renderer.vport(Vell::AABB2<int>(0, 0, 160, 100));
    renderer.color(0.5f, 0.5f, 0.5f, 1);
    renderer.clear();
    renderer.color(1, 1, 1, 1);
    renderer.leading(-4);
    print(renderer);
    return TestSupport::readPixels(0, 0, 160, 100);
}
Picture printed(Pyrane::Font* font, Renderer2D::align h, Renderer2D::align v,
                const std::string& text, Vector2<float> pos) {
    return printed([&](Renderer2D& renderer) {
        renderer.font(*font);
        renderer.textAlign(h, v);
        renderer.print(text, pos, Vector2<float>(1, 1));
    });
}

// The mean x of the ship's black pixels in the lower part of the field, -1 without any.
double shipX(const Picture& picture) {
    double sum = 0;
    int n = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 160; ++x)
            if (isBlack(at(picture, x, y))) sum += x, ++n;
    return n ? sum / n : -1;
}

class StatePlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::startGame();
        game.paused = false;
        game.play();
    }
    void TearDown() override {
        game.paused = false;
        game.menu();
    }

    void keyDown(unsigned int key, bool repeat = false) {
        game.message(game.hwnd(), WM_KEYDOWN, key, repeat ? KEY_PREVIOUSLY_DOWN | 1 : 1);
    }
    void keyUp(unsigned int key) {
        game.message(game.hwnd(), WM_KEYUP, key, KEY_PREVIOUSLY_DOWN | KEY_TRANSITION_UP | 1);
    }
    void step(double dt, int times = 1) {
        for (int i = 0; i < times; ++i) {
            play.dt = dt;
            play.frame();
        }
    }
    // Ends the blinking start: the ship shows steadily and without its shield.
    void steadyShip() {
        play._player.invulnerable(0);
        step(0.001);
    }
    float shipSpeedX() { return play._player._ship.vel().toVector2().x; }
    bool inPlay() { return game.currentState() == &play; }

    Tarvex::StatePlay& play = Tarvex::statePlay;
};

TEST_F(StatePlayTest, ANewGameStartsAfreshWithGetReadyAndABlinkingShip) {
    play._score = 500;
    play._lives = 0;
    keyDown(VK_SPACE);
    step(0.1, 2);
    game.menu();
    game.play();
    EXPECT_EQ(play._score, 0);
    EXPECT_EQ(play._lives, 2);
    EXPECT_TRUE(play._bullets.empty());
    EXPECT_EQ(play._messageText, "GET READY");
    EXPECT_FLOAT_EQ(play._player._ship.pos().x, 80);
    EXPECT_DOUBLE_EQ(play._player._invulnerableDuration, 3.0);

    int shown = 0, hidden = 0;
    for (int i = 0; i < 10; ++i) {
        step(0.01);
        (shipX(TestSupport::readPicture()) < 0 ? hidden : shown) += 1;
    }
    EXPECT_GT(shown, 0);
    EXPECT_GT(hidden, 0);
}

TEST_F(StatePlayTest, ArrowKeysSteerTheShipWithInertiaInsideTheField) {
    steadyShip();
    EXPECT_NEAR(shipX(TestSupport::readPicture()), 80, 1);
    keyDown(VK_RIGHT);
    EXPECT_EQ(play._player._ship.image(), game.images.at("player_tilt"));
    step(1.0 / 36);
    EXPECT_NEAR(shipSpeedX(), 50, 1e-3) << "full speed in 1/36 s";
    step(1.0 / 36, 9);
    keyUp(VK_RIGHT);
    EXPECT_EQ(play._player._ship.image(), game.images.at("player"));
    step(1.0 / 24, 2);
    EXPECT_NEAR(shipSpeedX(), 0, 1e-3) << "at rest 1/12 s after the release";
    const float x = play._player._ship.pos().x;
    EXPECT_NEAR(x, 80 + 50.0 / 36 * 10 + 25.0 / 24, 0.01);
    EXPECT_NEAR(shipX(TestSupport::readPicture()), x, 1);

    // Right pressed while Left is held wins, and releasing Left does not stop it.
    keyDown(VK_LEFT);
    step(0.1);
    keyDown(VK_RIGHT);
    keyUp(VK_LEFT);
    step(0.1);
    EXPECT_NEAR(shipSpeedX(), 50, 1e-3);

    keyDown(VK_UP);
    step(1.0 / 30, 150);
    EXPECT_FLOAT_EQ(play._player._ship.pos().x, 156);
    EXPECT_FLOAT_EQ(play._player._ship.pos().y, 96);
    keyDown(VK_LEFT);
    keyDown(VK_DOWN);
    step(1.0 / 30, 150);
    EXPECT_FLOAT_EQ(play._player._ship.pos().x, 4);
    EXPECT_FLOAT_EQ(play._player._ship.pos().y, 4);
    EXPECT_NEAR(shipX(TestSupport::readPicture()), 4, 1) << "drawn inside too";
    for (unsigned int key : {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN})
        keyUp(key);
}

TEST_F(StatePlayTest, AFrameFiresOneVolleyHoweverManyFellDueAndBulletsFlyUpInWhite) {
    steadyShip();
    play._messageText.clear();
    keyDown('Z');
    step(0.001, 2);
    keyUp('Z');
    ASSERT_EQ(play._bullets.size(), 1u);
    step(0.1);
    // From the ship's position plus (0, 4), 20 pixels up by now, one pixel by two.
    Picture picture = TestSupport::readPicture();
    EXPECT_TRUE(isWhite(at(picture, 80, 40)) && isWhite(at(picture, 80, 39)));
    EXPECT_EQ(count(picture, {60, 25, 100, 60}, isWhite), 2);

    play._player._power = 3;
    keyDown(VK_SPACE);
    step(0.3);
    EXPECT_EQ(play._player._shotsPending, 5) << "the ship's step makes volleys due";
    step(0.001);
    EXPECT_EQ(play._bullets.size(), 8u) << "the next frame fires one volley of seven";
    EXPECT_EQ(play._player._shotsPending, 0);
    keyUp(VK_SPACE);
    step(0.1, 10);
    EXPECT_TRUE(play._bullets.empty());
    EXPECT_EQ(play._shotsFired, 8);
    EXPECT_EQ(play._shotsMissed, 8) << "every bullet that left the top is a miss";
}

TEST_F(StatePlayTest, HeldFireKeysReArmTheFirstShotOnAutoRepeat) {
    for (unsigned int key : {unsigned(VK_SPACE), unsigned('Z')}) {
        const int before = play._shotsFired;
        keyDown(key);
        step(0.01);
        step(0.05);
        EXPECT_EQ(play._shotsFired, before + 1) << "the first shot comes at once";
        step(0.005); // 0.065 s of the 0.07 s to the next volley
        keyDown(key, true);
        step(0.004);
        step(0);
        EXPECT_EQ(play._shotsFired, before + (key == 'Z' ? 1 : 2)) << "Z ignores its repeats";
        keyUp(key);
    }
}

TEST_F(StatePlayTest, WhilePausedNothingMovesOrTimesOutButTheFrameDraws) {
    steadyShip();
    play._player.invulnerable(1.0);
    step(0.1);
    keyDown('P');
    keyDown('P', true);
    ASSERT_TRUE(game.paused) << "a held P toggles once";
    const Picture before = TestSupport::readPicture();
    const float x = play._player._ship.pos().x;
    const double invulnerable = play._player._invulnerableTime;
    const double message = play._messageTime;

    keyDown(VK_RIGHT);
    keyDown(VK_SPACE);
    game.renderer.color(1, 0, 0, 1);
    game.renderer.clear();
    step(0.5, 3);
    EXPECT_EQ(TestSupport::readPicture(), before);
    EXPECT_EQ(play._player._ship.pos().x, x);
    EXPECT_EQ(play._player._invulnerableTime, invulnerable);
    EXPECT_EQ(play._messageTime, message);
    EXPECT_TRUE(play._bullets.empty());

    keyDown('P');
    step(0.1, 2);
    EXPECT_GT(play._player._ship.pos().x, x);
    EXPECT_FALSE(play._bullets.empty());
    keyUp(VK_RIGHT);
    keyUp(VK_SPACE);
}

TEST_F(StatePlayTest, EscapeReturnsToTheMenuAndTheNextGameIsStillPaused) {
    keyDown(VK_ESCAPE, true);
    EXPECT_TRUE(inPlay()) << "a repeated Escape is ignored";
    keyDown('P');
    keyDown(VK_ESCAPE);
    EXPECT_EQ(game.currentState(), &Tarvex::stateMenu);
    game.play();
    keyDown(VK_UP);
    step(0.5);
    EXPECT_FLOAT_EQ(play._player._ship.pos().y, 16);
    keyUp(VK_UP);
}

TEST_F(StatePlayTest, MessagesStackAsLinesAndStayForTheSumOfTheirTimes) {
    step(0.5);
    play.message("POWER UP", 1.0, false);
    step(0.25, 10);
    ASSERT_EQ(play._messageText, "GET READY\nPOWER UP") << "3 s after the first";
    const Region line = {10, 30, 150, 80};
    const Picture shown = TestSupport::readPicture();
    EXPECT_GT(count(shown, line, isWhite), 50);
    EXPECT_EQ(mask(shown, line, isWhite),
              mask(printed(game.smallFont, Renderer2D::CENTER, Renderer2D::BOTTOM,
                           "GET READY\nPOWER UP", Vector2<float>(80.2f, 45.2f)),
                   line, isWhite));
    step(0.01);
    EXPECT_EQ(count(TestSupport::readPicture(), line, isWhite), 0);

    play.message("ONE", 5.0, false);
    step(1.0);
    play.message("TWO", 0.5, true);
    EXPECT_EQ(play._messageText, "TWO");
    EXPECT_EQ(play._messageTime, 0) << "a replacing message starts its own clock";
}

TEST_F(StatePlayTest, TheStatusBarShowsPaddedScoresAndTheSpareShips) {
    const Region score = {0, 84, 58, 100};
    const Region hiscore = {58, 84, 130, 100};
    for (const auto& [value, digits] : {std::pair{1234.9f, "0001234"}, {12345678.f, "12345678"}}) {
        play._score = value;
        play._hiscore = 12345;
        step(0.01);
        const Picture shown = TestSupport::readPicture();
        EXPECT_GT(count(shown, score, isWhite), 20);
        EXPECT_EQ(mask(shown, score, isWhite),
                  mask(printed(game.smallFont, Renderer2D::LEFT, Renderer2D::TOP, digits, {2, 103}),
                       score, isWhite))
            << digits;
        EXPECT_EQ(mask(shown, hiscore, isWhite),
                  mask(printed(game.smallFont, Renderer2D::LEFT, Renderer2D::TOP, "HI 0012345",
                               {61, 103}),
                       hiscore, isWhite));
        // Two spare ships, their hot spots at x 154 and 146.
        EXPECT_TRUE(isWhite(at(shown, 154, 95)) && isWhite(at(shown, 146, 95)));
        EXPECT_EQ(count(shown, {130, 84, 142, 100}, isWhite), 0) << "no third one";
    }
    play._lives = 0;
    step(0.01);
    EXPECT_EQ(count(TestSupport::readPicture(), {140, 84, 160, 100}, isWhite), 0);
}

class GameOverTest : public StatePlayTest {
protected:
    void SetUp() override {
        StatePlayTest::SetUp();
        game.hiscoreFile = _dir.path("kestrane.dat");
    }
    void TearDown() override {
        game.hiscoreFile = _savedFile;
        play._hiscore = _savedHiscore;
        StatePlayTest::TearDown();
    }
    std::string savedBytes() {
        std::ifstream in(game.hiscoreFile, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TestSupport::TempDir _dir;
    const std::string _savedFile = game.hiscoreFile;
    const float _savedHiscore = play._hiscore;
};

TEST_F(GameOverTest, FreezesTheStatisticsShowsThemAndSavesOnlyABetterScore) {
    play._score = 100;
    play._hiscore = 100;
    play.gameOver();
    EXPECT_EQ(play._statAccuracy, 100) << "no shot fired";
    EXPECT_FALSE(std::filesystem::exists(game.hiscoreFile)) << "an equal score is not saved";

    game.play();
    steadyShip();
    play._messageText.clear();
    step(0.01);
    const Region underShip = {70, 5, 90, 15};
    ASSERT_GT(count(TestSupport::readPicture(), underShip, isBlack), 0);
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
    EXPECT_EQ(savedBytes(), std::string("\0\0\xC8\x42", 4)) << "100 as a little-endian float";

    step(0.01);
    const Picture shown = TestSupport::readPicture();
    EXPECT_EQ(count(shown, underShip, isBlack), 0) << "the ship is gone";
    const Region stats = {0, 20, 160, 80};
    const Picture expected = printed([](Renderer2D& renderer) {
        renderer.font(*game.font);
        renderer.textAlign(Renderer2D::CENTER, Renderer2D::TOP);
        renderer.print("GAME OVER", Vector2<float>(79, 74), Vector2<float>(1, 1));
        renderer.font(*game.smallFont);
        renderer.print("ACCURACY: 33\nKILLS: 5\nCORE HITS: 4\n", Vector2<float>(80.1f, 59),
                       Vector2<float>(1, 1));
    });
    EXPECT_GT(count(shown, stats, isWhite), 100);
    EXPECT_EQ(mask(shown, stats, isWhite), mask(expected, stats, isWhite));
}

TEST_F(GameOverTest, KeysWaitHalfASecondEscapeDoesNotAndTenSecondsEndIt) {
    play.gameOver();
    step(0.3);
    keyDown(VK_SPACE);
    keyDown(VK_LEFT);
    EXPECT_TRUE(inPlay());
    EXPECT_EQ(play._player._ship.image(), game.images.at("player")) << "no tilt either";
    step(0.3);
    keyUp(VK_LEFT);
    EXPECT_TRUE(inPlay()) << "key-ups never leave";
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
