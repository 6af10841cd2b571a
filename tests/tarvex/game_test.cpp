// The game object under the virtual display: start-up, the image tables, blowup in
// every screen mode, F5 and F6, and the settings and hiscore files.
#include "tarvex/game.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "pyrane/bitmap.h"
#include "pyrane/font.h"
#include "pyrane/image.h"
#include "pyrane/imagesequence.h"
#include "support/gamesession.h"
#include "tarvex/statemenu.h"
#include "tarvex/stateplay.h"

namespace fs = std::filesystem;
using TestSupport::Pixel;

namespace {

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void keyDown(unsigned int key, bool repeat = false) {
    game.message(game.hwnd(), WM_KEYDOWN, key, repeat ? KEY_PREVIOUSLY_DOWN | 1 : 1);
}

// A picture in which every pixel differs from its neighbours, drawn straight into the
// lower-left 160 x 100 of the back buffer.
std::vector<Pixel> drawPattern() {
    std::vector<Pixel> pattern;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 160; ++x)
            pattern.push_back({std::uint8_t(x + 60), std::uint8_t(y * 2 + 40),
                               std::uint8_t((x * 7 + y * 13) % 200 + 50), 255});
    game.renderer.vport(Vell::AABB2<int>(0, 0, 160, 100));
    glDisable(GL_TEXTURE_2D);
    glRasterPos2i(0, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glDrawPixels(160, 100, GL_RGBA, GL_UNSIGNED_BYTE, pattern.data());
    return pattern;
}

// The X server takes a moment to give the window its full-screen size, and the GL
// surface follows at a buffer swap: present a few frames before looking.
void settle() {
    for (int i = 0; i < 5; ++i) {
        Platform::peekMessage();
        Platform::swapBuffers(game.hwnd());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        TestSupport::startGame();
        game.menu();
    }
    void TearDown() override {
        game.screenSize(4);
        game.menu();
    }
    fs::path data(const std::string& name) { return TestSupport::gameFolder() / "data" / name; }
};

TEST_F(GameTest, StartUpAppliesTheSavedModeAndHiscoreAndEntersTheMenuWithItsMusic) {
    const TestSupport::Startup& s = TestSupport::startGame();
    EXPECT_EQ(s.screenSize, 2);
    EXPECT_EQ(s.width, 320);
    EXPECT_EQ(s.height, 200);
    EXPECT_EQ(s.hiscore, 50.0f); // the bytes 00 00 48 42
    EXPECT_EQ(s.state, &Tarvex::stateMenu);
    EXPECT_TRUE(s.musicPlaying);
    ASSERT_NE(game.font, nullptr);
    ASSERT_NE(game.smallFont, nullptr);
    EXPECT_NE(game.font->charImage('A'), nullptr);
    EXPECT_NE(game.font->charImage('$'), nullptr);
    EXPECT_NE(game.smallFont->charImage('@'), nullptr);
    EXPECT_EQ(game.smallFont->charImage('$'), nullptr);
}

void expectCut(const std::string& name, const std::string& bitmap, Vell::AABB2<int> box,
               Vector2<int> hotSpot) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(game.images.count(name));
    const Pyrane::Image& image = *game.images.at(name);
    EXPECT_EQ(&image.bitmap(), game.bitmapManager.get(bitmap));
    EXPECT_EQ(image.bitmapBox(), box);
    EXPECT_EQ(image.pivot(), hotSpot);
    EXPECT_NE(image.bitmap().texID(), 0u);
    EXPECT_NE(image.cacheID(), 0u);
}

