// The game object under the virtual display: start-up, blowup in every screen mode, F5
// and F6, and the settings and hiscore files.
#include <GL/gl.h>
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "common_classes/sound/sound.h"
#include "support/atomicfiletest.h"
#include "support/command.h"
#include "support/files.h"
#include "support/gamesession.h"
#include "support/tempdir.h"

namespace fs = std::filesystem;
using namespace std::string_literals;
using TestSupport::GameTest;
using TestSupport::Pixel;
using TestSupport::readFile;

namespace {

TEST_F(GameTest, StartUpAppliesTheSavedModeAndHiscoreAndEntersTheMenuWithItsMusic) {
    const TestSupport::Startup& s = TestSupport::startGame();
    EXPECT_EQ(std::tuple(s.screenSize, s.width, s.height), std::tuple(2, 320, 200));
    EXPECT_EQ(s.hiscore, 50.0f); // the bytes 00 00 48 42
    EXPECT_EQ(s.state, &Tarvex::stateMenu);
    EXPECT_TRUE(s.musicPlaying);
    // Mesa offers framebuffer objects, so the copy out of the window is only the fallback.
    EXPECT_TRUE(game.renderer.pictureInFramebuffer());
}

// The pictures of play load after the title is shown; one missing or broken among them
// still stops the program with its message in a box and the status of a picture the
// title needs (logo_black.png) missing. Each program runs from a folder of its own
// with a link to the built program, and SIGTERM ends it once its box shows.
TEST(GameStart, AMissingOrBrokenPictureOfPlayStopsTheProgramAsAtStartUp) {
    TestSupport::TempDir dir;
    std::string script;
    for (const char* file : {"logo_black.png", "rhomb.png", "pow_fire.png"}) {
        const fs::path folder = dir.dir() / file;
        fs::create_directories(folder / "data");
        std::error_code linked;
        fs::create_hard_link(KESTRANE_PROGRAM, folder / "kestrane", linked);
        if (linked) fs::copy_file(KESTRANE_PROGRAM, folder / "kestrane");
        fs::copy(fs::current_path() / "bitmaps", folder / "bitmaps");
        fs::create_directory_symlink(fs::current_path() / "sound", folder / "sound");
        if (file == "pow_fire.png"s)
            fs::resize_file(folder / "bitmaps" / file, fs::file_size(folder / "bitmaps" / file) / 2);
        else
            fs::remove(folder / "bitmaps" / file);
        const std::string run = "'" + folder.string() + "/";
        script += run + "kestrane' >/dev/null 2>" + run + "err' & pid=$!; for i in $(seq 100); " +
                  "do grep -qs '^Runtime' " + run + "err' && break; sleep 0.1; done; sleep 1; " +
                  "kill $pid; wait $pid; echo \"status $?\" >>" + run + "err'; ";
    }
    const auto [status, out] = TestSupport::runCommand(script);
    ASSERT_EQ(status, 0) << out;
    const std::string end = "status 143\n"; // as ended by SIGTERM with its box on show
    EXPECT_EQ(readFile(dir.path("logo_black.png/err")),
              "Runtime error: ResourceManager(Base) - cannot find resource file: logo_black.png\n" +
                  end);
    EXPECT_EQ(readFile(dir.path("rhomb.png/err")),
              "Runtime error: ResourceManager(Base) - cannot find resource file: rhomb.png\n" + end);
    EXPECT_EQ(readFile(dir.path("pow_fire.png/err")).substr(0, 46),
              "Runtime error: file 'bitmaps/pow_fire.png' is ");
    EXPECT_TRUE(readFile(dir.path("pow_fire.png/err")).ends_with(end));
}

TEST_F(GameTest, WithoutAnAudioDeviceTheGameGoesOnSilentlyAndSaysSoOnce) {
    game.close();
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    game.startSound();
    const std::string said = testing::internal::GetCapturedStderr();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_FALSE(Sound::soundOpen());
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("without sound"), std::string::npos) << said;
    // The game plays on without a sound.
    game.play();
    game.runPass();
    EXPECT_EQ(Sound::playSound("hit", 150), -1);
    game.menu();

    game.close();
    game.startSound();
    game.menu();
    EXPECT_TRUE(Sound::soundOpen());
    EXPECT_TRUE(Mix_PlayingMusic());
}

// Draws the picture through the copy out of the back buffer for as long as it lives.
struct CopiedPicture {
    CopiedPicture() { game.renderer.picture(160, 100, false); }
    ~CopiedPicture() { game.renderer.picture(160, 100, true); }
};

