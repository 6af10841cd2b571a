// The title menu as a player sees it: its picture after frames of a set length, the
// credits line and the keys.
#include "tarvex/statemenu.h"

#include <gtest/gtest.h>

#include "pyrane/bitmap.h"
#include "pyrane/font.h"
#include "pyrane/image.h"
#include "support/gamesession.h"
#include "tarvex/game.h"
#include "tarvex/stateplay.h"

using Tarvex::stateMenu;
using TestSupport::Pixel;

namespace {

class StateMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::startGame();
        game.screenSize(4);
        game.menu();
    }
    void TearDown() override { game.menu(); }

    std::vector<Pixel> frame(double dt) {
        stateMenu.dt = dt;
        stateMenu.time += dt;
        EXPECT_TRUE(stateMenu.frame());
        return TestSupport::readPicture();
    }

    static bool white(const Pixel& p) { return p.r > 200 && p.g > 200 && p.b > 200; }

    // White pixels where "PRESS FIRE" stands, centred on (80.5, 43).
    static int promptPixels(const std::vector<Pixel>& picture) {
        int count = 0;
        for (int y = 35; y < 52; ++y)
            for (int x = 50; x < 111; ++x)
                count += white(picture[y * 160 + x]);
        return count;
    }
};

TEST_F(StateMenuTest, ShowsTheLogoOverCyanTilesOnBlack) {
    std::vector<Pixel> picture = frame(0.1);
    // The logo's hot spot (59, 19) lies on (79, 80): its picture covers x 20..137 and
    // y 61..98 and is drawn untinted, so its opaque pixels show as they are.
    const Pyrane::Image& logo = *game.images.at("logo");
    int opaque = 0, wrong = 0;
    for (int y = 0; y < 38; ++y) {
        for (int x = 0; x < 118; ++x) {
            RGBA<unsigned char> c = logo.bitmap().pixelColor(Vector2<int>(x, y));
            if (c.a != 255) continue;
            ++opaque;
            const Pixel& p = picture[(61 + y) * 160 + 20 + x];
            wrong += p.r != c.r || p.g != c.g || p.b != c.b;
        }
    }
    EXPECT_GT(opaque, 500);
    EXPECT_EQ(wrong, 0);

    // Below the logo and away from the texts: black ground and tiles in shades of cyan.
    int tiles = 0;
    for (int y = 52; y < 60; ++y) {
        for (int x = 0; x < 160; ++x) {
            const Pixel& p = picture[y * 160 + x];
            ASSERT_EQ(p.r, 0) << x << "," << y;
            ASSERT_EQ(p.g, p.b) << x << "," << y;
            tiles += p.g > 0;
        }
    }
    EXPECT_GT(tiles, 50);
}

TEST_F(StateMenuTest, PromptBlinksEveryQuarterSecond) {
    EXPECT_EQ(promptPixels(frame(0.1)), 0);
    EXPECT_EQ(promptPixels(frame(0.1)), 0);
    int shown = promptPixels(frame(0.06)); // 0.26 s
    EXPECT_GT(shown, 30);
    EXPECT_EQ(promptPixels(frame(0.2)), shown); // 0.46 s
    // The update that passes the end of the period (0.501 s) starts the next one.
    frame(0.05);
    EXPECT_EQ(promptPixels(frame(0.05)), 0);    // 0.059 s into the second period
    EXPECT_EQ(promptPixels(frame(0.2)), shown); // 0.259 s into it
}

TEST_F(StateMenuTest, RepaintWithoutTimeDrawsTheSamePicture) {
    std::vector<Pixel> first = frame(0.37);
    EXPECT_EQ(frame(0), first);
}

TEST_F(StateMenuTest, CreditsRunLeftAndRestartAtHeight18) {
    EXPECT_EQ(stateMenu.credits.pos(), Vector2<float>(160, 17));
    EXPECT_GT(stateMenu.creditsLength, 1000); // one long line
    frame(0.5);
    EXPECT_FLOAT_EQ(stateMenu.credits.pos().x, 140);
    EXPECT_EQ(stateMenu.credits.pos().y, 17);

    // 40 pixels a second until its end has passed 10 pixels beyond the left edge.
    double seconds = (160 + stateMenu.creditsLength) / 40;
    double t = 0.5;
    while (t + 0.25 < seconds) {
        frame(0.25);
        t += 0.25;
        ASSERT_EQ(stateMenu.credits.pos().y, 17);
    }
    frame(0.5);
    EXPECT_EQ(stateMenu.credits.pos(), Vector2<float>(160, 18));
    frame(0.5);
    EXPECT_FLOAT_EQ(stateMenu.credits.pos().x, 140);
    EXPECT_EQ(stateMenu.credits.pos().y, 18);
}

TEST_F(StateMenuTest, CreditsLineHasSixPartsInOneLine) {
    std::string text = Tarvex::StateMenu::creditsText;
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.find("   *  \t\t"), text.find("  *  \t\t") - 1);
    int separators = 0;
    for (std::size_t at = 0; (at = text.find("  *  \t\t", at)) != std::string::npos; ++at)
        ++separators;
    EXPECT_EQ(separators, 5);
    // Every character but the tabs has a glyph in the large font.
    for (char c : text) {
        if (c == '\t') continue;
        EXPECT_NE(game.font->charImage(static_cast<unsigned char>(c)), nullptr) << c;
    }
}

TEST_F(StateMenuTest, AnyKeyStartsAGame) {
    for (unsigned int key : {unsigned(VK_SHIFT), unsigned(VK_CONTROL), unsigned('A'),
                             unsigned(VK_SPACE), unsigned(VK_OTHER_BASE + 70)}) {
        game.menu();
        EXPECT_TRUE(game.message(game.hwnd(), WM_KEYDOWN, key, 1));
        EXPECT_EQ(game.currentState(), &Tarvex::statePlay) << key;
    }
    // Escape in the play state leads back; key releases do not start a game.
    game.message(game.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(game.currentState(), &stateMenu);
    EXPECT_FALSE(game.message(game.hwnd(), WM_KEYUP, 'A', KEY_PREVIOUSLY_DOWN));
    EXPECT_EQ(game.currentState(), &stateMenu);
}

TEST_F(StateMenuTest, EscapeQuitsButARepeatedEscapeStartsAGame) {
    EXPECT_TRUE(game.message(game.hwnd(), WM_KEYDOWN, VK_ESCAPE, 1));
    EXPECT_EQ(game.currentState(), &stateMenu);
    Platform::Message m;
    bool quit = false;
    while (Platform::peekMessage())
        if (!Platform::getMessage(m)) quit = true;
    EXPECT_TRUE(quit);

    game.message(game.hwnd(), WM_KEYDOWN, VK_ESCAPE, KEY_PREVIOUSLY_DOWN | 1);
    EXPECT_EQ(game.currentState(), &Tarvex::statePlay);
}

} // namespace
