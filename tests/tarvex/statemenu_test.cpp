// The title menu as a player sees it: its picture after frames of a set length, the
// credits line and the keys.
#include <gtest/gtest.h>

#include <algorithm>

#include "pyrane/bitmap.h"
#include "pyrane/font.h"
#include "pyrane/image.h"
#include "support/gamesession.h"

using Tarvex::stateMenu;
using TestSupport::Pixel;

namespace {

class StateMenuTest : public TestSupport::GameTest {
protected:
    std::vector<Pixel> frame(double dt) {
        stateMenu.dt = dt;
        stateMenu.frame();
        return readPicture();
    }
    // Pixels with some red, which the cyan tiles lack, in the rows where the white
    // "PRESS FIRE" stands, centred on (80.5, 43).
    long promptPixels(double dt) {
        const std::vector<Pixel> picture = frame(dt);
        return std::count_if(picture.begin() + 35 * 160, picture.begin() + 52 * 160,
                             [](Pixel p) { return p.r > 0; });
    }
};

TEST_F(StateMenuTest, ShowsTheLogoOverCyanTilesOnBlack) {
    const std::vector<Pixel> picture = frame(0.1);
    // The logo's hot spot (59, 19) lies on (79, 80), so it covers x 20..137 and y
    // 61..98; it is drawn untinted, so its opaque pixels show as they are.
    const Pyrane::Bitmap& logo = game.images.at("logo")->bitmap();
    int opaque = 0, wrong = 0;
    for (int i = 0; i < 118 * 38; ++i) {
        const RGBA<unsigned char> c = logo.pixelColor(Vector2<int>(i % 118, i / 118));
        opaque += c.a == 255;
        wrong +=
            c.a == 255 && picture[(61 + i / 118) * 160 + 20 + i % 118] != Pixel{c.r, c.g, c.b, 255};
    }
    EXPECT_GT(opaque, 500);
    EXPECT_EQ(wrong, 0);
    // Below the logo and away from the texts: black ground and tiles in shades of cyan.
    int tiles = 0;
    for (int i = 52 * 160; i < 60 * 160; ++i) {
        ASSERT_TRUE(picture[i].r == 0 && picture[i].g == picture[i].b) << i % 160 << "," << i / 160;
        tiles += picture[i].g > 0;
    }
    EXPECT_GT(tiles, 50);
}

TEST_F(StateMenuTest, PromptBlinksEveryQuarterSecond) {
    EXPECT_EQ(promptPixels(0.1), 0);
    EXPECT_EQ(promptPixels(0.14), 0);
    const long shown = promptPixels(0.02); // 0.26 s
    EXPECT_GT(shown, 30);
    EXPECT_EQ(promptPixels(0.2), shown); // 0.46 s
    // The update that passes the end of the period (0.501 s) starts the next one.
    promptPixels(0.05);
    EXPECT_EQ(promptPixels(0.05), 0);    // 0.059 s into the second period
    EXPECT_EQ(promptPixels(0.2), shown); // 0.259 s into it
}

TEST_F(StateMenuTest, CreditsAreOneLineOfKnownCharactersRunningLeftAndRestartingAtHeight18) {
    const std::string text = Tarvex::StateMenu::creditsText;
    EXPECT_EQ(text.find('\n'), std::string::npos);
    for (char c : text)
        EXPECT_TRUE(c == '\t' || game.font->charImage(static_cast<unsigned char>(c))) << c;

    frame(0.5);
    EXPECT_EQ(stateMenu.credits.pos(), Vector2<float>(140, 17)); // 40 pixels a second from 160
    // It restarts once its end has passed 10 pixels beyond the left edge.
    const double seconds = (160 + stateMenu.creditsLength) / 40;
    for (double t = 0.5; t + 0.25 < seconds; t += 0.25)
        frame(0.25);
    EXPECT_EQ(stateMenu.credits.pos().y, 17);
    frame(0.5);
    EXPECT_EQ(stateMenu.credits.pos(), Vector2<float>(160, 18));
}

// Any key starts a game (F5 in game_test.cpp shows a plain one); Escape quits unless
// it is held.
TEST_F(StateMenuTest, EscapeQuitsButAHeldOneStartsAGameLikeAnyOtherKey) {
    keyUp('A');
    keyDown(VK_ESCAPE);
    EXPECT_EQ(game.currentState(), &stateMenu);
    Platform::Message m;
    bool quit = false;
    while (Platform::peekMessage())
        if (!Platform::getMessage(m)) quit = true;
    EXPECT_TRUE(quit);
    keyDown(VK_ESCAPE, true);
    EXPECT_EQ(game.currentState(), &Tarvex::statePlay);
}

} // namespace