// Draws a picture in which every pixel differs from its neighbours into the game's
// 160 x 100 picture, blows it up and counts the window's pixels that are not that
// picture stretched over the w x h area at (left, bottom) with black around it; the
// picture read back must be the pattern before and after the stretch.
int wrongBlowupPixels(int left, int bottom, int w, int h) {
    std::vector<Pixel> pattern;
    for (int i = 0; i < 160 * 100; ++i)
        pattern.push_back({std::uint8_t(i % 160 + 60), std::uint8_t(i / 160 * 2 + 40), 99, 255});
    game.beginPicture();
    glDisable(GL_TEXTURE_2D);
    glRasterPos2i(0, 0);
    glDrawPixels(160, 100, GL_RGBA, GL_UNSIGNED_BYTE, pattern.data());
    EXPECT_EQ(TestSupport::readPicture(game.renderer), pattern);
    game.blowup();
    EXPECT_EQ(TestSupport::readPicture(game.renderer), pattern);

    int width, height, wrong = 0;
    Platform::drawableSize(game.hwnd(), width, height);
    const std::vector<Pixel> screen = TestSupport::readPixels(0, 0, width, height);
    for (int i = 0; i < width * height; ++i) {
        const int x = i % width - left, y = i / width - bottom;
        wrong +=
            screen[i] != (x >= 0 && y >= 0 && x < w && y < h
                              ? pattern[int((y + .5) * 100 / h) * 160 + int((x + .5) * 160 / w)]
                              : Pixel{0, 0, 0, 255});
    }
    return wrong;
}

// The X server takes a moment to give the window its new size, and the GL surface
// follows at a buffer swap: present a few frames before looking.
void settle(int& width, int& height) {
    for (int i = 0; i < 5; ++i) {
        Platform::peekMessage();
        Platform::swapBuffers(game.hwnd());
        SDL_Delay(20);
    }
    Platform::drawableSize(game.hwnd(), width, height);
}

TEST_F(GameTest, BlowupStretchesThePictureInEveryWindowModeAndLetterboxesFullScreen) {
    int width, height;
    for (int mode = 1; mode <= 4; ++mode) {
        game.screenSize(mode);
        settle(width, height);
        ASSERT_EQ(std::pair(width, height), std::pair(160 * mode, 100 * mode));
        EXPECT_EQ(wrongBlowupPixels(0, 0, width, height), 0) << mode;
        CopiedPicture copied;
        EXPECT_EQ(wrongBlowupPixels(0, 0, width, height), 0) << mode << ", copied";
    }
    // Full screen takes the display's closest mode to 640 x 480 and scales the 640 x 480
    // layout to it: the picture at 640 x 400 with 40 black rows above and below.
    game.screenSize(9);
    EXPECT_EQ(game.screenSize(), 5);
    EXPECT_TRUE(game.fullscreen());
    settle(width, height);
    SDL_DisplayMode wanted{0, 640, 480, 0, nullptr}, closest;
    ASSERT_NE(SDL_GetClosestDisplayMode(0, &wanted, &closest), nullptr);
    ASSERT_EQ(std::pair(width, height), std::pair(closest.w, closest.h));
    const double scale = std::min(width / 640.0, height / 480.0);
    const int w = int(std::lround(640 * scale)), h = int(std::lround(400 * scale));
    ASSERT_EQ((height - h) / 2, std::lround(40 * scale));
    EXPECT_EQ(wrongBlowupPixels((width - w) / 2, (height - h) / 2, w, h), 0);
    CopiedPicture copied;
    EXPECT_EQ(wrongBlowupPixels((width - w) / 2, (height - h) / 2, w, h), 0);
}

// That a save which fails keeps the old file and this run's mode, the full disk test checks.
TEST_F(GameTest, F5AndF6WrapAroundAndRewriteTheSettingsKeepingOtherKeys) {
    game.screenSize(0);
    EXPECT_EQ(game.screenSize(), 1);
    for (auto [key, mode] : {std::pair{VK_F5, 5}, {VK_F6, 1}, {VK_F6, 2}}) {
        keyDown(key);
        EXPECT_EQ(game.screenSize(), mode);
        EXPECT_EQ(readFile(game.settingsFile),
                  "name  \"a b\"\nscreenSize  " + std::to_string(mode) + "\nvolume  7\n");
    }
    // A repeat goes to the menu, which starts a game on any key.
    keyDown(VK_F5, true);
    EXPECT_EQ(game.screenSize(), 2);
    EXPECT_EQ(game.currentState(), &Tarvex::statePlay);
}

TEST_F(GameTest, AnyScreenSizeInTheSettingsFileGivesOneOfTheFiveModes) {
    const std::string saved = readFile(game.settingsFile);
    const std::pair<const char*, int> cases[] = {{"1000000000", 5},
                                                 {"-1", 1},
                                                 {"99999999999999999999", 5},
                                                 {"-99999999999999999999", 1},
                                                 {"1e39", 1},
                                                 {"nan", 1},
                                                 {"3.9", 3},
                                                 {"\"\"", 1}};
    auto load = [](const std::string& settings) {
        TestSupport::writeFile(game.settingsFile, settings);
        testing::internal::CaptureStdout(); // the settings echo what they read
        game.loadSettings();
        testing::internal::GetCapturedStdout();
    };
    for (auto [text, mode] : cases) {
        game.screenSize(4);
        load("screenSize "s + text + "\n");
        EXPECT_EQ(game.screenSize(), mode) << text;
    }
    load(saved);
}