TEST_F(GameTest, EveryNamedImageIsCutAsTabled) {
    // 21 fixed images, 56 rhombus quarters, 12 small and 7 large background tiles.
    EXPECT_EQ(game.images.size(), 21u + 56u + 12u + 7u);

    // Boxes are named by their size, cut from the corner with the hot spot in the middle
    // (rounded down); so are the ship, its shield, the bullet and the logo.
    int boxes = 0;
    for (const auto& [name, image] : game.images) {
        int w, h;
        if (std::sscanf(name.c_str(), "box_%dx%d", &w, &h) != 2) continue;
        ++boxes;
        expectCut(name, "full32x32.png", {0, 0, w, h}, {w / 2, h / 2});
    }
    EXPECT_EQ(boxes, 13);
    expectCut("player", "player.png", {0, 0, 9, 9}, {4, 4});
    expectCut("player_tilt", "player.png", {0, 0, 9, 9}, {4, 4});
    expectCut("shield", "shield.png", {0, 0, 16, 16}, {8, 8});
    expectCut("bullet", "bullet.png", {0, 0, 2, 2}, {1, 1});
    expectCut("logo", "logo_black.png", {0, 0, 118, 38}, {59, 19});
    // Crosses centred on pixel 16, all with the hot spot (3, 3).
    expectCut("cross_2_4x4", "cross_2.png", {12, 12, 19, 19}, {3, 3});
    expectCut("cross_1_4x4", "cross_1.png", {12, 12, 19, 19}, {3, 3});
    expectCut("cross_1_2x2", "cross_1.png", {14, 14, 17, 17}, {3, 3});

    for (int n = 2; n <= 15; ++n)
        for (char letter : {'a', 'b', 'c', 'd'})
            EXPECT_TRUE(game.images.count("rhomb_" + std::to_string(n) + "_" + letter));
    expectCut("rhomb_15_b", "rhomb.png", {15, 16, 32, 32}, {0, 0});
    expectCut("rhomb_2_c", "rhomb.png", {0, 12, 3, 15}, {3, 3});
    expectCut("rhomb_2_a", "rhomb.png", {0, 16, 3, 19}, {3, 0});
    expectCut("rhomb_9_d", "rhomb.png", {21, 5, 32, 15}, {0, 10});

    for (int i = 1; i <= 6; ++i) {
        EXPECT_TRUE(game.images.count("back_10_" + std::to_string(i)));
        EXPECT_TRUE(game.images.count("back_10_" + std::to_string(i) + "b"));
    }
    expectCut("back_10_1", "background.png", {0, 0, 10, 10}, {0, 0});
    expectCut("back_10_6", "background.png", {50, 0, 60, 10}, {0, 0});
    expectCut("back_10_3b", "background.png", {20, 10, 30, 20}, {0, 0});
    expectCut("back_16_1", "background.png", {0, 20, 16, 36}, {0, 0});
    expectCut("back_16_4", "background.png", {48, 20, 64, 36}, {0, 0});
    expectCut("back_16_5", "background.png", {0, 36, 16, 52}, {0, 0});
    expectCut("back_16_7", "background.png", {32, 36, 48, 52}, {0, 0});
}

TEST_F(GameTest, SequencesHoldFourFramesFromTheBottomRow) {
    ASSERT_EQ(game.sequences.size(), 3u);
    for (const char* name : {"bomb_black", "bomb_white", "pow_fire"}) {
        SCOPED_TRACE(name);
        const Pyrane::ImageSequence& s = *game.sequences.at(name);
        ASSERT_EQ(s.count(), 4);
        EXPECT_EQ(s.image(0)->bitmapBox(), Vell::AABB2<int>(0, 0, 15, 15));
        EXPECT_EQ(s.image(3)->bitmapBox(), Vell::AABB2<int>(48, 0, 63, 15));
    }
}

