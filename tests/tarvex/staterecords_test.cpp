// The title left alone: the table of records, then demos of its games through the main
// loop, which change nothing and give way to the title at a key.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "support/atomicfiletest.h"
#include "support/files.h"
#include "support/recordstest.h"
#include "support/scriptedframes.h"
#include "tarvex/replay/gamestart.h"
#include "tarvex/staterecords.h"

namespace {

using namespace Tarvex;
using TestSupport::ScriptedFrames;
namespace fs = std::filesystem;

class StateRecordsTest : public TestSupport::RecordsTest {
protected:
    void SetUp() override {
        RecordsTest::SetUp();
        // A short game from the menu, left by Escape at its 120th frame, kept with two
        // records: its own, and a better one whose replay no longer matches the game.
        ScriptedFrames frames(1.0 / 60, 120);
        frames.beforeFrame = [](int n) {
            if (n == 1 || n == 2) keyDown(VK_SPACE);
            if (n == 2) keyDown(VK_LEFT);
            if (n == 60) keyUp(VK_LEFT);
            if (n == 120) keyDown(VK_ESCAPE);
        };
        TestSupport::runWhileFed(frames);
        played = game.recorder.replay();
        end = checkGame(statePlay, 0);
        Replay altered = played;
        altered.checks.at(0).score += 10;
        std::ostringstream err;
        Record good;
        good.score = 4321;
        good.initials = "DEM";
        game.records.add(good, &played, err);
        Record bad = good;
        bad.score = 9999;
        bad.initials = "BAD";
        game.records.add(bad, &altered, err);
        ASSERT_EQ(initials(), (std::vector<std::string>{"BAD", "DEM"})) << err.str();
        game.menu();
    }
    void TearDown() override {
        game.frameSource(nullptr);
        RecordsTest::TearDown();
    }

    // Frames of `step` seconds until a demo takes over the main loop or `seconds` pass.
    static void idle(double seconds, double step = 0.5) {
        ScriptedFrames frames(step, int(seconds / step));
        game.frameSource(&frames);
        while (game.frameSource() == &frames)
            game.runPass();
    }
    // The demo now feeding the main loop, run to its end.
    static void watchDemo() {
        OpenglApp::FrameSource* demo = game.frameSource();
        ASSERT_NE(demo, nullptr) << "no demo started";
        for (int pass = 0; game.frameSource() == demo && pass < 10000; ++pass)
            game.runPass();
    }
    // Every file of the data folder with its contents.
    static std::map<std::string, std::string> dataFiles() {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(game.recordsFolder))
            files[entry.path().string()] = TestSupport::readFile(entry.path().string());
        return files;
    }

    Replay played;
    GameCheck end;
};

TEST_F(StateRecordsTest, IdlingShowsTheTableThenTheDemosOfItsGamesWhichChangeNothing) {
    const auto files = dataFiles();
    const float hiscore = statePlay._hiscore;

    idle(19.5);
    EXPECT_EQ(game.currentState(), &stateMenu);
    idle(0.5);
    EXPECT_EQ(game.currentState(), &stateRecords);
    idle(7.5);
    EXPECT_EQ(game.frameSource(), nullptr) << "the table shows for 8 seconds";

    // The best record's replay first: out of step, passed over without a message box
    // and said once; the table returns and then the next record's game.
    idle(1);
    TestSupport::StderrCapture err;
    watchDemo();
    EXPECT_EQ(game.currentState(), &stateRecords);
    idle(8);
    ASSERT_NE(game.frameSource(), nullptr);
    game.runPass();
    EXPECT_EQ(game.currentState(), &statePlay);
    EXPECT_EQ(game.demoCaption, "DEMO DEM 0004321");
    watchDemo();
    EXPECT_EQ(game.currentState(), &stateRecords);
    EXPECT_TRUE(checkGame(statePlay, 0) == end) << "the stored game, to its end";
    EXPECT_EQ(game.demoCaption, "");

    // The next round passes over the bad replay without a word and shows the good one.
    idle(8);
    watchDemo();
    EXPECT_TRUE(checkGame(statePlay, 0) == end);
    const std::string said = err.text();
    EXPECT_EQ(said.find("out of step"), said.rfind("out of step")) << said;
    EXPECT_NE(said.find("out of step"), std::string::npos) << said;
    EXPECT_TRUE(messageBoxes.empty());

    EXPECT_EQ(initials(), (std::vector<std::string>{"BAD", "DEM"}));
    EXPECT_EQ(dataFiles(), files);
    EXPECT_EQ(statePlay._hiscore, hiscore);
    EXPECT_FALSE(game.paused);
}

TEST_F(StateRecordsTest, AKeyDuringTheTableOrADemoReturnsToTheTitleWithoutAGame) {
    stateRecords.attract();
    keyDown('A');
    EXPECT_EQ(game.currentState(), &stateMenu);

    stateRecords.attract();
    stateRecords.nextDemo = 1;
    game.paused = true;
    idle(8);
    for (int pass = 0; pass < 30; ++pass)
        game.runPass();
    ASSERT_EQ(game.currentState(), &statePlay);
    EXPECT_FALSE(game.paused) << "as the game was recorded";
    Platform::postMessage(game.hwnd(), WM_KEYDOWN, VK_SPACE, 1);
    game.runPass();
    EXPECT_EQ(game.currentState(), &stateMenu);
    EXPECT_EQ(game.frameSource(), nullptr);
    EXPECT_TRUE(game.paused) << "put back";
    EXPECT_EQ(game.demoCaption, "");
    game.runPass();
    EXPECT_EQ(game.currentState(), &stateMenu) << "the key started no game";
}

} // namespace