TEST_F(GameTest, HiscoreIsReadOnlyAsAReachableScoreAndSavedWhole) {
    float& hiscore = Tarvex::statePlay._hiscore;
    // Missing, a folder, too short, not a number, infinity, -50, 1e30 (too large to print):
    // the hiscore stays.
    for (const std::string& bytes : {""s, "folder"s, "\0\0\x48"s, "\0\0\xc0\x7f"s, "\0\0\x80\x7f"s,
                                     "\0\0\x48\xc2"s, "\xca\xf2\x49\x71"s}) {
        fs::remove(game.hiscoreFile);
        if (bytes == "folder")
            fs::create_directory(game.hiscoreFile);
        else if (!bytes.empty())
            TestSupport::writeFile(game.hiscoreFile, bytes);
        hiscore = 7;
        game.loadHiscore();
        EXPECT_EQ(hiscore, 7.0f) << bytes.size();
    }
    // A save replaces a longer file whole, by way of a file beside it.
    TestSupport::writeFile(game.hiscoreFile, "an older, longer file");
    hiscore = 50;
    game.saveHiscore();
    EXPECT_EQ(readFile(game.hiscoreFile), "\0\0\x48\x42"s);
    EXPECT_EQ(TestSupport::filesIn("data"), 2) << "the settings and the hiscore, nothing beside";
}

TEST_F(GameTest, AFullDiskKeepsTheOldFilesAndTheGameGoesOnSayingOnceWhyTheHiscoreWasNotSaved) {
    float& hiscore = Tarvex::statePlay._hiscore;
    hiscore = 50;
    game.saveHiscore();
    const std::string settings = readFile(game.settingsFile);
    std::string said;
    {
        TestSupport::StderrCapture capture;
        TestSupport::FileSizeLimit full(2);
        keyDown(VK_F5);
        for (float score : {60.0f, 70.0f}) {
            hiscore = score;
            game.saveHiscore();
        }
        said = capture.text();
    }
    EXPECT_EQ(game.screenSize(), 3) << "the new mode holds for this run";
    EXPECT_EQ(readFile(game.settingsFile), settings);
    EXPECT_EQ(readFile(game.hiscoreFile), "\0\0\x48\x42"s);
    EXPECT_EQ(TestSupport::filesIn("data"), 2) << "nothing left beside them";
    EXPECT_TRUE(said.starts_with("Kestrane: the hiscore was not saved: cannot write "
                                 "data/kestrane.dat.") &&
                said.ends_with(": File too large\n") &&
                std::count(said.begin(), said.end(), '\n') == 1)
        << said;

    // The game goes on: a game starts and runs a frame with the hiscore it holds.
    keyDown(VK_SPACE);
    ASSERT_EQ(game.currentState(), &Tarvex::statePlay);
    Tarvex::statePlay.dt = 0.02;
    Tarvex::statePlay.frame();
    EXPECT_EQ(hiscore, 70.0f);
    // With room again the hiscore is saved, and the next failure is said again.
    game.saveHiscore();
    EXPECT_EQ(readFile(game.hiscoreFile), "\0\0\x8c\x42"s);
    TestSupport::StderrCapture again;
    {
        TestSupport::FileSizeLimit full(2);
        game.saveHiscore();
    }
    EXPECT_TRUE(again.text().ends_with(": File too large\n"));
}

// An installed game keeps its files in the user's data folder (which folder, and that it
// is made for the owner only, the folder tests check): the first save makes it.
TEST_F(GameTest, InstalledGameKeepsItsFilesInTheUsersDataFolderMadeOnTheFirstSave) {
    TestSupport::TempDir root;
    const fs::path folder = root.dir() / "home/.local/share/kestrane";
    const std::string settingsFile = game.settingsFile, hiscoreFile = game.hiscoreFile,
                      recordsFolder = game.recordsFolder;
    game.useDataFolder(folder.string());
    // Reading from a folder that is not there makes nothing.
    game.loadSettings();
    game.loadHiscore();
    EXPECT_FALSE(fs::exists(root.dir() / "home"));

    game.play();
    Tarvex::statePlay._score = 100;
    Tarvex::statePlay._hiscore = 50;
    Tarvex::statePlay.gameOver();
    EXPECT_EQ(readFile((folder / "kestrane.dat").string()), "\0\0\xC8\x42"s);
    keyDown(VK_F5);
    EXPECT_EQ(readFile((folder / "kestrane.conf").string()),
              "name  \"a b\"\nscreenSize  " + std::to_string(game.screenSize()) + "\nvolume  7\n");
    EXPECT_EQ(TestSupport::filesIn(folder), 2);
    // The next start reads them from there.
    Tarvex::statePlay._hiscore = 0;
    game.loadHiscore();
    EXPECT_EQ(Tarvex::statePlay._hiscore, 100.0f);

    game.dataFolder.clear();
    game.settingsFile = settingsFile;
    game.hiscoreFile = hiscoreFile;
    game.recordsFolder = recordsFolder;
}

} // namespace