TEST_F(GameTest, BlowupStretchesThePictureWithNearestNeighbourInEveryWindowMode) {
    for (int mode = 1; mode <= 4; ++mode) {
        SCOPED_TRACE(mode);
        game.screenSize(mode);
        settle();
        int width, height;
        Platform::drawableSize(game.hwnd(), width, height);
        ASSERT_EQ(width, 160 * mode);
        ASSERT_EQ(height, 100 * mode);

        std::vector<Pixel> pattern = drawPattern();
        game.blowup();
        std::vector<Pixel> screen = TestSupport::readPixels(0, 0, width, height);
        int wrong = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                wrong += screen[y * width + x] != pattern[(y / mode) * 160 + x / mode];
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(GameTest, FullScreenLetterboxesThePictureInProportion) {
    game.screenSize(5);
    settle();
    EXPECT_TRUE(game.fullscreen());
    EXPECT_EQ(game.width(), 640);
    EXPECT_EQ(game.height(), 480);

    // The display offers its closest mode to 640 x 480; the 640 x 480 layout is scaled
    // to it: 40 black rows above and below the picture at 640 x 480.
    int width, height;
    Platform::drawableSize(game.hwnd(), width, height);
    SDL_DisplayMode wanted{0, 640, 480, 0, nullptr}, closest;
    ASSERT_NE(SDL_GetClosestDisplayMode(0, &wanted, &closest), nullptr);
    EXPECT_EQ(width, closest.w);
    EXPECT_EQ(height, closest.h);
    double scale = std::min(width / 640.0, height / 480.0);
    int pictureWidth = int(std::lround(640 * scale));
    int pictureHeight = int(std::lround(400 * scale));
    int left = (width - pictureWidth) / 2;
    int bottom = (height - pictureHeight) / 2;
    ASSERT_GT(bottom, 0);

    std::vector<Pixel> pattern = drawPattern();
    game.blowup();
    std::vector<Pixel> screen = TestSupport::readPixels(0, 0, width, height);
    const Pixel black{0, 0, 0, 255};
    int wrong = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Pixel& seen = screen[y * width + x];
            int px = x - left, py = y - bottom;
            if (px < 0 || py < 0 || px >= pictureWidth || py >= pictureHeight) {
                wrong += seen != black;
            } else {
                int sx = int((px + 0.5) * 160 / pictureWidth);
                int sy = int((py + 0.5) * 100 / pictureHeight);
                wrong += seen != pattern[sy * 160 + sx];
            }
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(screen[0], black);
    EXPECT_EQ(screen[(height - 1) * width + width - 1], black);
    EXPECT_NE(screen[(height / 2) * width + width / 2], black);
}

TEST_F(GameTest, ScreenSizeIsClampedToTheFiveModes) {
    game.screenSize(0);
    EXPECT_EQ(game.screenSize(), 1);
    EXPECT_FALSE(game.fullscreen());
    EXPECT_EQ(game.width(), 160);
    game.screenSize(9);
    EXPECT_EQ(game.screenSize(), 5);
    EXPECT_TRUE(game.fullscreen());
    game.screenSize(3);
    EXPECT_FALSE(game.fullscreen());
    EXPECT_EQ(game.width(), 480);
    EXPECT_EQ(game.height(), 300);
}

TEST_F(GameTest, F5AndF6WrapAroundAndRewriteTheSettingsKeepingOtherKeys) {
    game.screenSize(1);
    keyDown(VK_F5);
    EXPECT_EQ(game.screenSize(), 5);
    EXPECT_TRUE(game.fullscreen());
    EXPECT_EQ(readFile(data("kestrane.conf")), "name  \"a b\"\nscreenSize  5\nvolume  7\n");

    keyDown(VK_F6);
    EXPECT_EQ(game.screenSize(), 1);
    EXPECT_FALSE(game.fullscreen());
    EXPECT_EQ(readFile(data("kestrane.conf")), "name  \"a b\"\nscreenSize  1\nvolume  7\n");

    keyDown(VK_F6);
    EXPECT_EQ(game.screenSize(), 2);
    EXPECT_EQ(readFile(data("kestrane.conf")), "name  \"a b\"\nscreenSize  2\nvolume  7\n");
    EXPECT_EQ(game.currentState(), &Tarvex::stateMenu);
}

TEST_F(GameTest, RepeatedScreenKeysGoToTheStateInstead) {
    game.screenSize(2);
    keyDown(VK_F5, true);
    EXPECT_EQ(game.screenSize(), 2);
    // The menu starts a game on any key it receives.
    EXPECT_EQ(game.currentState(), &Tarvex::statePlay);
}

TEST_F(GameTest, AnUnwritableSettingsFileKeepsTheModeForThisRun) {
    fs::path conf = data("kestrane.conf");
    std::string before = readFile(conf);
    std::string saved = game.settingsFile;
    game.settingsFile = (TestSupport::gameFolder() / "missing" / "kestrane.conf").string();
    game.screenSize(3);
    keyDown(VK_F6);
    game.settingsFile = saved;
    EXPECT_EQ(game.screenSize(), 4);
    EXPECT_FALSE(fs::exists(TestSupport::gameFolder() / "missing"));
    EXPECT_EQ(readFile(conf), before);
}

class HiscoreTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        _saved = Tarvex::statePlay._hiscore;
        fs::path file = data("kestrane.dat");
        if (fs::exists(file)) _savedBytes = readFile(file);
    }
    void TearDown() override {
        Tarvex::statePlay._hiscore = _saved;
        writeFile(data("kestrane.dat"), _savedBytes);
        GameTest::TearDown();
    }
    float load(const std::string& bytes, float before) {
        writeFile(data("kestrane.dat"), bytes);
        Tarvex::statePlay._hiscore = before;
        game.loadHiscore();
        return Tarvex::statePlay._hiscore;
    }

private:
    float _saved = 0;
    std::string _savedBytes;
};

TEST_F(HiscoreTest, ReadsFourLittleEndianBytes) {
    EXPECT_EQ(load(std::string("\0\0\x48\x42", 4), 0), 50.0f);
    EXPECT_EQ(load(std::string("\0\x24\x74\x49", 4), 0), 1000000.0f);
}

TEST_F(HiscoreTest, MissingShortOrNonsenseFilesLeaveTheHiscore) {
    fs::remove(data("kestrane.dat"));
    Tarvex::statePlay._hiscore = 7;
    game.loadHiscore();
    EXPECT_EQ(Tarvex::statePlay._hiscore, 7.0f);

    EXPECT_EQ(load("", 7), 7.0f);
    EXPECT_EQ(load(std::string("\0\0\x48", 3), 7), 7.0f);
    EXPECT_EQ(load(std::string("\0\0\xc0\x7f", 4), 7), 7.0f); // not a number
    EXPECT_EQ(load(std::string("\0\0\x80\x7f", 4), 7), 7.0f); // infinity
    EXPECT_EQ(load(std::string("\0\0\x48\xc2", 4), 7), 7.0f); // -50
}

TEST_F(HiscoreTest, SaveReplacesTheFileWithFourBytes) {
    writeFile(data("kestrane.dat"), "an older, longer file");
    Tarvex::statePlay._hiscore = 50;
    game.saveHiscore();
    EXPECT_EQ(readFile(data("kestrane.dat")), std::string("\0\0\x48\x42", 4));
    EXPECT_FALSE(fs::exists(data("kestrane.dat.tmp")));

    Tarvex::statePlay._hiscore = 12345;
    game.saveHiscore();
    Tarvex::statePlay._hiscore = 0;
    game.loadHiscore();
    EXPECT_EQ(Tarvex::statePlay._hiscore, 12345.0f);
}

TEST_F(HiscoreTest, SavingWithoutADataFolderIsSilent) {
    std::string saved = game.hiscoreFile;
    game.hiscoreFile = (TestSupport::gameFolder() / "missing" / "kestrane.dat").string();
    Tarvex::statePlay._hiscore = 99;
    game.saveHiscore();
    game.hiscoreFile = saved;
    EXPECT_FALSE(fs::exists(TestSupport::gameFolder() / "missing"));
    EXPECT_EQ(Tarvex::statePlay._hiscore, 99.0f);
}

} // namespace
